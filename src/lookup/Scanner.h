#pragma once

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/Big5Codec.h"
#include "lookup/ByteReader.h"
#include "lookup/LineChunks.h"
#include "lookup/SimdLevel.h"
#include "lookup/TextMatch.h"

namespace qb {

class NeedleFinder;

// Called once for every matching field of a line, with the whole line as read.
using MatchSink = std::function<void(std::u16string_view line)>;

struct ScanResult {
    bool readable = true;         // false: the file failed while it was read
    bool stoppedAtMatch = false;  // an exact lookup found its line and read no further
};

// Reads one library file from its start and reports the matching lines in file order. In
// exact mode it stops at the first matching line and reports it once; in all-entries mode it
// reads to the end and reports a line once per matching field. A line ends at CR, CR LF or a
// lone LF.
class Scanner {
  public:
    virtual ~Scanner() = default;
    virtual ScanResult scan(ByteReader& bytes, const TypedText& typed, MatchMode mode,
                            const MatchSink& sink) = 0;
};

// Decodes and tests every line. Plain on purpose: it is what the fast scanner is checked
// against.
class ReferenceScanner final : public Scanner {
  public:
    explicit ReferenceScanner(Big5Codec& codec) : codec_(codec) {}
    ScanResult scan(ByteReader& bytes, const TypedText& typed, MatchMode mode,
                    const MatchSink& sink) override;

  private:
    Big5Codec& codec_;
};

// Finds candidate lines with a byte search before decoding anything, and decodes and tests
// only those. The search looks for every Big5 form of a piece of the typed text at once, or,
// for a text that is all U+FFFD, for the sequences that the code page cannot read.
class FastScanner final : public Scanner {
  public:
    // `level`: the instructions the byte search is built with.
    explicit FastScanner(Big5Codec& codec, size_t readSize = LineChunks::kReadSize,
                         SimdLevel level = processSimdLevel());
    ~FastScanner() override;
    ScanResult scan(ByteReader& bytes, const TypedText& typed, MatchMode mode,
                    const MatchSink& sink) override;

    // What the byte search looks for; exposed for the tests.
    struct Anchor {
        enum class Kind {
            Bytes,            // a matching line holds one of `forms`
            Unreadable,       // a matching line holds a sequence that reads as U+FFFD
            NoMatchPossible,  // no line can hold the text
        } kind = Kind::Bytes;
        std::vector<std::string> forms;  // ASCII letters folded to lower case when `folded`
        bool folded = false;             // search the text with ASCII letters folded
        // The text is one character stored as one byte that is never part of a pair, and
        // "=" is too: a line's matching fields can be counted on its bytes.
        bool oneByte = false;
    };
    const Anchor& anchorFor(const TypedText& typed);

  private:
    ScanResult scanChunks(ByteReader& bytes, const TypedText& typed, MatchMode mode,
                          const MatchSink& sink);
    // Returns false when the sink asked to stop (exact match found).
    bool scanLines(std::string_view raw, const TypedText& typed, MatchMode mode,
                   const MatchSink& sink);
    bool scanLinesForOneByte(std::string_view raw, MatchMode mode, const MatchSink& sink);
    bool testLine(std::string_view raw, const TypedText& typed, MatchMode mode,
                  const MatchSink& sink);
    std::u16string_view decodeLine(std::string_view raw);
    // Sends `line` to the sink `times` times; false when that ends an exact lookup.
    static bool reportLine(std::u16string_view line, int times, MatchMode mode,
                           const MatchSink& sink);

    Big5Codec& codec_;
    SimdLevel level_;
    std::u16string anchorText_;
    bool anchorValid_ = false;
    Anchor anchor_;
    std::unique_ptr<NeedleFinder> finder_;  // the search for the anchor's forms, when bytes
    LineChunks chunks_;
    std::u16string line_;
};

}  // namespace qb
