#include "window_placement.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <climits>
#include <cstdlib>
#include <memory>

#include "settings_store.h"
#include "test_support.h"

namespace webquill {
namespace {

constexpr const char* kSection = "Last Window Data";

// One settings folder for the process, set before the first store use and
// emptied before every test.
class PlacementStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        static std::unique_ptr<test::TempDir> config;
        if (!config) {
            config = std::make_unique<test::TempDir>();
            ::setenv("XDG_CONFIG_HOME", config->Path().c_str(), 1);
        }
        QSettings settings(QStringLiteral("Tessaly"), QStringLiteral("Webquill"));
        settings.clear();
        settings.sync();
    }
    CSettingsStore store;
};

TEST(PlacementCoordinates, ParseAtFixedPositions) {
    struct Case {
        std::string text;
        PixelRect rect;
    };
    const std::vector<Case> cases = {
        {"0019 0072 0676 0449", {19, 72, 676, 449}},
        {"-020 0010 0500 0400", {-20, 10, 500, 400}},
        {"", {0, 0, 0, 0}},
        {"12", {12, 0, 0, 0}},
        {"0010 0020", {10, 20, 0, 0}},
        {"abcd 0020 efgh 0040", {0, 20, 0, 40}},
        {"1234567890123456789", {INT_MAX, INT_MAX, 123456789, 6789}},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseCoordinates(c.text), c.rect) << c.text;
}

TEST(PlacementCoordinates, FormatPadsToFourDigits) {
    EXPECT_EQ(FormatCoordinates({19, 72, 676, 449}), "0019 0072 0676 0449");
    EXPECT_EQ(FormatCoordinates({-20, 10, 500, 400}), "-020 0010 0500 0400");
    EXPECT_EQ(FormatCoordinates({0, 0, 12345, 7}), "0000 0000 12345 0007");
    const PixelRect rect{-5, 3, 1024, 768};
    EXPECT_EQ(ParseCoordinates(FormatCoordinates(rect)), rect);
}

TEST(PlacementCoordinates, ClipToScreen) {
    struct Case {
        const char* what;
        PixelRect in;
        int width, height;
        PixelRect out;
    };
    const std::vector<Case> cases = {
        {"on screen", {19, 72, 676, 449}, 1920, 1080, {19, 72, 676, 449}},
        {"left off", {-20, 10, 500, 400}, 1920, 1080, {0, 10, 520, 400}},
        {"bottom off", {100, 500, 400, 900}, 1024, 768, {100, 368, 400, 768}},
        {"right off", {1800, 10, 2100, 300}, 1920, 1080, {1620, 10, 1920, 300}},
        {"top off", {10, -30, 210, 170}, 1920, 1080, {10, 0, 210, 200}},
        {"top off and taller", {10, -900, 210, 500}, 1920, 1080, {10, 0, 210, 1080}},
        {"left off and wider", {-100, 0, 2500, 50}, 1920, 1080, {0, 0, 1920, 50}},
        {"larger both ways", {-50, -50, 3000, 2000}, 1920, 1080, {0, 0, 1920, 1080}},
        {"bottom-right off", {900, 700, 1200, 900}, 1024, 768, {724, 568, 1024, 768}},
    };
    for (const Case& c : cases) EXPECT_EQ(ClipToScreen(c.in, c.width, c.height), c.out) << c.what;
}

TEST_F(PlacementStoreTest, NoStoredSectionGivesDefaults) {
    const WindowPlacement placement = ReadWindowPlacement(store, 1920, 1080);
    EXPECT_EQ(placement.normal, (PixelRect{19, 72, 676, 449}));
    EXPECT_EQ(placement.show, ShowState::Normal);
    EXPECT_FALSE(placement.restoreToMaximized);
    EXPECT_TRUE(placement.toolBarVisible);
    EXPECT_TRUE(placement.statusBarVisible);
}

TEST_F(PlacementStoreTest, StoredCoordinatesAreClipped) {
    store.WriteString(kSection, "Coordinates", "-020 0010 0500 0400");
    const WindowPlacement placement = ReadWindowPlacement(store, 1920, 1080);
    EXPECT_EQ(placement.normal.left, 0);
    EXPECT_EQ(placement.normal.right, 520);
    EXPECT_EQ(placement.normal.top, 10);
    EXPECT_EQ(placement.normal.bottom, 400);
}

