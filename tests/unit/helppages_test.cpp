// The help's two pages: the switch left of Back turns them, by a click and
// by the keys, and the help always opens on how to play.
#include <gtest/gtest.h>

#include "fakes/GameHarness.h"

namespace {

using testart::To565;

constexpr int kHelpKeysMenu = 17, kHelpRulesMenu = 18;
constexpr Point kSwitch{216, 483};
constexpr Point kSidebarHelp{680, 430};

class HelpPages : public ::testing::Test {
protected:
    void SetUp() override {
        h.ClickAt(kSidebarHelp.x, kSidebarHelp.y);
        ASSERT_EQ(h.game.screen, ScreenHelp);
        Rest();
    }
    // The pointer put where it covers nothing looked at; the controls see
    // it from the frame after the one that reads it.
    void Rest() {
        h.platform.cursor = {12, 590};
        h.Frames(2);
    }
    void Key(KeyPress key) {
        h.platform.Press(key);
        h.Frame();
    }
    // The page image and the switch's caption, as the last frame shows them.
    uint16_t Page() const { return h.Shown(100, 150); }
    uint16_t Switch() const { return h.Shown(140, 500); }
    GameHarness h;
};

TEST_F(HelpPages, AClickOnTheSwitchTurnsToTheOtherPageAndBack) {
    EXPECT_EQ(Page(), To565(testart::kHelp));
    EXPECT_EQ(Switch(), To565(testart::MenuNormal(kHelpKeysMenu)));
    h.audio.plays.clear();
    h.ClickAt(kSwitch.x, kSwitch.y);
    Rest();
    EXPECT_EQ(h.game.screen, ScreenHelp);
    EXPECT_EQ(Page(), To565(testart::kHelpKeys));
    EXPECT_EQ(Switch(), To565(testart::MenuNormal(kHelpRulesMenu)));
    EXPECT_EQ(h.audio.Played(), std::vector<std::string>{"Button.aud"});
    h.ClickAt(kSwitch.x, kSwitch.y);
    Rest();
    EXPECT_EQ(Page(), To565(testart::kHelp));
    // Its edges, as every control's, are outside it.
    for (Point edge : {Point{126, 483}, Point{306, 483}, Point{216, 450}, Point{216, 517}}) {
        h.ClickAt(edge.x, edge.y);
        Rest();
        EXPECT_EQ(Page(), To565(testart::kHelp)) << edge.x << "," << edge.y;
    }
}

TEST_F(HelpPages, TabReachesTheSwitchFirstAndEnterTurnsThePage) {
    Key(KeyPress::FocusNext);
    EXPECT_EQ(Switch(), To565(testart::MenuHovered(kHelpKeysMenu)));
    Key(KeyPress::Activate);
    h.Frame();
    EXPECT_EQ(Page(), To565(testart::kHelpKeys));
    // The focus stays on the switch, now showing the way back.
    EXPECT_EQ(Switch(), To565(testart::MenuHovered(kHelpRulesMenu)));
    Key(KeyPress::Activate);
    h.Frame();
    EXPECT_EQ(Page(), To565(testart::kHelp));
    Key(KeyPress::FocusNext);  // Back
    Key(KeyPress::Activate);
    h.Frame();
    EXPECT_EQ(h.game.screen, ScreenPreview);
}

TEST_F(HelpPages, TheHelpOpensOnHowToPlayWhicheverPageWasLeft) {
    h.ClickAt(kSwitch.x, kSwitch.y);
    h.ClickAt(400, 480);  // Back
    ASSERT_EQ(h.game.screen, ScreenPreview);
    h.ClickAt(kSidebarHelp.x, kSidebarHelp.y);
    Rest();
    EXPECT_EQ(Page(), To565(testart::kHelp));
    // Left by the T key rather than Back, and opened by a controller's Back.
    h.ClickAt(kSwitch.x, kSwitch.y);
    Key(KeyPress::Tile);
    ASSERT_EQ(h.game.screen, ScreenTileView);
    h.platform.PressPad(PadButton::Back);
    h.Frame();
    ASSERT_EQ(h.game.screen, ScreenHelp);
    Rest();
    EXPECT_EQ(Page(), To565(testart::kHelp));
}

}  // namespace
