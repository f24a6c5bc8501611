// The whole game without a mouse: the focus order of every screen, drawn as
// the hover frame and wrapping, Enter doing what a click does, the mouse
// taking the look back; a game controller's buttons.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "fakes/GameHarness.h"
#include "puzzle/SmallBoards.h"

namespace {

using testart::To565;

// A control: where a click presses it, and a pixel of this colour while it looks hovered.
struct Spot {
    const char* name;
    Point click, look;
    Rgb hovered;
};

Spot Menu(const char* name, Point click, int menu) { return {name, click, click, testart::MenuHovered(menu)}; }
// A thumbnail slot looks hovered by the frame around it.
Spot Slot(const char* name, int x) { return {name, {x + 30, 360}, {x - 2, 338}, testart::kBorder}; }

const std::vector<Spot> kSidebar{Menu("Shuffle", {692, 123}, 0),    Menu("Tile", {685, 198}, 1),
                                 Menu("HighScores", {700, 270}, 2), Menu("Options", {692, 356}, 3),
                                 Menu("Help", {684, 428}, 10),      Menu("Exit", {690, 508}, 13)};
const Spot kBack = Menu("Back", {400, 480}, 8);

// A screen and its controls in the order Tab reaches them.
struct Walk {
    const char* name;
    Screen screen;
    bool board;  // past the last control Tab goes back to the board, where nothing looks focused
    std::vector<Spot> order;
};

std::vector<Spot> Then(std::vector<Spot> a, const std::vector<Spot>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Walk kWalks[] = {
    {"Preview", ScreenPreview, false, kSidebar},
    {"TileView", ScreenTileView, false, kSidebar},
    {"Playing", ScreenPlaying, true, kSidebar},
    {"Solved", ScreenSolved, false,
     Then({Menu("ShuffleAgain", {212, 521}, 11), Menu("NextLevel", {416, 520}, 12)}, kSidebar)},
    // Five pictures, the row from the second: both arrows, and no frame for Tiger.
    {"Options", ScreenOptions, false,
     {Menu("Music", {267, 165}, 5), Menu("Numbers", {267, 215}, 16), Menu("Sound", {267, 270}, 6),
      Slot("Picture0", 357), Slot("Picture1", 447), Slot("Picture2", 537), Menu("RowLeft", {370, 425}, 14),
      Menu("RowRight", {584, 425}, 15), kBack}},
    {"HighScores", ScreenHighScores, false, {kBack}},
    // The switch between the help's pages, left of Back.
    {"Help", ScreenHelp, false, {Menu("HelpPage", {216, 483}, 17), kBack}},
};

void PrintTo(const Walk& walk, std::ostream* out) { *out << walk.name; }

void Start(GameHarness& h, const Walk& walk) {
    for (const char* own : {"Pictures/a.bmp", "Pictures/b.bmp"}) {
        h.folder.WriteBitmap(own, 100, 100, [](int, int) { return Rgb{90, 200, 30}; });
    }
    h.game.LoadResources();
    h.game.pictureRowFirst = 1;
    h.platform.cursor = {12, 590};  // on no control
    h.Deal();
    h.game.screen = walk.screen;
    h.Frame();
}

void Key(GameHarness& h, KeyPress key) {
    h.platform.Press(key);
    h.Frame();
}

std::vector<std::string> Hovered(const GameHarness& h, const Walk& walk) {
    std::vector<std::string> names;
    for (const Spot& spot : walk.order) {
        if (h.Shown(spot.look.x, spot.look.y) == To565(spot.hovered)) names.push_back(spot.name);
    }
    return names;
}

// What a press left behind, after one more frame.
template <typename Act>
std::string Pressed(GameHarness& h, Act act) {
    int exit = 0;
    h.audio.plays.clear();
    try {
        act();
        h.Frame();
    } catch (const ProcessExit& e) {
        exit = e.status;
    }
    const Game& g = h.game;
    std::string out;
    for (int v : {int{g.screen}, int{g.returnScreen}, int{g.gameInProgress}, int{g.musicOn}, int{g.soundOn},
                  int{g.showNumbers}, g.helpPage, g.pictureIndex, g.pictureRowFirst, g.gridSize, exit}) {
        out += std::to_string(v) + " ";
    }
    for (const std::string& sound : h.audio.Played()) out += sound + " ";
    return out;
}

class Focus : public ::testing::TestWithParam<Walk> {};

TEST_P(Focus, GoesThroughTheControlsInOrderAndWrapsAndTheMouseTakesTheLookBack) {
    const Walk& walk = GetParam();
    GameHarness h(false);
    Start(h, walk);
    EXPECT_TRUE(Hovered(h, walk).empty());
    std::vector<std::vector<std::string>> cycle;
    for (const Spot& spot : walk.order) cycle.push_back({spot.name});
    if (walk.board) cycle.push_back({});
    for (size_t tab = 0; tab <= cycle.size(); ++tab) {
        Key(h, KeyPress::FocusNext);
        EXPECT_EQ(Hovered(h, walk), cycle[tab % cycle.size()]) << "Tab " << tab + 1;
    }
    Key(h, KeyPress::FocusPrevious);
    EXPECT_EQ(Hovered(h, walk), cycle.back());
    if (!walk.board) {  // off the board the arrows move the focus too
        Key(h, KeyPress::Down);
        EXPECT_EQ(Hovered(h, walk), cycle.front());
    }
    // A move of the mouse hands the look back to it (the pointer drawn beside the pixel looked at).
    h.platform.cursor = {walk.order.back().click.x + 3, walk.order.back().click.y + 3};
    h.Frames(2);
    EXPECT_EQ(Hovered(h, walk), std::vector<std::string>{walk.order.back().name});
    EXPECT_TRUE(h.audio.Played().empty());
}

INSTANTIATE_TEST_SUITE_P(Screens, Focus, ::testing::ValuesIn(kWalks),
                         [](const auto& info) { return std::string(info.param.name); });

struct Step {
    const Walk* walk;
    size_t index;
};

void PrintTo(const Step& step, std::ostream* out) { *out << step.walk->name << " " << step.walk->order[step.index].name; }

class Enter : public ::testing::TestWithParam<Step> {};

TEST_P(Enter, OnTheFocusedControlDoesWhatAClickOnItDoes) {
    const Walk& walk = *GetParam().walk;
    const size_t i = GetParam().index;
    // One game at a time: each points the files at its own folder.
    const auto press = [&](const auto& act) {
        GameHarness g(false);
        Start(g, walk);
        return Pressed(g, [&] { act(g); });
    };
    const std::string byKeys = press([&](GameHarness& g) {
        for (size_t tab = 0; tab <= i; ++tab) Key(g, KeyPress::FocusNext);
        Key(g, KeyPress::Activate);
    });
    const std::string byMouse = press([&](GameHarness& g) {
        g.platform.Click(walk.order[i].click);
        g.Frame();
    });
    EXPECT_EQ(byKeys, byMouse);
    EXPECT_NE(byKeys.find("Button.aud"), std::string::npos);  // with the click sound
}

std::vector<Step> AllSteps() {
    std::vector<Step> steps;
    for (const Walk& walk : kWalks) {
        for (size_t i = 0; i < walk.order.size(); ++i) steps.push_back({&walk, i});
    }
    return steps;
}

INSTANTIATE_TEST_SUITE_P(Controls, Enter, ::testing::ValuesIn(AllSteps()), [](const auto& info) {
    return std::string(info.param.walk->name) + "_" + info.param.walk->order[info.param.index].name;
});

TEST(FocusOnTheRow, AnArrowThatGoesAwayHandsTheFocusOn) {
    GameHarness h(false);
    const Walk& options = kWalks[4];
    Start(h, options);
    for (int tab = 0; tab < 7; ++tab) Key(h, KeyPress::FocusNext);
    ASSERT_EQ(Hovered(h, options), std::vector<std::string>{"RowLeft"});
    Key(h, KeyPress::Activate);  // the row at its start: no left arrow any more
    h.Frame();
    EXPECT_EQ(h.game.pictureRowFirst, 0);
    // (The frame is Tiger's, back in the row.)
    EXPECT_EQ(Hovered(h, options), (std::vector<std::string>{"Picture0", "RowRight"}));
}

class OnTheBoard : public ::testing::Test {
protected:
    void SetUp() override {
        h.Deal();
        h.SetBoard({1, 0, 2, 3});  // the blank top right
        h.Frame();
    }
    void Pad(PadButton button) {
        h.platform.PressPad(button);
        h.Frame();
    }
    int Blank() const { return h.game.blankRow * 2 + h.game.blankCol; }
    GameHarness h;
};

TEST_F(OnTheBoard, TheArrowsMoveTilesWhereverTheFocusIsAndEnterOnTheBoardIsAHint) {
    Key(h, KeyPress::FocusNext);
    Key(h, KeyPress::Up);  // the tile below the blank goes up
    EXPECT_EQ(Blank(), 3);
    for (int tab = 0; tab < 6; ++tab) Key(h, KeyPress::FocusNext);  // past Exit: the board
    const int32_t away = ShortestLength(h.game.BoardNow().value());
    Key(h, KeyPress::Activate);
    // No button is pressed: a tile slides, once the solver has the move.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (h.game.hintPending && std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        h.Frame();
    }
    EXPECT_EQ(h.game.screen, ScreenPlaying);
    EXPECT_EQ(h.audio.Played(), (std::vector<std::string>{"Tile.aud", "Tile.aud"}));
    EXPECT_EQ(ShortestLength(h.game.BoardNow().value()), away - 1);
}

TEST_F(OnTheBoard, AControllersButtons) {
    Pad(PadButton::Up);  // the d-pad slides a tile, B takes it back
    EXPECT_EQ(Blank(), 3);
    Pad(PadButton::B);
    EXPECT_EQ(Blank(), 1);
    Pad(PadButton::X);  // X is the tile view and back
    EXPECT_EQ(h.game.screen, ScreenTileView);
    Pad(PadButton::X);
    EXPECT_EQ(h.game.screen, ScreenPlaying);
    Pad(PadButton::Y);  // Y deals
    EXPECT_EQ(h.game.screen, ScreenShuffle);
    h.Frame();
    h.audio.plays.clear();
    // Start opens the options page and Back the help page; on a page Start,
    // Back and B go back. Each with the click sound.
    for (auto [open, page, close] : {std::tuple{PadButton::Start, ScreenOptions, PadButton::Start},
                                     std::tuple{PadButton::Back, ScreenHelp, PadButton::B},
                                     std::tuple{PadButton::Start, ScreenOptions, PadButton::Back}}) {
        Pad(open);
        EXPECT_EQ(h.game.screen, page);
        Pad(close);
        EXPECT_EQ(h.game.screen, ScreenPlaying);
    }
    EXPECT_EQ(h.audio.Played(), std::vector<std::string>(6, "Button.aud"));
    h.game.screen = ScreenPreview;  // off the board the d-pad moves the focus, A presses it
    Pad(PadButton::Down);
    Pad(PadButton::A);
    EXPECT_EQ(h.game.screen, ScreenShuffle);
}

}  // namespace
