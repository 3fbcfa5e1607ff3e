#pragma once

#include <string_view>

namespace qb::messages {

inline constexpr std::u16string_view kTypeSomethingFirst = u"請先輸入字串";
inline constexpr std::u16string_view kNothingFound = u"Sorry! 找不到任何相符字串";
inline constexpr std::u16string_view kNothingFoundTryAll =
    u"Sorry! 找不到任何相符字串\r\n\r\n請使用「所有查詢」";
inline constexpr std::u16string_view kLibraryFileMissing = u"找不到字典檔：";

}  // namespace qb::messages
