#include "lookup/Lookup.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "lookup/BaseForms.h"
#include "lookup/Messages.h"
#include "lookup/Utf8.h"

namespace qb {

namespace {

constexpr std::string_view kAllLetters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";

// Text that begins with a letter is looked up in that letter's file; any other text in
// all 26 files, A to Z, which always searches all entries.
std::string filesToSearch(const std::u16string& text) {
    const char16_t initial = toLower(text.substr(0, 1))[0];
    if (initial >= u'a' && initial <= u'z') return std::string(1, static_cast<char>(initial));
    return std::string(kAllLetters);
}

bool isEnglishWord(std::u16string_view text) {
    return std::all_of(text.begin(), text.end(), [](char16_t c) {
        return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'\'' ||
               c == u'\u2019' || c == u'-';
    });
}

}  // namespace

void Lookup::Command_Submit_Click(LookupView& view, LookupState& state) {
    view.setTopmost(false);
    const TypedText typed(view.inputText());
    if (typed.text.empty()) {
        view.showMessage(messages::kTypeSomethingFirst);
        state.AdvSubmit = false;
        view.setTopmost(true);
        return;
    }
    view.setTopmost(true);
    state.lastkey = typed.text;
    view.clearOutput();
    view.playClickSound();

    const std::string letters = filesToSearch(typed.text);
    const bool singleFile = letters.size() == 1;
    std::vector<std::string> unreadable;
    for (const char letter : letters) {
        FileHandle file = library_.open(letter);
        if (!singleFile) state.AdvSubmit = true;
        if (!file) {
            unreadable.push_back(library_.pathOf(letter));
            continue;
        }
        FileReader reader(file.get());
        const MatchMode mode = state.AdvSubmit ? MatchMode::AllEntries : MatchMode::Exact;
        const ScanResult result = scanner_.scan(
            reader, typed, mode, [&](std::u16string_view line) { view.printResult(line); });
        if (result.stoppedAtMatch) {
            view.resultsComplete();
            view.clearInput();
            return;
        }
        if (!result.readable) unreadable.push_back(library_.pathOf(letter));
    }
    view.resultsComplete();
    view.clearInput();
    view.setTopmost(false);
    if (!unreadable.empty()) {
        std::u16string text(messages::kLibraryFileMissing);
        for (size_t i = 0; i < unreadable.size(); ++i) {
            if (i > 0) text += u"\r\n";
            text += fromUtf8(unreadable[i]);
        }
        view.showMessage(text);
    }
    if (view.outputIsEmpty() && !state.AdvSubmit) view.showMessage(messages::kNothingFoundTryAll);
    if (view.outputIsEmpty() && state.AdvSubmit) view.showMessage(messages::kNothingFound);
    state.AdvSubmit = false;
    view.setTopmost(true);
}

bool Lookup::findsEntries(const std::u16string& text) {
    if (text.empty()) return false;
    const TypedText typed(text);
    const std::string letters = filesToSearch(text);
    const MatchMode mode = letters.size() == 1 ? MatchMode::Exact : MatchMode::AllEntries;
    bool found = false;
    for (const char letter : letters) {
        FileHandle file = library_.open(letter);
        if (!file) continue;
        FileReader reader(file.get());
        scanner_.scan(reader, typed, mode, [&](std::u16string_view) { found = true; });
        if (found) return true;
    }
    return false;
}

std::u16string Lookup::wordOrBaseForm(const std::u16string& text) {
    if (!isEnglishWord(text) || findsEntries(text)) return text;
    for (const std::u16string& form : baseForms(text))
        if (findsEntries(form)) return form;
    return text;
}

}  // namespace qb
