#include "LibraryFixture.h"

#include <unistd.h>

#include <atomic>
#include <fstream>

#include "codepage/CodePage950.h"
#include "lookup/Big5Codec.h"
#include "lookup/EntryLine.h"
#include "lookup/FileSystem.h"
#include "lookup/Utf8.h"

namespace qb::test {

std::string big5(const std::string& utf8) {
    static CodePage950 codePage;
    return codePage.encode(fromUtf8(utf8));
}

std::filesystem::path uniqueTempPath(const std::string& prefix) {
    static std::atomic<int> counter{0};
    return std::filesystem::temp_directory_path() /
           (prefix + "-" + std::to_string(getpid()) + "-" + std::to_string(counter++));
}

TempLibrary::TempLibrary() {
    dir_ = uniqueTempPath("quillbook-test");
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
}

TempLibrary::~TempLibrary() {
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
}

void TempLibrary::writeRaw(const std::string& name, const std::string& bytes) {
    std::ofstream(dir_ / name, std::ios::binary) << bytes;
}

void TempLibrary::writeLines(const std::string& name, const std::vector<std::string>& lines) {
    std::string bytes;
    for (const auto& line : lines) bytes += big5(line) + "\r\n";
    writeRaw(name, bytes);
}

void TempLibrary::fillMissingWithEmptyFiles() {
    for (char c = 'a'; c <= 'z'; ++c) {
        const auto path = dir_ / (std::string(1, c) + ".lib");
        bool present = false;
        for (const auto& entry : std::filesystem::directory_iterator(dir_)) {
            std::string name = entry.path().filename().string();
            for (char& ch : name)
                ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
            present |= name == path.filename().string();
        }
        if (!present) writeRaw(path.filename().string(), "");
    }
}

void RecordingView::showMessage(std::u16string_view text) {
    calls.push_back("message");
    messages.emplace_back(text);
}

void RecordingView::clearInput() {
    calls.push_back("clear input");
    input.clear();
}

void RecordingView::clearOutput() {
    calls.push_back("clear output");
    output.clear();
}

void RecordingView::printResult(std::u16string_view line) {
    calls.push_back("print");
    appendDisplayForm(line, output);
}

std::string RecordingView::outputUtf8() const {
    return toUtf8(output);
}

std::vector<std::string> RecordingView::messagesUtf8() const {
    std::vector<std::string> out;
    for (const auto& m : messages) out.push_back(toUtf8(m));
    return out;
}

}  // namespace qb::test
