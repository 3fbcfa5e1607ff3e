#pragma once

#include <string_view>

namespace qb {

// The About window's fixed texts, as every front end draws them.
inline constexpr std::u16string_view kAboutVersion = u"Ver: 1.1";
// Two spaces after the colon, as the window has always shown it.
inline constexpr std::u16string_view kAboutRequirement = u"Requirement:  Win 98 / Me / 2000 / XP";
inline constexpr std::u16string_view kAboutDevelopment = u"For 32-bit Windows Development";
inline constexpr std::u16string_view kAboutProgrammer = u"Programmer: Quillbook developers";
inline constexpr std::u16string_view kAboutNotice = u"© 2026 Quillbook developers";
// The address as the link shows it: the whole of it would not fit the label.
inline constexpr std::u16string_view kAboutHomePageShown = u"quillbook.example.org";
// Misspelt since the first version; users know the window by it.
inline constexpr std::u16string_view kAboutWarning = u"Warining:";

}  // namespace qb
