#include <gtest/gtest.h>

#include <vector>

#include "tray/Tray.h"

namespace qb {
namespace {

using platform::TrayCommand;
namespace rec = platform::iconRecord;

struct RecordingArea final : platform::NotificationArea {
    void notifyIcon(TrayCommand command, const platform::IconRecord& record,
                    std::u16string_view tip) override {
        calls.push_back({command, record});
        tips.emplace_back(tip);
    }
    bool isAvailable() override { return true; }
    std::vector<std::pair<TrayCommand, platform::IconRecord>> calls;
    std::vector<std::u16string> tips;
};

// Read by hand, not through the shared layout, so a slip in the layout shows.
std::uint32_t field(const platform::IconRecord& r, size_t offset) {
    return r[offset] | r[offset + 1] << 8 | r[offset + 2] << 16 |
           std::uint32_t(r[offset + 3]) << 24;
}

std::string tipBytes(const platform::IconRecord& r) {
    return std::string(reinterpret_cast<const char*>(r.data()) + 24, 64);
}

TEST(Tray, NumbersIconsFromOneAndNeverReusesANumber) {
    RecordingArea area;
    Tray tray(area);
    EXPECT_FALSE(tray.TrayIconWindows().has_value());
    EXPECT_EQ(tray.AddTrayIcon(0x11, 0x200, 0x99, u"a"), 1);
    EXPECT_EQ(tray.AddTrayIcon(0x11, 0x200, 0x99, u"b"), 2);
    tray.RemoveTrayIcon(1);
    tray.RemoveTrayIcon(2);
    EXPECT_EQ(tray.AddTrayIcon(0x11, 0x200, 0x99, u"c"), 3);
    EXPECT_EQ(tray.TrayIconCount(), 3);
    EXPECT_EQ(tray.TrayIconWindows()->size(), 3u);  // removing leaves the entries
    EXPECT_EQ(tray.TrayIconWindows()->at("3"), 0x11u);
}

TEST(Tray, BuildsTheAddRecord) {
    RecordingArea area;
    Tray tray(area);
    tray.AddTrayIcon(0x1234, 0x200, 0xABCD, u"Wordquill");
    ASSERT_EQ(area.calls.size(), 1u);
    const auto& [message, r] = area.calls[0];
    EXPECT_EQ(message, TrayCommand::Add);
    EXPECT_EQ(field(r, 0), 88u);
    EXPECT_EQ(field(r, 4), 0x1234u);
    EXPECT_EQ(field(r, 8), 1u);
    EXPECT_EQ(field(r, 12), 7u);
    EXPECT_EQ(field(r, 16), 0x200u);
    EXPECT_EQ(field(r, 20), 0xABCDu);
    EXPECT_EQ(tipBytes(r), std::string("Wordquill") + '\0' + std::string(54, ' '));
    EXPECT_EQ(area.tips.at(0), u"Wordquill");  // what the desktop shows: up to the NUL
}

TEST(Tray, CutsTheTipToItsSixtyFourBytes) {
    struct Case {
        std::u16string tip;
        std::string bytes;
        std::u16string shown;  // what the desktop shows: the bytes up to the NUL
    };
    const std::string twoBytes = "\xa6\x72";  // 字
    std::string thirtyTwo;
    for (int i = 0; i < 32; ++i) thirtyTwo += twoBytes;
    const Case cases[] = {
        {u"", std::string(1, '\0') + std::string(63, ' '), u""},
        {std::u16string(70, u'x'), std::string(64, 'x'), std::u16string(64, u'x')},
        {std::u16string(63, u'x'), std::string(63, 'x') + '\0', std::u16string(63, u'x')},
        // Each Chinese character takes two bytes, so the blanks at the end are what is lost.
        {u"字典", "\xa6\x72\xa8\xe5" + std::string(1, '\0') + std::string(59, ' '), u"字典"},
        {std::u16string(40, u'字'), thirtyTwo, std::u16string(32, u'字')},
    };
    for (const auto& c : cases) {
        const platform::IconRecord record = Tray::addRecord(1, 1, 0x200, 2, c.tip);
        EXPECT_EQ(tipBytes(record), c.bytes);
        EXPECT_EQ(Tray::tipShown(record), c.shown);
    }
}

TEST(Tray, RemovesWithTheWindowTheIconWasAddedFor) {
    RecordingArea area;
    Tray tray(area);
    const auto first = tray.AddTrayIcon(0xA, 0x200, 0x1, u"one");
    const auto second = tray.AddTrayIcon(0xB, 0x300, 0x2, u"two");
    tray.RemoveTrayIcon(second);
    tray.RemoveTrayIcon(first);
    tray.RemoveTrayIcon(first);  // twice: a second request, same window and number
    ASSERT_EQ(area.calls.size(), 5u);
    const std::pair<std::uint32_t, std::uint32_t> expected[] = {{0xB, 2}, {0xA, 1}, {0xA, 1}};
    for (size_t i = 0; i < 3; ++i) {
        const auto& [message, r] = area.calls[2 + i];
        EXPECT_EQ(message, TrayCommand::Delete);
        EXPECT_EQ(field(r, 0), 88u);
        EXPECT_EQ(field(r, 4), expected[i].first);
        EXPECT_EQ(field(r, 8), expected[i].second);
        EXPECT_EQ(field(r, 12), 7u);
        for (size_t b = 16; b < 88; ++b) ASSERT_EQ(r[b], 0) << "byte " << b;
    }
}

TEST(Tray, ReportsIdentifiersItNeverGaveOut) {
    RecordingArea area;
    Tray tray(area);
    EXPECT_THROW(tray.RemoveTrayIcon(1), std::out_of_range);
    tray.AddTrayIcon(1, 0x200, 1, u"x");
    EXPECT_THROW(tray.RemoveTrayIcon(2), std::out_of_range);
}

}  // namespace
}  // namespace qb
