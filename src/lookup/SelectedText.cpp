#include "lookup/SelectedText.h"

#include <algorithm>

namespace qb {

namespace {

bool isSpace(char16_t ch) {
    switch (ch) {
        case u'\t':
        case u'\n':
        case u'\v':
        case u'\f':
        case u'\r':
        case u' ':
        case u'\u0085':
        case u'\u00A0':
        case u'\u1680':
        case u'\u2028':
        case u'\u2029':
        case u'\u202F':
        case u'\u205F':
        case u'\u3000':
            return true;
        default:
            return ch >= u'\u2000' && ch <= u'\u200A';
    }
}

bool isApostrophe(char16_t ch) {
    return ch == u'\'' || ch == u'\u2019';
}

// What a selection drags along at its ends. Not + # $ % &, which belong to words ("C++",
// "C#") and amounts.
bool isDraggedAlong(char16_t ch) {
    static constexpr std::u16string_view kMarks =
        u"!\"'()*,-./:;<>?@[\\]_`{|}~"
        u"\u00A1\u00AB\u00B7\u00BB\u00BF"                    // ¡ « · » ¿
        u"\u2010\u2011\u2012\u2013\u2014\u2015"              // hyphens and dashes
        u"\u2018\u2019\u201A\u201B\u201C\u201D\u201E\u201F"  // curly quotes
        u"\u2026\u2039\u203A\u200B\u2060\uFEFF"              // … ‹ › and zero widths
        u"\u3001\u3002\u3008\u3009\u300A\u300B\u300C\u300D\u300E\u300F"  // 、。〈〉《》「」『』
        u"\u3010\u3011\u3014\u3015\u3016\u3017\u301C\u301D\u301E\u301F\u30FB"  // 【】〔〕〖〗〜〝〞〟・
        u"\uFF01\uFF02\uFF07\uFF08\uFF09\uFF0C\uFF0E\uFF1A\uFF1B\uFF1F"  // ！＂＇（），．：；？
        u"\uFF3B\uFF3D\uFF5B\uFF5D\uFF5E\uFF62\uFF63";                   // ［］｛｝～｢｣
    return isSpace(ch) || kMarks.find(ch) != std::u16string_view::npos;
}

}  // namespace

std::u16string trimSelection(std::u16string_view selected) {
    const auto first = std::find_if_not(selected.begin(), selected.end(), isDraggedAlong);
    const auto last = std::find_if_not(selected.rbegin(), selected.rend(), isDraggedAlong).base();
    if (first >= last) return {};
    std::u16string_view kept(first, last);
    // "the dogs'": the plural's apostrophe, unless a quote opened the selection and this
    // one closes it.
    const bool quoted = first != selected.begin() && isApostrophe(*(first - 1));
    if (last != selected.end() && isApostrophe(*last) && !quoted &&
        (kept.back() == u's' || kept.back() == u'S'))
        kept = std::u16string_view(first, last + 1);

    std::u16string text;
    text.reserve(kept.size());
    for (const char16_t ch : kept) {
        if (!isSpace(ch))
            text += ch;
        else if (text.back() != u' ')
            text += u' ';
    }
    return text;
}

}  // namespace qb
