#pragma once

#include <memory>

#include "Big5Codec.h"
#include "Library.h"
#include "LookupView.h"
#include "Scanner.h"

namespace qb {

// The one lookup procedure, run by the lookup button, by Enter, and by the all-entries
// button after it has set `AdvSubmit`.
class Lookup {
public:
    explicit Lookup(Library library);
    // For tests that want to run the procedure with another scanner.
    Lookup(Library library, std::unique_ptr<Scanner> scanner);
    ~Lookup();

    void Command_Submit_Click(LookupView& view, LookupState& state);

    const Library& library() const { return library_; }

private:
    Library library_;
    std::unique_ptr<Big5Codec> codec_;
    std::unique_ptr<Scanner> scanner_;
};

}  // namespace qb
