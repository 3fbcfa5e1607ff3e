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

  private:
    Library library_;
    Big5Codec codec_;
    FastScanner scanner_{codec_};
};

}  // namespace qb
