#pragma once

#include <string_view>

namespace qb {

// The Help window's explanations and where each stands, in twips, as every front end draws
// them: Label1(0) to Label1(6).
struct HelpLabel {
    int left, top, width, height;
    std::u16string_view text;
};

inline constexpr HelpLabel kHelpLabels[] = {
    {1080, 240, 3375, 615,
     u"單字精確查詢模式，最適合搜尋英文單字，搜尋時間快，預設鍵為Enter，按上鍵可找上回所輸入字串"},
    {1080, 1200, 3375, 855,
     u"所有字串查詢模式，最適合搜尋所有有關字串，很適用於漢譯英，但搜尋時間久，按上鍵可找上回所輸入"
     u"字串"},
    {1080, 2160, 3375, 495, u"英語發音模式，能發出標準英語口音，最適合不懂併音的朋友。"},
    {1080, 2640, 3375, 495, u"請先下載及安裝好以下2個Mircosoft發音引擎才能啟動本功能："},
    {1200, 3720, 1335, 255, u"[x] 離開程式"},
    {1200, 3960, 2295, 255, u"[-] 將程式縮小到常駐圖示"},
    {2400, 4560, 2055, 735, u"在常駐圖示，雙按後會顯示回字典，或按右鍵出現菜單選擇"},
};

// The separators Line1(0) to Line1(3), each from x1 to x2 at y.
struct HelpLine {
    int x1, x2, y;
};
inline constexpr HelpLine kHelpLines[] = {
    {240, 4320, 3600}, {240, 4320, 960}, {240, 4320, 1920}, {240, 4320, 5400}};

}  // namespace qb
