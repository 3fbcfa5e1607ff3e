#include "lookup/Lookup.h"

#include <string>
#include <vector>

#include "lookup/Messages.h"
#include "lookup/Utf8.h"

namespace qb {

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

    // Text that begins with a letter is looked up in that letter's file; any other text in
    // all 26 files, A to Z, which always searches all entries.
    const char16_t initial = toLower(typed.text.substr(0, 1))[0];
    const bool singleFile = initial >= u'a' && initial <= u'z';
    const std::string letters =
        singleFile ? std::string(1, static_cast<char>(initial)) : "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
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

}  // namespace qb
