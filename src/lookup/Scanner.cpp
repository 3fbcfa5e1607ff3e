#include "Scanner.h"

#include "EntryLine.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <cstring>

namespace qb {
namespace {

constexpr size_t kChunkSize = 1 << 20;

inline bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

inline char foldAscii(char c) {
    return static_cast<char>(c | (static_cast<unsigned char>(c - 'A') < 26u ? 0x20 : 0));
}

void foldInto(std::string_view from, std::string& to) {
    to.resize(from.size());
    const char* src = from.data();
    char* dst = to.data();
    // Written as a plain loop so the compiler vectorises it.
    for (size_t i = 0; i < from.size(); ++i) dst[i] = foldAscii(src[i]);
}

std::string foldAscii(std::string_view s) {
    std::string out;
    foldInto(s, out);
    return out;
}

// Calls `onLine` for each line of `text`; the last piece counts as a line when not empty.
template <typename OnLine>
bool forEachLine(std::string_view text, OnLine&& onLine) {
    size_t start = 0;
    while (start < text.size()) {
        size_t end = start;
        while (end < text.size() && !isLineEnd(text[end])) ++end;
        if (!onLine(text.substr(start, end - start))) return false;
        if (end < text.size() && text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n')
            ++end;
        start = end + 1;
    }
    return true;
}

}  // namespace

ScanResult ReferenceScanner::scan(ByteReader& bytes, const TypedText& typed, MatchMode mode,
                                  const MatchSink& sink) {
    std::string content;
    char chunk[4096];
    for (;;) {
        const long n = bytes.read(chunk, sizeof chunk);
        if (n < 0) return {false, false};
        if (n == 0) break;
        content.append(chunk, static_cast<size_t>(n));
    }
    ScanResult result;
    forEachLine(content, [&](std::string_view raw) {
        const std::u16string line = codec_.decode(raw);
        for (std::u16string_view field : splitFields(line)) {
            if (!fieldMatches(field, typed, mode)) continue;
            sink(line);
            if (mode == MatchMode::Exact) {
                result.stoppedAtMatch = true;
                return false;
            }
        }
        return true;
    });
    return result;
}

const FastScanner::Anchor& FastScanner::anchorFor(const TypedText& typed) {
    if (anchorValid_ && anchorText_ == typed.text) return anchor_;
    anchorValid_ = true;
    anchorText_ = typed.text;
    anchor_ = Anchor{};

    // For each character: the one byte string that every character equal to it (ignoring
    // case) is stored as, if there is one. A field that equals the typed text or contains it
    // holds those bytes in a row, so a line without them cannot match.
    struct Piece {
        bool usable = false;
        bool folded = false;
        std::string bytes;
    };
    std::vector<Piece> pieces;
    for (char16_t ch : typed.text) {
        Piece piece;
        // A line never holds CR or LF; an unknown code reads as U+FFFD, so that has no
        // single form; any other character outside the code page can never be read.
        if (ch == u'\r' || ch == u'\n') {
            anchor_.kind = Anchor::Kind::NoMatchPossible;
            return anchor_;
        }
        const auto lowered = static_cast<char16_t>(u_tolower(ch));
        if (ch != u'\uFFFD' && lowered != u'\uFFFD') {
            std::vector<std::string> forms = codec_.encodingsOf(ch);
            for (char16_t same : codec_.charactersLoweringTo(lowered))
                if (same != ch)
                    for (const auto& f : codec_.encodingsOf(same)) forms.push_back(f);
            if (forms.empty()) {
                anchor_.kind = Anchor::Kind::NoMatchPossible;
                return anchor_;
            }
            const bool single = std::all_of(forms.begin(), forms.end(),
                                            [&](const std::string& f) { return f == forms[0]; });
            const std::string firstFolded = foldAscii(forms[0]);
            const bool foldSingle =
                std::all_of(forms.begin(), forms.end(),
                            [&](const std::string& f) { return foldAscii(f) == firstFolded; });
            if (single) {
                piece = {true, false, forms[0]};
            } else if (foldSingle) {
                piece = {true, true, firstFolded};
            }
        }
        pieces.push_back(std::move(piece));
    }

    // The longest run of usable characters, measured in bytes, makes the rarest needle.
    size_t bestStart = 0, bestEnd = 0, bestLen = 0;
    for (size_t i = 0; i < pieces.size();) {
        if (!pieces[i].usable) {
            ++i;
            continue;
        }
        size_t j = i, len = 0;
        while (j < pieces.size() && pieces[j].usable) len += pieces[j++].bytes.size();
        if (len > bestLen) bestStart = i, bestEnd = j, bestLen = len;
        i = j;
    }
    if (bestLen == 0) return anchor_;  // EveryLine

    anchor_.kind = Anchor::Kind::Bytes;
    for (size_t i = bestStart; i < bestEnd; ++i) anchor_.folded |= pieces[i].folded;
    for (size_t i = bestStart; i < bestEnd; ++i)
        anchor_.bytes += anchor_.folded ? foldAscii(pieces[i].bytes) : pieces[i].bytes;
    return anchor_;
}

bool FastScanner::testLine(std::string_view raw, const TypedText& typed, MatchMode mode,
                           const MatchSink& sink) {
    codec_.decodeInto(raw, line_);
    const int times = countMatchingFields(line_, typed, mode);
    for (int i = 0; i < times; ++i) sink(line_);
    return !(mode == MatchMode::Exact && times > 0);
}

bool FastScanner::scanLines(std::string_view raw, std::string_view searched,
                            const TypedText& typed, MatchMode mode, const MatchSink& sink) {
    if (anchor_.kind == Anchor::Kind::EveryLine)
        return forEachLine(raw, [&](std::string_view line) {
            return testLine(line, typed, mode, sink);
        });

    const std::string& needle = anchor_.bytes;
    size_t pos = 0;
    while (pos < searched.size()) {
        const void* hit = memmem(searched.data() + pos, searched.size() - pos, needle.data(),
                                 needle.size());
        if (hit == nullptr) break;
        const size_t at = static_cast<size_t>(static_cast<const char*>(hit) - searched.data());
        size_t start = at;
        while (start > 0 && !isLineEnd(raw[start - 1])) --start;
        size_t end = at + needle.size();
        while (end < raw.size() && !isLineEnd(raw[end])) ++end;
        if (!testLine(raw.substr(start, end - start), typed, mode, sink)) return false;
        pos = end;
    }
    return true;
}

ScanResult FastScanner::scan(ByteReader& bytes, const TypedText& typed, MatchMode mode,
                             const MatchSink& sink) {
    const Anchor& anchor = anchorFor(typed);
    ScanResult result;
    if (anchor.kind == Anchor::Kind::NoMatchPossible) return result;

    // Whole lines are handed on; the piece after the last line end waits for the next read.
    size_t held = 0;
    if (buffer_.size() < kChunkSize) buffer_.resize(kChunkSize);
    for (;;) {
        if (held == buffer_.size()) buffer_.resize(buffer_.size() * 2);  // a very long line
        const long n = bytes.read(buffer_.data() + held, buffer_.size() - held);
        if (n < 0) return {false, false};
        const bool atEnd = n == 0;
        const size_t filled = held + static_cast<size_t>(n);
        size_t complete = filled;
        if (!atEnd) {
            // The held bytes hold no line end, so only the new ones are looked at: a long
            // line arriving in short reads must not be walked again after every read.
            while (complete > held && !isLineEnd(buffer_[complete - 1])) --complete;
            if (complete == held) complete = 0;
            if (complete == 0) {
                held = filled;
                continue;
            }
        }
        const std::string_view raw(buffer_.data(), complete);
        std::string_view searched = raw;
        if (anchor.folded) {
            foldInto(raw, folded_);
            searched = folded_;
        }
        if (!scanLines(raw, searched, typed, mode, sink)) {
            result.stoppedAtMatch = true;
            return result;
        }
        if (atEnd) return result;
        held = filled - complete;
        std::memmove(buffer_.data(), buffer_.data() + complete, held);
    }
}

}  // namespace qb
