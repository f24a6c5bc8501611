// The whole game without a mouse: the focus order of every screen, drawn as
// the hover frame and wrapping; Enter doing what a click does; the mouse
// taking the look back; a game controller's buttons; the stick.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/GameHarness.h"
#include "platform/StickPush.h"

namespace {

using testart::To565;

// A control as the player finds it: where a click presses it, and a pixel
// that has this colour while it looks hovered (and a second one, if any).
struct Spot {
    const char* name;
    Point click;
    Point look;
    Rgb hovered;
    Point alsoLook{-1, -1};
    Rgb alsoHovered{};
};

Spot Menu(const char* name, Point click, int menu) { return {name, click, click, testart::MenuHovered(menu)}; }
// A thumbnail slot looks hovered by the frame around it (which otherwise
// marks the picture chosen) and the Picture caption's hovered frame.
constexpr int kPictureMenu = 9;
Spot Slot(const char* name, int x) {
    return {name, {x + 30, 360}, {x - 2, 338}, testart::kBorder, {400, 370}, testart::MenuHovered(kPictureMenu)};
}

const Spot kShuffle = Menu("Shuffle", {692, 123}, 0), kTile = Menu("Tile", {685, 198}, 1),
           kHighScores = Menu("HighScores", {700, 270}, 2), kOptions = Menu("Options", {692, 356}, 3),
           kHelp = Menu("Help", {684, 428}, 10), kExit = Menu("Exit", {690, 508}, 13),
           kShuffleAgain = Menu("ShuffleAgain", {212, 521}, 11), kNextLevel = Menu("NextLevel", {416, 520}, 12),
           kMusic = Menu("Music", {400, 165}, 5), kSound = Menu("Sound", {400, 270}, 6),
           kBack = Menu("Back", {400, 480}, 8), kRowLeft = Menu("RowLeft", {757, 370}, 14),
           kRowRight = Menu("RowRight", {785, 370}, 15), kSlot0 = Slot("Picture0", 490),
           kSlot1 = Slot("Picture1", 580), kSlot2 = Slot("Picture2", 670);

// A screen and its controls in the order Tab reaches them.
struct Walk {
    const char* name;
    Screen screen;
    int ownPictures;  // more than none: the row of thumbnails pages, and starts at its second picture
    bool board;       // past the last control Tab goes back to the board, where nothing looks focused
    std::vector<Spot> order;
};

const std::vector<Spot> kSidebar{kShuffle, kTile, kHighScores, kOptions, kHelp, kExit};

std::vector<Spot> Join(std::vector<Spot> a, const std::vector<Spot>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

const Walk kWalks[] = {
    {"Preview", ScreenPreview, 0, false, kSidebar},
    {"TileView", ScreenTileView, 0, false, kSidebar},
    {"Playing", ScreenPlaying, 0, true, kSidebar},
    {"Solved", ScreenSolved, 0, false, Join({kShuffleAgain, kNextLevel}, kSidebar)},
    {"Options", ScreenOptions, 0, false, {kMusic, kSound, kSlot0, kSlot1, kSlot2, kBack}},
    {"OptionsWithARow", ScreenOptions, 2, false, {kMusic, kSound, kSlot0, kSlot1, kSlot2, kRowLeft, kRowRight, kBack}},
    {"HighScores", ScreenHighScores, 0, false, {kBack}},
    {"Help", ScreenHelp, 0, false, {kBack}},
};

void PrintTo(const Walk& walk, std::ostream* out) { *out << walk.name; }

// The pointer rests where no control is.
constexpr Point kAside{12, 590};

void Start(GameHarness& h, const Walk& walk) {
    for (int k = 0; k < walk.ownPictures; ++k) {
        h.folder.WriteBitmap("Pictures/own" + std::to_string(k) + ".bmp", 100, 100, [](int, int) {
            return Rgb{90, 200, 30};
        });
    }
    h.game.LoadResources();
    if (walk.ownPictures > 0) h.game.pictureRowFirst = 1;
    h.platform.cursor = kAside;
    h.Deal();
    h.game.screen = walk.screen;
    h.Frame();
}

void Key(GameHarness& h, KeyPress key) {
    h.platform.Press(key);
    h.Frame();
}

// The spots of a walk that look hovered in the frame shown.
std::vector<std::string> Hovered(const GameHarness& h, const Walk& walk) {
    std::vector<std::string> names;
    for (const Spot& spot : walk.order) {
        const bool also = spot.alsoLook.x < 0 || h.Shown(spot.alsoLook.x, spot.alsoLook.y) == To565(spot.alsoHovered);
        if (h.Shown(spot.look.x, spot.look.y) == To565(spot.hovered) && also) names.push_back(spot.name);
    }
    return names;
}

class FocusWalk : public ::testing::TestWithParam<Walk> {};

TEST_P(FocusWalk, TabGoesThroughTheControlsInOrderAndWrapsAndShiftTabGoesBack) {
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
    // Off the board the arrows move the focus too.
    if (!walk.board) {
        Key(h, KeyPress::Down);
        EXPECT_EQ(Hovered(h, walk), cycle.front());
        Key(h, KeyPress::Up);
        EXPECT_EQ(Hovered(h, walk), cycle.back());
    }
    // A move of the mouse hands the look back to it: over a control, that one
    // (the pointer drawn beside the pixel looked at).
    h.platform.cursor = {walk.order.front().click.x + 3, walk.order.front().click.y + 3};
    h.Frames(2);
    EXPECT_EQ(Hovered(h, walk), cycle.front());
    EXPECT_TRUE(h.audio.Played().empty());
}

INSTANTIATE_TEST_SUITE_P(Screens, FocusWalk, ::testing::ValuesIn(kWalks),
                         [](const auto& info) { return std::string(info.param.name); });

// What a press of a control leaves behind.
struct Outcome {
    Screen screen;
    Screen returnScreen;
    bool gameInProgress, musicOn, soundOn;
    int32_t pictureIndex, pictureRowFirst, gridSize;
    std::vector<std::string> sounds;
    int exitStatus;
    bool operator==(const Outcome&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Outcome& o) {
    out << "screen " << o.screen << " return " << o.returnScreen << " game " << o.gameInProgress << " music "
        << o.musicOn << " sound " << o.soundOn << " picture " << o.pictureIndex << " row " << o.pictureRowFirst
        << " grid " << o.gridSize << " exit " << o.exitStatus << " sounds";
    for (const std::string& s : o.sounds) out << " " << s;
    return out;
}

// The press made by `act`, then a frame to see what it did.
template <typename Act>
Outcome Press(GameHarness& h, Act act) {
    int exitStatus = -2;
    h.audio.plays.clear();
    try {
        act();
        h.Frame();
    } catch (const ProcessExit& e) {
        exitStatus = e.status;
    }
    const Game& g = h.game;
    return {g.screen, g.returnScreen, g.gameInProgress, g.musicOn, g.soundOn, g.pictureIndex,
            g.pictureRowFirst, g.gridSize, h.audio.Played(), exitStatus};
}

struct Step {
    const Walk* walk;
    size_t index;
};

void PrintTo(const Step& step, std::ostream* out) { *out << step.walk->name << " " << step.walk->order[step.index].name; }

class EnterOnAControl : public ::testing::TestWithParam<Step> {};

TEST_P(EnterOnAControl, DoesWhatAClickOnItDoes) {
    const Walk& walk = *GetParam().walk;
    const Spot& spot = walk.order[GetParam().index];
    GameHarness byKeys(false);
    Start(byKeys, walk);
    const Outcome keys = Press(byKeys, [&] {
        for (size_t tab = 0; tab <= GetParam().index; ++tab) Key(byKeys, KeyPress::FocusNext);
        Key(byKeys, KeyPress::Activate);
    });
    GameHarness byMouse(false);
    Start(byMouse, walk);
    const Outcome mouse = Press(byMouse, [&] {
        byMouse.platform.Click(spot.click);
        byMouse.Frame();
    });
    EXPECT_EQ(keys, mouse);
    EXPECT_EQ(keys.sounds.size(), 1u) << keys;  // the click sound, once
}

std::vector<Step> AllSteps() {
    std::vector<Step> steps;
    for (const Walk& walk : kWalks) {
        for (size_t i = 0; i < walk.order.size(); ++i) steps.push_back({&walk, i});
    }
    return steps;
}

INSTANTIATE_TEST_SUITE_P(Controls, EnterOnAControl, ::testing::ValuesIn(AllSteps()), [](const auto& info) {
    return std::string(info.param.walk->name) + "_" + info.param.walk->order[info.param.index].name;
});

class Keyboard : public ::testing::Test {
protected:
    void SetUp() override {
        h.platform.cursor = kAside;
        h.Deal();
        h.SetBoard({1, 0, 2, 3});  // one slide left from home
        h.Frame();
    }
    int Blank() const { return h.game.blankRow * 2 + h.game.blankCol; }
    GameHarness h;
};

TEST_F(Keyboard, OnTheBoardTheArrowsMoveTilesWhereverTheFocusIs) {
    Key(h, KeyPress::FocusNext);
    Key(h, KeyPress::FocusNext);  // on Tile
    Key(h, KeyPress::Down);
    EXPECT_EQ(Blank(), 0 * 2 + 1);  // nothing above the blank to come down
    Key(h, KeyPress::Up);
    EXPECT_EQ(Blank(), 1 * 2 + 1);
    EXPECT_EQ(h.Shown(kTile.look.x, kTile.look.y), To565(kTile.hovered));
    // Enter on the board itself (Tab past Exit) presses nothing.
    for (int tab = 0; tab < 5; ++tab) Key(h, KeyPress::FocusNext);
    h.audio.plays.clear();
    Key(h, KeyPress::Activate);
    EXPECT_EQ(h.game.screen, ScreenPlaying);
    EXPECT_TRUE(h.audio.Played().empty());
}

TEST_F(Keyboard, AControlThatGoesAwayHandsTheFocusOn) {
    GameHarness g(false);
    const Walk& row = kWalks[5];
    Start(g, row);
    for (int tab = 0; tab < 6; ++tab) Key(g, KeyPress::FocusNext);
    ASSERT_EQ(Hovered(g, row), std::vector<std::string>{"RowLeft"});
    Key(g, KeyPress::Activate);  // the row at its start: no left arrow any more
    EXPECT_EQ(g.game.pictureRowFirst, 0);
    g.Frame();
    EXPECT_EQ(Hovered(g, row), std::vector<std::string>{"RowRight"});
}

// ---- a game controller ---------------------------------------------------------

TEST_F(Keyboard, AControllersButtons) {
    const auto pad = [&](PadButton button) {
        h.platform.PressPad(button);
        h.Frame();
    };
    // The d-pad slides a tile on the board (nothing above the blank to come
    // down; the tile below it goes up), B takes it back.
    pad(PadButton::Down);
    pad(PadButton::Up);
    EXPECT_EQ(Blank(), 3);
    pad(PadButton::B);
    EXPECT_EQ(Blank(), 1);
    // X is the tile view and back, Y a new deal.
    pad(PadButton::X);
    EXPECT_EQ(h.game.screen, ScreenTileView);
    pad(PadButton::X);
    EXPECT_EQ(h.game.screen, ScreenPlaying);
    const uint32_t dealt = h.game.startTick;
    pad(PadButton::Y);
    h.Frame();
    EXPECT_NE(h.game.startTick, dealt);
    h.audio.plays.clear();
    // Start opens the options page, and closes it again; Back opens the help
    // page, and B closes it: each press with the click sound.
    for (auto [open, page, close] : {std::tuple{PadButton::Start, ScreenOptions, PadButton::Start},
                                     std::tuple{PadButton::Back, ScreenHelp, PadButton::B},
                                     std::tuple{PadButton::Start, ScreenOptions, PadButton::Back}}) {
        pad(open);
        EXPECT_EQ(h.game.screen, page);
        EXPECT_EQ(h.game.returnScreen, ScreenPlaying);
        pad(close);
        EXPECT_EQ(h.game.screen, ScreenPlaying);
    }
    EXPECT_EQ(h.audio.Played(), std::vector<std::string>(6, "Button.aud"));
    // Off the board the d-pad moves the focus and A presses it.
    h.game.screen = ScreenPreview;
    h.Frame();
    pad(PadButton::Down);
    pad(PadButton::A);
    EXPECT_EQ(h.game.screen, ScreenShuffle);
}

TEST(Stick, APushCountsOnceTheWayItLeansMostAndOnlyAgainAfterTheMiddle) {
    StickPush stick;
    EXPECT_FALSE(stick.Move(true, StickPush::kPushedAt - 1));  // inside the dead zone
    EXPECT_EQ(stick.Move(false, StickPush::kPushedAt + 2000), PadButton::Down);  // leans down more than right
    for (int x : {32767, -32768, 0, 20000}) EXPECT_FALSE(stick.Move(true, x));   // the same push
    EXPECT_FALSE(stick.Move(false, StickPush::kBackAt - 1));
    EXPECT_FALSE(stick.Move(true, StickPush::kBackAt - 1));  // back near the middle
    EXPECT_EQ(stick.Move(true, -32768), PadButton::Left);
    EXPECT_FALSE(stick.Move(true, 0));
    EXPECT_EQ(stick.Move(false, -20000), PadButton::Up);
}

}  // namespace
