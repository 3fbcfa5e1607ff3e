#pragma once

#include <string_view>

namespace qb {

// What a screen reader says for each control, the same on every front end. The name is what
// the control is called (its caption where it shows one); the description is what it does,
// in the Help window's own words where the Help window explains it.
struct AccessibleText {
    std::u16string_view name;
    std::u16string_view description = {};
};

// The book.
inline constexpr AccessibleText kAccessibleTitle{u"羽筆字典 Quillbook"};
inline constexpr AccessibleText kAccessibleInput{u"查詢字串",
                                                 u"輸入英文單字或中文字串，按Enter查詢"};
inline constexpr AccessibleText kAccessibleResult{u"查詢結果"};
inline constexpr AccessibleText kAccessibleSubmit{u"準確", u"單字精確查詢模式"};
inline constexpr AccessibleText kAccessibleAdvancedSubmit{u"所有", u"所有字串查詢模式"};
inline constexpr AccessibleText kAccessibleVoice{u"發音", u"英語發音模式"};
inline constexpr AccessibleText kAccessibleHelp{u"說明", u"顯示使用說明"};
inline constexpr AccessibleText kAccessibleAbout{u"關於", u"顯示程式資訊"};
// The Help window shows "[x] 離開程式" and "[-] 將程式縮小到常駐圖示" beside these two.
inline constexpr AccessibleText kAccessibleClose{u"離開程式"};
inline constexpr AccessibleText kAccessibleHide{u"縮小到常駐圖示", u"將程式縮小到常駐圖示"};

// The Help window: its copies of the three buttons take the book's names; its two download
// buttons are named by their captions.
inline constexpr AccessibleText kAccessibleHelpDownloadSpeech{u"spchapi.exe", u"下載發音引擎"};
inline constexpr AccessibleText kAccessibleHelpDownloadVoice{u"msttsl.exe", u"下載發音引擎"};

// The About window.
inline constexpr AccessibleText kAccessibleAboutExit{u"Exit"};
inline constexpr AccessibleText kAccessibleAboutSystemInfo{u"System...",
                                                           u"Show the system information"};
inline constexpr AccessibleText kAccessibleAboutHomePage{u"quillbook.example.org",
                                                         u"Open the home page"};

}  // namespace qb
