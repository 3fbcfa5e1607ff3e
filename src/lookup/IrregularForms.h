#pragma once

#include <string_view>

namespace qb {

// The irregular forms of English words and their base forms, from WordNet 3.0's exception
// lists (noun, verb, adjective, adverb), written at build time by
// generators/IrregularFormsGenerator.cpp. WordNet's licence lets the lists be copied and
// passed on with its notice, which packaging/copyright and lib/README carry.
//
// One record per form, sorted by its bytes, each ended by '\n': the form, then for each base
// form a '\t', one character '0' + n saying that the base begins with the form's first n
// characters, and the rest of the base. Bases keep the lists' order: noun, verb, adjective,
// adverb. "mice\t0mouse", "stopped\t4", "went\t0go".
extern const std::string_view kIrregularForms;

}  // namespace qb
