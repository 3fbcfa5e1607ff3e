#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace qb {

// The forms an English word may be an inflection of, in lower case, in the order a lookup
// tries them; the word itself is not among them. Letter case is ignored ("WENT" is "went").
//
//  1. Irregular forms, from WordNet's exception lists (IrregularForms.h): "went" go,
//     "children" child, "leaves" leaf then leave. They come first because a listed form is
//     known to be that word's inflection, while the regular endings below guess.
//  2. A possessive ("Apple's", "dogs'", with ' or ’) without its ending; the irregular
//     forms of what is left come before it ("children's" child, then children), its
//     regular endings after it ("teachers'" teachers, then teacher).
//  3. The one regular ending the word has, the likelier undoing first:
//     -s:   "ies" to "y" when two letters or more come before it ("cities" city), the plain
//           "s" ("horses" horse, "ties" tie), then "es" ("buses" bus) — but "es" first after
//           ss, x, z, ch and sh, which always take it ("boxes" box). Not after "ss".
//     -ed, -ing, -er, -est: "ied"/"ier"/"iest" to "y" when two letters come before it
//           ("tried" try); then the plain stem ("walked" walk), the stem with a doubled
//           final consonant undone ("stopped" stop), and the stem with an "e" restored
//           ("hoped" hope). A stem ending in one vowel and one consonant tries the "e" first:
//           had the word ended there, its consonant would have been doubled ("hopped").
//           "ying" is also tried as "ie" ("lying" lie).
// No form appears twice, and none is shorter than two letters.
std::vector<std::u16string> baseForms(std::u16string_view word);

}  // namespace qb
