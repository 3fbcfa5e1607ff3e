// The engine's hot paths in one process, without start-up or disk: decoding, cutting lines
// into fields, and the two scanners over one large library file held in memory.
//
// The file is bench/data/large/<the largest letter>.lib when bench/make_large_library.py has
// made it (or the file named by QB_BENCH_FILE); otherwise a made-up file of the same shape.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "codepage/CodePage950.h"
#include "lookup/Big5Codec.h"
#include "lookup/ByteReader.h"
#include "lookup/EntryLine.h"
#include "lookup/Scanner.h"
#include "lookup/TextMatch.h"
#include "lookup/Utf8.h"

namespace {

struct BenchFile {
    std::string bytes;
    std::string description;
    std::u16string lastHeadword;  // the file's last entry: an exact lookup reads it all
};

std::u16string lastHeadword(qb::CodePage950& codePage, const std::string& bytes) {
    size_t end = bytes.find_last_not_of("\r\n");
    if (end == std::string::npos) return u"";
    const size_t start = bytes.find_last_of("\r\n", end);
    const std::u16string line =
        codePage.decode(bytes.substr(start == std::string::npos ? 0 : start + 1,
                                     end - (start == std::string::npos ? 0 : start + 1) + 1));
    return std::u16string(line.substr(0, line.find(u'=')));
}

std::string madeUpFile(qb::CodePage950& codePage) {
    // About 3 MB of "s…" entries with real Chinese text, numbered as the large library is.
    const char* const words[] = {"sea",  "season", "second", "see", "seed",  "self",  "sell",
                                 "send", "sense",  "serve",  "set", "seven", "shade", "shape"};
    const char* const chinese[] = {"海",         "季節；時令", "第二；秒",    "看見；明白",
                                   "種子",       "自己",       "賣；銷售",    "發送；寄",
                                   "感覺；意義", "服務；供應", "一套；設定",  "七",
                                   "陰涼處",     "形狀；塑造", "收縮；收縮壓"};
    std::string out;
    for (int copy = 1; out.size() < 3'000'000; ++copy)
        for (size_t i = 0; i < std::size(words); ++i) {
            out += words[i];
            if (copy > 1) {
                out += ' ';
                out += std::to_string(copy);
            }
            out += '=';
            out += codePage.encode(qb::fromUtf8(chinese[(i + copy) % std::size(chinese)]));
            out += "\r\n";
        }
    return out + "sbenchmarkend=" + codePage.encode(u"基準測試末行") + "\r\n";
}

const BenchFile& benchFile() {
    static const BenchFile file = [] {
        qb::CodePage950 codePage;
        BenchFile f;
        std::filesystem::path path;
        if (const char* named = std::getenv("QB_BENCH_FILE")) {
            path = named;
        } else {
            const std::filesystem::path dir =
                std::filesystem::path(QB_SOURCE_DIR) / "bench/data/large";
            std::error_code ec;
            uintmax_t largest = 0;
            for (char c = 'a'; c <= 'z'; ++c) {
                const auto p = dir / (std::string(1, c) + ".lib");
                const uintmax_t size = std::filesystem::file_size(p, ec);
                if (!ec && size > largest) largest = size, path = p;
            }
        }
        if (!path.empty()) {
            std::ifstream in(path, std::ios::binary);
            f.bytes.assign(std::istreambuf_iterator<char>(in), {});
            f.description = path.string();
        }
        if (f.bytes.empty()) {
            f.bytes = madeUpFile(codePage);
            f.description = "made-up file (run bench/make_large_library.py for the real one)";
        }
        f.lastHeadword = lastHeadword(codePage, f.bytes);
        return f;
    }();
    return file;
}

void BM_Decode(benchmark::State& state) {
    const BenchFile& file = benchFile();
    qb::CodePage950 codePage;
    std::u16string out;
    for (auto _ : state) {
        codePage.decodeInto(file.bytes, out);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.bytes.size()));
    state.SetLabel(file.description);
}
BENCHMARK(BM_Decode)->Unit(benchmark::kMillisecond);

void BM_SplitFields(benchmark::State& state) {
    const BenchFile& file = benchFile();
    qb::Big5Codec codec;
    const std::u16string text = codec.decode(file.bytes);
    std::vector<std::u16string_view> lines;
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find_first_of(u"\r\n", start);
        if (end == std::u16string::npos) end = text.size();
        lines.push_back(std::u16string_view(text).substr(start, end - start));
        start = end + (text.compare(end, 2, u"\r\n") == 0 ? 2 : 1);
    }
    for (auto _ : state) {
        size_t fields = 0;
        for (auto line : lines) fields += qb::splitFields(line).size();
        benchmark::DoNotOptimize(fields);
    }
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations() * lines.size()));
}
BENCHMARK(BM_SplitFields)->Unit(benchmark::kMillisecond);

// What each scan looks for; the index is the benchmark's argument.
struct Search {
    const char* name;
    qb::MatchMode mode;
};
const Search kSearches[] = {
    {"exact, last entry", qb::MatchMode::Exact},
    {"all entries, \"sea\"", qb::MatchMode::AllEntries},
    {"all entries, 收縮", qb::MatchMode::AllEntries},
    {"all entries, 十 (two codes)", qb::MatchMode::AllEntries},
    {"all entries, α (two codes, one lead byte)", qb::MatchMode::AllEntries},
    {"all entries, U+FFFD (what cannot be read)", qb::MatchMode::AllEntries},
};

std::u16string searchText(int index) {
    switch (index) {
        case 0:
            return benchFile().lastHeadword;
        case 1:
            return u"sea";
        case 2:
            return u"收縮";
        case 3:
            return u"十";
        case 4:
            return u"α";
        default:
            return u"\uFFFD";
    }
}

template <typename ScannerType>
void BM_Scan(benchmark::State& state) {
    const BenchFile& file = benchFile();
    const Search& search = kSearches[state.range(0)];
    qb::Big5Codec codec;
    ScannerType scanner(codec);
    const qb::TypedText typed(searchText(static_cast<int>(state.range(0))));
    size_t reported = 0;
    for (auto _ : state) {
        qb::MemoryReader reader(file.bytes);
        reported = 0;
        scanner.scan(reader, typed, search.mode, [&](std::u16string_view) { ++reported; });
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.bytes.size()));
    state.SetLabel(std::string(search.name) + ", " + std::to_string(reported) + " reported");
}
BENCHMARK_TEMPLATE(BM_Scan, qb::FastScanner)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);
BENCHMARK_TEMPLATE(BM_Scan, qb::ReferenceScanner)->DenseRange(0, 5)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
