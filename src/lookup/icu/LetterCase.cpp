#include "lookup/LetterCase.h"

#include <unicode/uchar.h>

namespace qb {

char16_t lowerCase(char16_t ch) {
    return static_cast<char16_t>(u_tolower(ch));
}

char16_t upperCase(char16_t ch) {
    return static_cast<char16_t>(u_toupper(ch));
}

}  // namespace qb
