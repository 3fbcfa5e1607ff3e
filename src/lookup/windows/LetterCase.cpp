#include "lookup/LetterCase.h"

#include <windows.h>

#include <array>
#include <vector>

namespace qb {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

using CaseTable = std::array<char16_t, 0x10000>;

// The whole mapping asked of the system once: a call a unit costs more than the lookup.
// Invariant file-system casing, the same whatever the user's language (no Turkish dotless i).
CaseTable systemMapping(DWORD how) {
    CaseTable table;
    for (unsigned u = 0; u < table.size(); ++u) table[u] = static_cast<char16_t>(u);
    // Surrogates have no case and alone are no text: the units below and above them, a run each.
    for (const auto& [from, to] : {std::pair{0x0000u, 0xD800u}, std::pair{0xE000u, 0x10000u}}) {
        const int n = static_cast<int>(to - from);
        std::vector<wchar_t> mapped(static_cast<size_t>(n));
        const auto* source = reinterpret_cast<const wchar_t*>(table.data() + from);
        if (LCMapStringEx(LOCALE_NAME_INVARIANT, how, source, n, mapped.data(), n, nullptr, nullptr,
                          0) == n) {
            for (int i = 0; i < n; ++i) table[from + i] = static_cast<char16_t>(mapped[i]);
            continue;
        }
        // A system that maps some unit to more or fewer than one: unit by unit, and a unit
        // without a one-unit answer keeps its case.
        for (unsigned u = from; u < to; ++u) {
            const wchar_t in = static_cast<wchar_t>(u);
            wchar_t out = in;
            if (LCMapStringEx(LOCALE_NAME_INVARIANT, how, &in, 1, &out, 1, nullptr, nullptr, 0) ==
                1)
                table[u] = static_cast<char16_t>(out);
        }
    }
    return table;
}

}  // namespace

char16_t lowerCase(char16_t ch) {
    static const CaseTable table = systemMapping(LCMAP_LOWERCASE);
    return table[ch];
}

char16_t upperCase(char16_t ch) {
    static const CaseTable table = systemMapping(LCMAP_UPPERCASE);
    return table[ch];
}

}  // namespace qb
