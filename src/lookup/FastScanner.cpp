#include <algorithm>
#include <cstdint>

#include "lookup/LetterCase.h"
#include "lookup/LineEnds.h"
#include "lookup/NeedleFinder.h"
#include "lookup/OneByteLine.h"
#include "lookup/Scanner.h"

namespace qb {
namespace {

inline char foldAscii(char c) {
    return static_cast<char>(c | (static_cast<unsigned char>(c - 'A') < 26u ? 0x20 : 0));
}

std::string foldAscii(std::string_view s) {
    std::string out(s);
    for (char& c : out) c = foldAscii(c);
    return out;
}

// Every byte string that a character equal to one of the text's (ignoring case) is stored
// as. A field that equals the typed text or contains it holds one of them for each
// character, in a row, so a line without any of a run's combinations cannot match.
struct Piece {
    bool usable = false;  // U+FFFD is not: too many byte sequences read as it
    bool folded = false;
    std::vector<std::string> forms;
};

// The pieces of each character of `text`; none when no line can hold it.
std::optional<std::vector<Piece>> piecesOf(std::u16string_view text, Big5Codec& codec) {
    std::vector<Piece> pieces;
    for (char16_t ch : text) {
        Piece piece;
        // A line never holds CR or LF; any character outside the code page but U+FFFD can
        // never be read.
        if (ch == u'\r' || ch == u'\n') return std::nullopt;
        const auto lowered = lowerCase(ch);
        if (ch != u'\uFFFD' && lowered != u'\uFFFD') {
            std::vector<std::string> forms = codec.encodingsOf(ch);
            for (char16_t same : codec.charactersLoweringTo(lowered))
                if (same != ch)
                    for (const auto& f : codec.encodingsOf(same)) forms.push_back(f);
            if (forms.empty()) return std::nullopt;
            // Forms that differ only in ASCII letter case become one folded form.
            std::vector<std::string> folded;
            for (const std::string& f : forms) folded.push_back(foldAscii(f));
            std::sort(forms.begin(), forms.end());
            forms.erase(std::unique(forms.begin(), forms.end()), forms.end());
            std::sort(folded.begin(), folded.end());
            folded.erase(std::unique(folded.begin(), folded.end()), folded.end());
            piece.usable = true;
            piece.folded = folded.size() < forms.size();
            piece.forms = piece.folded ? std::move(folded) : std::move(forms);
        }
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

struct Run {
    size_t start = 0, end = 0;
};

// The run of usable pieces with the most bytes in its shortest combination makes the rarest
// needles, as long as there are few enough combinations to search for at once. One window
// per end, grown and shrunk once: a pasted paragraph costs no more than that. None when no
// piece is usable.
std::optional<Run> rarestRun(const std::vector<Piece>& pieces) {
    size_t bestStart = 0, bestEnd = 0, bestBytes = 0, bestCount = 0;
    size_t start = 0, count = 1, bytes = 0;
    auto shortest = [](const Piece& p) {
        size_t n = SIZE_MAX;
        for (const auto& f : p.forms) n = std::min(n, f.size());
        return n;
    };
    for (size_t end = 0; end < pieces.size(); ++end) {
        if (!pieces[end].usable) {
            start = end + 1, count = 1, bytes = 0;
            continue;
        }
        count *= pieces[end].forms.size();
        bytes += shortest(pieces[end]);
        while (count > NeedleFinder::kMost && start < end) {
            count /= pieces[start].forms.size();
            bytes -= shortest(pieces[start]);
            ++start;
        }
        // A character with more forms than the finder takes stands alone; it is the only
        // choice of a text made of such characters and U+FFFD.
        const bool better = bytes > bestBytes || (bytes == bestBytes && count < bestCount);
        if (bestCount == 0 || (count <= NeedleFinder::kMost && better) ||
            (bestCount > NeedleFinder::kMost && count < bestCount))
            bestStart = start, bestEnd = end + 1, bestBytes = bytes, bestCount = count;
    }
    if (bestCount == 0) return std::nullopt;
    return Run{bestStart, bestEnd};
}

// Every combination of the run's forms, in byte order; folded if any piece of it is.
FastScanner::Anchor needlesOf(const std::vector<Piece>& pieces, Run run) {
    FastScanner::Anchor anchor;
    for (size_t i = run.start; i < run.end; ++i) anchor.folded |= pieces[i].folded;
    std::vector<std::string> combinations = {""};
    for (size_t i = run.start; i < run.end; ++i) {
        std::vector<std::string> longer;
        for (const std::string& head : combinations)
            for (const std::string& form : pieces[i].forms)
                longer.push_back(head + (anchor.folded ? foldAscii(form) : form));
        combinations = std::move(longer);
    }
    std::sort(combinations.begin(), combinations.end());
    combinations.erase(std::unique(combinations.begin(), combinations.end()), combinations.end());
    anchor.forms = std::move(combinations);
    return anchor;
}

}  // namespace

FastScanner::FastScanner(Big5Codec& codec, size_t readSize, SimdLevel level)
    : codec_(codec), level_(level), chunks_(readSize) {}
FastScanner::~FastScanner() = default;

const FastScanner::Anchor& FastScanner::anchorFor(const TypedText& typed) {
    if (anchorValid_ && anchorText_ == typed.text) return anchor_;
    anchorValid_ = true;
    anchorText_ = typed.text;
    anchor_ = Anchor{};
    finder_.reset();  // only an anchor of bytes has one

    const std::optional<std::vector<Piece>> pieces = piecesOf(typed.text, codec_);
    if (!pieces) {
        anchor_.kind = Anchor::Kind::NoMatchPossible;
        return anchor_;
    }
    const std::optional<Run> run = rarestRun(*pieces);
    if (!run) {
        anchor_.kind = Anchor::Kind::Unreadable;
        return anchor_;
    }
    anchor_ = needlesOf(*pieces, *run);
    // A space, a digit or a punctuation mark: the texts that find the most lines.
    const std::string& form = anchor_.forms.front();
    anchor_.oneByte = typed.text.size() == 1 && anchor_.forms.size() == 1 && form.size() == 1 &&
                      form[0] != '=' && codec_.standsAlone(form[0]) &&
                      codec_.encodingsOf(u'=') == std::vector<std::string>{"="} &&
                      codec_.standsAlone('=');
    finder_ = std::make_unique<NeedleFinder>(anchor_.forms, anchor_.folded, level_);
    return anchor_;
}

ScanResult FastScanner::scan(ByteReader& bytes, const TypedText& typed, MatchMode mode,
                             const MatchSink& sink) {
    const Anchor& anchor = anchorFor(typed);
    if (anchor.kind == Anchor::Kind::NoMatchPossible) return {};
    chunks_.start();
    const ScanResult result = scanChunks(bytes, typed, mode, sink);
    // The window keeps its scanner between lookups: a line of megabytes (a file that lost its
    // line ends) must not keep its room, read and decoded, after its lookup.
    chunks_.release();
    if (line_.size() > LineChunks::kReadSize) std::u16string().swap(line_);
    return result;
}

ScanResult FastScanner::scanChunks(ByteReader& bytes, const TypedText& typed, MatchMode mode,
                                   const MatchSink& sink) {
    for (;;) {
        std::string_view lines;
        switch (chunks_.next(bytes, lines)) {
            case LineChunks::Got::Failed:
                return {false, false};
            case LineChunks::Got::End:
                return {};
            case LineChunks::Got::Lines:
                if (!scanLines(lines, typed, mode, sink)) return {true, true};
        }
    }
}

bool FastScanner::scanLines(std::string_view raw, const TypedText& typed, MatchMode mode,
                            const MatchSink& sink) {
    const bool unreadable = anchor_.kind == Anchor::Kind::Unreadable;
    if (anchor_.oneByte) return scanLinesForOneByte(raw, mode, sink);
    size_t pos = 0;
    while (pos < raw.size()) {
        const size_t at = unreadable ? codec_.findUnreadable(raw, pos) : finder_->find(raw, pos);
        if (at == std::string_view::npos) break;
        const size_t start = lineStartBefore(raw, pos, at);
        // No needle holds a line end, nor does any pair: the line goes on past `at`.
        const size_t end = lineEndFrom(raw, at);
        if (!testLine(raw.substr(start, end - start), typed, mode, sink)) return false;
        pos = end;
    }
    return true;
}

// The byte search skips the lines without the byte; after a line that has it, the next line
// is read whole at once, as the lines of a text found in most of them are (a space, a digit),
// until one does not have it.
bool FastScanner::scanLinesForOneByte(std::string_view raw, MatchMode mode, const MatchSink& sink) {
    const char wanted = anchor_.forms.front()[0];
    bool lastFound = false;
    size_t pos = 0;
    while (pos < raw.size()) {
        size_t start = pos;
        if (lastFound) {
            while (start < raw.size() && isLineEnd(raw[start])) ++start;
            if (start == raw.size()) break;
        } else {
            const size_t at = finder_->find(raw, pos);
            if (at == std::string_view::npos) break;
            start = lineStartBefore(raw, pos, at);
        }
        const OneByteLine line = oneByteLineFrom(raw, start, wanted, mode, level_);
        lastFound = line.matches > 0;
        if (lastFound &&
            !reportLine(decodeLine(raw.substr(start, line.end - start)), line.matches, mode, sink))
            return false;
        pos = line.end;
    }
    return true;
}

bool FastScanner::testLine(std::string_view raw, const TypedText& typed, MatchMode mode,
                           const MatchSink& sink) {
    const std::u16string_view line = decodeLine(raw);
    return reportLine(line, countMatchingFields(line, typed, mode), mode, sink);
}

std::u16string_view FastScanner::decodeLine(std::string_view raw) {
    // The line's buffer only grows: the million lines of a scan cost no allocation and no
    // clearing.
    if (line_.size() < raw.size()) line_.resize(std::max(raw.size(), 2 * line_.size()));
    return {line_.data(), codec_.decodeTo(raw, line_.data())};
}

bool FastScanner::reportLine(std::u16string_view line, int times, MatchMode mode,
                             const MatchSink& sink) {
    for (int i = 0; i < times; ++i) sink(line);
    return !(mode == MatchMode::Exact && times > 0);
}

}  // namespace qb