TEST_F(PlacementStoreTest, ShowStateFromIconizedAndMaximized) {
    struct Case {
        const char* iconized;
        const char* maximized;
        ShowState show;
        bool restoreToMaximized;
    };
    const std::vector<Case> cases = {
        {"1", "1", ShowState::Minimized, true},
        {"1", "0", ShowState::Minimized, false},
        {"0", "1", ShowState::Maximized, true},
        {"", "", ShowState::Normal, false},
        {"yes", "1", ShowState::Maximized, true},
        {"0", "true", ShowState::Normal, false},
    };
    for (const Case& c : cases) {
        store.WriteString(kSection, "Iconized", c.iconized);
        store.WriteString(kSection, "Maximized", c.maximized);
        const WindowPlacement placement = ReadWindowPlacement(store, 1920, 1080);
        EXPECT_EQ(placement.show, c.show) << c.iconized << "/" << c.maximized;
        EXPECT_EQ(placement.restoreToMaximized, c.restoreToMaximized)
            << c.iconized << "/" << c.maximized;
    }
}

TEST_F(PlacementStoreTest, BarShownOnlyForExactlyOne) {
    struct Case {
        const char* value;
        bool shown;
    };
    for (const Case& c : std::vector<Case>{{"1", true}, {"", true}, {"0", false}, {"yes", false},
                                           {" 1", false}, {"01", false}}) {
        store.WriteString(kSection, "ToolBar", c.value);
        store.WriteString(kSection, "StatusLine", c.value);
        const WindowPlacement placement = ReadWindowPlacement(store, 1920, 1080);
        EXPECT_EQ(placement.toolBarVisible, c.shown) << '"' << c.value << '"';
        EXPECT_EQ(placement.statusBarVisible, c.shown) << '"' << c.value << '"';
    }
}

TEST_F(PlacementStoreTest, SaveWritesStateAndBars) {
    struct Case {
        ShowState state;
        bool restoreToMaximized;
        const char* iconized;
        const char* maximized;
    };
    const std::vector<Case> cases = {
        {ShowState::Normal, false, "0", "0"},
        {ShowState::Normal, true, "0", "0"},
        {ShowState::Maximized, false, "0", "1"},
        {ShowState::Minimized, false, "1", "0"},
        {ShowState::Minimized, true, "1", "1"},
    };
    for (const Case& c : cases) {
        SaveWindowPlacement(store, c.state, c.restoreToMaximized, {-20, 10, 500, 400}, false, true);
        EXPECT_EQ(store.ReadString(kSection, "Coordinates"), "-020 0010 0500 0400");
        EXPECT_EQ(store.ReadString(kSection, "Iconized"), c.iconized);
        EXPECT_EQ(store.ReadString(kSection, "Maximized"), c.maximized);
        EXPECT_EQ(store.ReadString(kSection, "ToolBar"), "0");
        EXPECT_EQ(store.ReadString(kSection, "StatusLine"), "1");
    }
}

TEST_F(PlacementStoreTest, MinimizedFromMaximizedRoundTrip) {
    SaveWindowPlacement(store, ShowState::Minimized, true, {40, 50, 840, 650}, true, false);
    const WindowPlacement placement = ReadWindowPlacement(store, 1920, 1080);
    EXPECT_EQ(placement.show, ShowState::Minimized);
    EXPECT_TRUE(placement.restoreToMaximized);
    EXPECT_EQ(placement.normal, (PixelRect{40, 50, 840, 650}));
    EXPECT_TRUE(placement.toolBarVisible);
    EXPECT_FALSE(placement.statusBarVisible);
}

TEST_F(PlacementStoreTest, MissingBarIsNotWritten) {
    store.WriteString(kSection, "ToolBar", "0");
    SaveWindowPlacement(store, ShowState::Normal, false, {1, 2, 3, 4}, std::nullopt, std::nullopt);
    EXPECT_EQ(store.ReadString(kSection, "ToolBar"), "0");
    EXPECT_EQ(store.ReadString(kSection, "StatusLine"), "");
}

}  // namespace
}  // namespace webquill
