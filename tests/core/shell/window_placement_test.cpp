#include "core/shell/window_placement.h"

#include <gtest/gtest.h>

#include <climits>

#include "platform/storage/settings_store.h"
#include "tests/core/shell/empty_settings_store.h"
#include "tests/engine/test_support.h"

namespace webquill {
namespace {

constexpr const char* kSection = "Last Window Data";

TEST(PlacementCoordinates, ParseAtFixedPositionsAndFormat) {
    const std::vector<std::pair<std::string, PixelRect>> cases = {
        {"0019 0072 0676 0449", {19, 72, 676, 449}}, {"-020 0010 0500 0400", {-20, 10, 500, 400}},
        {"", {0, 0, 0, 0}},                          {"0010 0020", {10, 20, 0, 0}},
        {"abcd 0020 efgh 0040", {0, 20, 0, 40}},     {"1234567890123456789", {INT_MAX, INT_MAX, 123456789, 6789}},
    };
    for (const auto& [text, rect] : cases) EXPECT_EQ(ParseCoordinates(text), rect) << text;
    EXPECT_EQ(FormatCoordinates({-20, 10, 500, 400}), "-020 0010 0500 0400");
    EXPECT_EQ(FormatCoordinates({0, 0, 12345, 7}), "0000 0000 12345 0007");
}

TEST(PlacementCoordinates, ClipToScreen) {
    struct Case {
        const char* what;
        PixelRect in;
        int width, height;
        PixelRect out;
    };
    for (const Case& c : {
             Case{"on screen", {19, 72, 676, 449}, 1920, 1080, {19, 72, 676, 449}},
             Case{"left off", {-20, 10, 500, 400}, 1920, 1080, {0, 10, 520, 400}},
             Case{"bottom off", {100, 500, 400, 900}, 1024, 768, {100, 368, 400, 768}},
             Case{"right off", {1800, 10, 2100, 300}, 1920, 1080, {1620, 10, 1920, 300}},
             Case{"top off", {10, -30, 210, 170}, 1920, 1080, {10, 0, 210, 200}},
             Case{"top off and taller", {10, -900, 210, 500}, 1920, 1080, {10, 0, 210, 1080}},
             Case{"left off and wider", {-100, 0, 2500, 50}, 1920, 1080, {0, 0, 1920, 50}},
             Case{"larger both ways", {-50, -50, 3000, 2000}, 1920, 1080, {0, 0, 1920, 1080}},
             Case{"bottom-right off", {900, 700, 1200, 900}, 1024, 768, {724, 568, 1024, 768}},
         })
        EXPECT_EQ(ClipToScreen(c.in, c.width, c.height), c.out) << c.what;
}

// One settings folder for the process, emptied before every test.
class PlacementStoreTest : public ::testing::Test {
protected:
    void SetUp() override { test::EmptySettingsStore(); }
    WindowPlacement Read() const { return ReadWindowPlacement(store, 1920, 1080); }
    CSettingsStore store;
};

// Iconized, Maximized and both bars as stored; what is read back. Nothing
// stored gives the defaults.
TEST_F(PlacementStoreTest, ReadStateBarsAndClippedRect) {
    const WindowPlacement fresh = Read();
    EXPECT_EQ(fresh.normal, kDefaultWindowRect);
    EXPECT_TRUE(fresh.show == ShowState::Normal && !fresh.restoreToMaximized);
    EXPECT_TRUE(fresh.toolBarVisible && fresh.statusBarVisible);
    store.WriteString(kSection, "Coordinates", "-020 0010 0500 0400");
    EXPECT_EQ(Read().normal, (PixelRect{0, 10, 520, 400}));
    struct Case {
        const char *iconized, *maximized, *bars;
        ShowState show;
        bool restoreToMaximized, barsShown;
    };
    for (const Case& c : {Case{"1", "1", "1", ShowState::Minimized, true, true},
                          Case{"1", "0", "", ShowState::Minimized, false, true},
                          Case{"0", "1", "0", ShowState::Maximized, true, false},
                          Case{"yes", "1", " 1", ShowState::Maximized, true, false},
                          Case{"0", "true", "01", ShowState::Normal, false, false}}) {
        store.WriteString(kSection, "Iconized", c.iconized);
        store.WriteString(kSection, "Maximized", c.maximized);
        store.WriteString(kSection, "ToolBar", c.bars);
        store.WriteString(kSection, "StatusLine", c.bars);
        const WindowPlacement read = Read();
        const std::string what = std::string(c.iconized) + "/" + c.maximized + "/" + c.bars;
        EXPECT_EQ(read.show, c.show) << what;
        EXPECT_EQ(read.restoreToMaximized, c.restoreToMaximized) << what;
        EXPECT_EQ(read.toolBarVisible, c.barsShown) << what;
        EXPECT_EQ(read.statusBarVisible, c.barsShown) << what;
    }
}

TEST_F(PlacementStoreTest, SaveWritesWhatReadsBack) {
    // Iconized and Maximized as written for each state.
    for (const auto& [state, restoreToMaximized, flags] :
         {std::tuple{ShowState::Normal, false, "00"}, {ShowState::Normal, true, "00"},
          {ShowState::Maximized, false, "01"}, {ShowState::Minimized, false, "10"},
          {ShowState::Minimized, true, "11"}}) {
        SaveWindowPlacement(store, state, restoreToMaximized, {-20, 10, 500, 400}, false, true);
        EXPECT_EQ(store.ReadString(kSection, "Coordinates"), "-020 0010 0500 0400");
        EXPECT_EQ(store.ReadString(kSection, "Iconized") + store.ReadString(kSection, "Maximized"), flags);
        const WindowPlacement read = Read();
        EXPECT_EQ(read.show, state);
        EXPECT_TRUE(!read.toolBarVisible && read.statusBarVisible);
    }
    // A bar that does not exist leaves its value alone.
    SaveWindowPlacement(store, ShowState::Normal, false, {1, 2, 3, 4}, std::nullopt, std::nullopt);
    EXPECT_EQ(store.ReadString(kSection, "ToolBar") + store.ReadString(kSection, "StatusLine"), "01");
}

// However many windows a row holds, five windows (and more in a wide area)
// lie inside the area, and none covers the start of an earlier one's title
// bar, the part with its caption.
TEST(CascadePlaces, NoWindowCoversAnEarlierTitle) {
    for (const auto& [width, height, step, windows] :
         {std::tuple{650, 260, 26, 5}, {1270, 700, 30, 12}, {400, 300, 40, 2}}) {
        std::vector<PixelRect> places;
        for (int i = 0; i < windows; ++i) places.push_back(CascadedChildRect(i, width, height, step));
        for (int i = 0; i < windows; ++i) {
            const PixelRect& r = places[i];
            EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= width && r.bottom <= height) << i;
            EXPECT_GE(r.Width(), width / 2) << i;
            const PixelRect title{r.left, r.top, r.left + CascadeTitleShown(step), r.top + step};
            for (int j = i + 1; j < windows; ++j) {
                const PixelRect& o = places[j];
                EXPECT_FALSE(o.left < title.right && title.left < o.right && o.top < title.bottom &&
                             title.top < o.bottom)
                    << width << ": " << j << " covers " << i;
            }
        }
    }
}

}  // namespace
}  // namespace webquill
