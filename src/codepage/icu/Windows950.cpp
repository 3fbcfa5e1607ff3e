#include "codepage/icu/Windows950.h"

#include <unicode/ucnv.h>
#include <unicode/ucnv_cb.h>
#include <unicode/ucnv_err.h>

#include <stdexcept>

namespace qb {
namespace {

void substituteReplacementCharacter(const void*, UConverterToUnicodeArgs* args, const char*,
                                    int32_t, UConverterCallbackReason reason, UErrorCode* err) {
    if (reason > UCNV_IRREGULAR) return;  // reset, close and clone need nothing
    *err = U_ZERO_ERROR;
    const UChar replacement = u'\uFFFD';
    ucnv_cbToUWriteUChars(args, &replacement, 1, 0, err);
}

}  // namespace

UConverter* openWindows950() {
    UErrorCode err = U_ZERO_ERROR;
    UConverter* converter = ucnv_open("windows-950", &err);
    if (U_FAILURE(err) || converter == nullptr)
        throw std::runtime_error("ICU has no windows-950 converter");
    ucnv_setToUCallBack(converter, substituteReplacementCharacter, nullptr, nullptr, nullptr, &err);
    ucnv_setFromUCallBack(converter, UCNV_FROM_U_CALLBACK_SUBSTITUTE, nullptr, nullptr, nullptr,
                          &err);
    if (U_FAILURE(err)) {
        ucnv_close(converter);
        throw std::runtime_error("cannot set up the windows-950 converter");
    }
    return converter;
}

}  // namespace qb
