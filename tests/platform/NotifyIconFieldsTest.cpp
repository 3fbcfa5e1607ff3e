#include <gtest/gtest.h>

#include <string>

#include "platform/windows/NotifyIconFields.h"
#include "tray/Tray.h"

using namespace qb;
using namespace std::string_literals;

namespace {

std::string tipOf(const platform::NotifyIconFields& fields) {
    return {fields.tip.begin(), fields.tip.end()};
}

}  // namespace

// The tray module's records as the 64-bit shell structure's fields: handles sign-extended
// from their 32 bits, the tip's code page 950 bytes untouched, blanks and all.
TEST(NotifyIconFields, WidenTheTrayModulesRecord) {
    struct Case {
        const char* name;
        platform::IconRecord record;
        std::intptr_t window;
        std::uint32_t identifier;
        std::uint32_t callbackMessage;
        std::intptr_t icon;
        std::string tip;
    };
    const Case cases[] = {
        {"ordinary handles", Tray::addRecord(0x00010040, 1, 0x200, 0x0001003F, u"Quillbook"),
         0x00010040, 1, 0x200, 0x0001003F, "Quillbook\0"s + std::string(54, ' ')},
        {"handles with the top bit set", Tray::addRecord(0x80001234, 7, 0x200, 0xFFFFFFFF, u"a"),
         std::intptr_t{-0x7FFFEDCC}, 7, 0x200, -1, "a\0"s + std::string(62, ' ')},
        {"largest positive handles", Tray::addRecord(0x7FFFFFFF, 2, 0x401, 0x7FFFFFFE, u""),
         0x7FFFFFFF, 2, 0x401, 0x7FFFFFFE, "\0"s + std::string(63, ' ')},
        {"Chinese tip", Tray::addRecord(0x10040, 3, 0x200, 0x1003F, u"羽筆字典"), 0x10040, 3, 0x200,
         0x1003F, "\xA6\xD0\xB5\xA7\xA6\x72\xA8\xE5\0"s + std::string(55, ' ')},
        {"tip of 64 characters: no NUL",
         Tray::addRecord(0x10040, 4, 0x200, 0x1003F, std::u16string(70, u'x')), 0x10040, 4, 0x200,
         0x1003F, std::string(64, 'x')},
        {"removal", Tray::removeRecord(0x80000001, 5), std::intptr_t{-0x7FFFFFFF}, 5, 0, 0,
         std::string(64, '\0')},
    };
    for (const Case& c : cases) {
        const platform::NotifyIconFields fields = platform::notifyIconFields(c.record);
        EXPECT_EQ(fields.window, c.window) << c.name;
        EXPECT_EQ(fields.identifier, c.identifier) << c.name;
        EXPECT_EQ(fields.flags, 7u) << c.name;
        EXPECT_EQ(fields.callbackMessage, c.callbackMessage) << c.name;
        EXPECT_EQ(fields.icon, c.icon) << c.name;
        EXPECT_EQ(tipOf(fields), c.tip) << c.name;
    }
}
