#pragma once

#include "lookup/Big5Codec.h"
#include "lookup/Library.h"
#include "lookup/LookupView.h"
#include "lookup/Scanner.h"

namespace qb {

// The one lookup procedure, run by the lookup button, by Enter, and by the all-entries
// button after it has set `AdvSubmit`.
class Lookup {
  public:
    explicit Lookup(Library library) : library_(std::move(library)) {}

    void Command_Submit_Click(LookupView& view, LookupState& state);

    // Whether the lookup button would find an entry for `text`, in the same files by the same
    // rule, showing nothing and saying nothing. False for empty text and unreadable files.
    bool findsEntries(const std::u16string& text);
    // What a lookup of selected text looks up: the text itself when it finds entries, or
    // else, for one English word, the first of its base forms (BaseForms.h) that does; the
    // text itself when none does, so that the lookup says it found nothing.
    std::u16string wordOrBaseForm(const std::u16string& text);

  private:
    Library library_;
    Big5Codec codec_;
    FastScanner scanner_{codec_};
};

}  // namespace qb
