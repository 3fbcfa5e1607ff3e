#pragma once

#include <string>
#include <string_view>

namespace qb {

// The text of a selection made in another program, as a lookup wants it: without the white
// space, quotes, brackets and punctuation that a selection drags along at either end, in
// English or Chinese typography. Inside, each run of white space (line breaks too) becomes
// one space, so that a phrase broken over two lines is looked up whole. A possessive's
// "'s" stays for the base forms to undo, and so does the apostrophe of a plural's "s'"
// when no quote opens the selection. Empty when nothing but those characters was selected.
std::u16string trimSelection(std::u16string_view selected);

}  // namespace qb
