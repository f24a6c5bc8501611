// The run on the fakes: start-up order, one message a frame, the pace, the
// endings; and the SDL machine's messages on SDL's dummy video.
#include <gtest/gtest.h>

#include <SDL.h>

#include <csignal>
#include <cstdlib>

#include "app/FrameLoop.h"
#include "app/Game.h"
#include "fakes/FakeAudio.h"
#include "fakes/FakePlatform.h"
#include "fakes/TestFolder.h"
#include "platform/SdlPlatform.h"

namespace {

// Middle of the sidebar's Shuffle button.
constexpr Point kShuffle{692, 123};

struct FrameRecord {
    uint32_t start;
    uint32_t ms;
    Screen screen;
};

// The fake machine, also noting every frame's wait and what the game showed.
class LoopPlatform : public FakePlatform {
public:
    std::vector<FrameRecord> frames;
    uint32_t frameCost = 0;  // ms a frame's work takes
    int frameLimit = 200;    // a loop that does not end fails the test
    bool instanceAtWindow = false;

    bool CreateMainWindow() override {
        instanceAtWindow = gameInstance != nullptr;
        return FakePlatform::CreateMainWindow();
    }
    void WaitUntil(uint32_t start, uint32_t ms) override {
        frames.push_back({start, ms, gameInstance ? gameInstance->screen : ScreenPreview});
        if (static_cast<int>(frames.size()) >= frameLimit) throw std::runtime_error("the loop did not end");
        now += frameCost;
        FakePlatform::WaitUntil(start, ms);
    }
};

class Run : public ::testing::Test {
protected:
    int RunGame() { return VeskMain(platform, audio); }
    ProcessExit RunToExit() {
        try {
            VeskMain(platform, audio);
        } catch (const ProcessExit& e) {
            return e;
        }
        ADD_FAILURE() << "the run ended without leaving the process";
        return {};
    }
    bool Called(const std::string& call) const {
        return std::find(platform.calls.begin(), platform.calls.end(), call) != platform.calls.end();
    }

    TestFolder folder;
    LoopPlatform platform;
    FakeAudio audio;
};

TEST_F(Run, StartsUpInOrderAndEndsOnQuitAfterThatFrame) {
    platform.messages = {Message::Destroy};
    EXPECT_EQ(RunGame(), 0);
    const std::vector<std::string> startUp(platform.calls.begin(), platform.calls.begin() + 5);
    EXPECT_EQ(startUp, (std::vector<std::string>{"HideSystemCursor", "CreateMainWindow", "OpenDisplay",
                                                 "OpenKeyboard", "ShowMainWindow"}));
    EXPECT_TRUE(platform.instanceAtWindow);
    // Frame 1 takes Destroy and posts Quit; frame 2 takes Quit and still runs.
    EXPECT_EQ(platform.frames.size(), 2u);
    EXPECT_EQ(platform.presentCount, 2);
    // Then the teardown: display, sound, keyboard.
    const std::vector<std::string> tail(platform.calls.end() - 2, platform.calls.end());
    EXPECT_EQ(tail, (std::vector<std::string>{"CloseDisplay", "CloseKeyboard"}));
    EXPECT_EQ(audio.calls.back(), "Close");
    EXPECT_EQ(gameInstance, nullptr);
}

TEST_F(Run, TakesOneMessageAFrameSoAPressWaitsBehindOthers) {
    platform.cursor = kShuffle;
    platform.messages = {Message::Other, Message::Other, Message::LButtonDown, Message::Destroy};
    EXPECT_EQ(RunGame(), 0);
    std::vector<Screen> screens;
    for (const FrameRecord& f : platform.frames) screens.push_back(f.screen);
    // The press is dispatched before frame 3, and frame 3 takes it.
    EXPECT_EQ(screens, (std::vector<Screen>{ScreenPreview, ScreenPreview, ScreenShuffle, ScreenPlaying,
                                            ScreenPlaying}));
}

TEST_F(Run, AnIdleQueueKeepsTheLoopGoing) {
    platform.frameLimit = 10;
    EXPECT_THROW(RunGame(), std::runtime_error);
    EXPECT_EQ(platform.frames.size(), 10u);
}

TEST_F(Run, EveryFrameWaitsOutItsOwn33Milliseconds) {
    platform.now = 0xFFFFFF80u;  // the tick counter wraps during the run
    platform.frameCost = 5;
    platform.frameLimit = 12;
    EXPECT_THROW(RunGame(), std::runtime_error);
    ASSERT_EQ(platform.frames.size(), 12u);
    for (size_t i = 0; i < platform.frames.size(); ++i) {
        EXPECT_EQ(platform.frames[i].ms, 33u);
        if (i > 0) {
            EXPECT_EQ(platform.frames[i].start - platform.frames[i - 1].start, 33u) << i;
        }
    }
    EXPECT_LT(platform.frames.back().start, platform.frames.front().start);  // it did wrap
}

TEST_F(Run, ALongFrameIsFollowedByTheNextAtOnce) {
    platform.frameCost = 50;
    platform.frameLimit = 4;
    EXPECT_THROW(RunGame(), std::runtime_error);
    for (size_t i = 1; i < platform.frames.size(); ++i) {
        EXPECT_EQ(platform.frames[i].start - platform.frames[i - 1].start, 50u);
    }
}

TEST_F(Run, LosingTheFocusEndsAtOnceWith1ReleasingNothing) {
    platform.messages = {Message::Other, Message::KillFocus};
    const ProcessExit exit = RunToExit();
    EXPECT_EQ(exit.status, 1);
    EXPECT_TRUE(exit.ranExitHandlers);
    EXPECT_EQ(platform.frames.size(), 1u);
    EXPECT_FALSE(Called("CloseDisplay"));
    EXPECT_FALSE(Called("CloseKeyboard"));
    EXPECT_EQ(std::count(audio.calls.begin(), audio.calls.end(), "Close"), 0);
    EXPECT_EQ(gameInstance, nullptr);
}

TEST_F(Run, EscapeEndsWith1AfterTheTeardown) {
    platform.Hold(kKeyEscape);
    const ProcessExit exit = RunToExit();
    EXPECT_EQ(exit.status, 1);
    EXPECT_TRUE(exit.ranExitHandlers);
    EXPECT_TRUE(Called("CloseDisplay"));
    EXPECT_TRUE(Called("CloseKeyboard"));
    EXPECT_EQ(platform.frames.size(), 0u);  // the first frame's poll ends it before its wait
    EXPECT_EQ(platform.presentCount, 1);
}

TEST(WindowProc, APressSetsClicked) {
    TestFolder folder;
    FakePlatform platform;
    FakeAudio audio;
    Game game(platform, audio);
    gameInstance = &game;
    WindowProc(platform, Message::LButtonDown);
    EXPECT_TRUE(game.clicked);
    game.clicked = false;
    WindowProc(platform, Message::Other);
    WindowProc(platform, Message::Quit);
    EXPECT_FALSE(game.clicked);
    EXPECT_TRUE(platform.messages.empty());
    WindowProc(platform, Message::Destroy);
    EXPECT_EQ(platform.messages, (std::deque<Message>{Message::Quit}));
    gameInstance = nullptr;
}

TEST(Pacing, TimeLeftIsUnsignedAcrossTheWrap) {
    EXPECT_EQ(FrameTimeLeft(1000, 1000, 33), 33u);
    EXPECT_EQ(FrameTimeLeft(1020, 1000, 33), 13u);
    EXPECT_EQ(FrameTimeLeft(1033, 1000, 33), 0u);
    EXPECT_EQ(FrameTimeLeft(5000, 1000, 33), 0u);
    // Begun 16 ms before the counter wraps.
    EXPECT_EQ(FrameTimeLeft(0xFFFFFFF5u, 0xFFFFFFF0u, 33), 28u);
    EXPECT_EQ(FrameTimeLeft(0x00000004u, 0xFFFFFFF0u, 33), 13u);
    EXPECT_EQ(FrameTimeLeft(0x00000011u, 0xFFFFFFF0u, 33), 0u);
    EXPECT_EQ(FrameTimeLeft(0x00000100u, 0xFFFFFFF0u, 33), 0u);
}

TEST(Pacing, WaitSleepsToTheDeadlineAcrossTheWrap) {
    for (uint32_t begin : {0u, 1000u, 0xFFFFFFF0u, 0xFFFFFFFFu, 0xFFFFFFE0u}) {
        uint32_t clock = begin + 3;  // the frame's work took 3 ms
        int reads = 0;
        std::vector<uint32_t> sleeps;
        WaitForTicks(
            begin, 33,
            [&] {
                ++reads;
                return clock;
            },
            [&](uint32_t ms) {
                sleeps.push_back(ms);
                clock += ms;
            });
        EXPECT_EQ(clock - begin, 33u) << begin;
        EXPECT_EQ(sleeps, (std::vector<uint32_t>{30})) << begin;
        EXPECT_LE(reads, 2) << begin;
    }
}

TEST(Pacing, ASleepThatWakesEarlyIsTakenUpAgain) {
    uint32_t clock = 0xFFFFFFFAu;
    std::vector<uint32_t> sleeps;
    WaitForTicks(
        clock, 33, [&] { return clock; },
        [&](uint32_t ms) {
            sleeps.push_back(ms);
            clock += ms > 10 ? ms - 10 : ms;  // wakes 10 ms early
        });
    EXPECT_EQ(clock - 0xFFFFFFFAu, 33u);
    EXPECT_EQ(sleeps, (std::vector<uint32_t>{33, 10}));
}

TEST(Pacing, AFrameThatTookLongerDoesNotWait) {
    int sleeps = 0;
    WaitForTicks(
        0xFFFFFFF0u, 33, [] { return 0x00000040u; }, [&](uint32_t) { ++sleeps; });
    EXPECT_EQ(sleeps, 0);
}

// The SDL machine itself, on SDL's dummy video (no display needed).
class SdlMachine : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_RENDER_DRIVER", "software", 1);
        setenv("VESK_NO_MESSAGE_BOX", "1", 1);
        platform = std::make_unique<SdlPlatform>();
        ASSERT_EQ(platform->OpenDisplay(), DisplayStep::None) << SDL_GetError();
    }
    void TearDown() override { platform.reset(); }

    static void Push(const SDL_Event& event) { SDL_PushEvent(const_cast<SDL_Event*>(&event)); }
    static SDL_Event Button(uint8_t button) {
        SDL_Event e{};
        e.type = SDL_MOUSEBUTTONDOWN;
        e.button.button = button;
        e.button.state = SDL_PRESSED;
        return e;
    }
    static SDL_Event Window(uint8_t what) {
        SDL_Event e{};
        e.type = SDL_WINDOWEVENT;
        e.window.event = what;
        return e;
    }
    std::vector<Message> Drain() {
        std::vector<Message> got;
        Message m;
        while (got.size() < 20 && platform->PeekMessage(m)) got.push_back(m);
        return got;
    }

    std::unique_ptr<SdlPlatform> platform;
};

TEST_F(SdlMachine, MouseMotionNeverReachesTheQueue) {
    Drain();  // whatever the window's creation left
    for (int i = 0; i < 50; ++i) SDL_WarpMouseInWindow(platform->Window(), i, i);
    SDL_PumpEvents();
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_MOUSEMOTION, SDL_MOUSEMOTION), 0);
}

TEST_F(SdlMachine, OnlyTheGamesMessagesComeOutOneAtATime) {
    Drain();  // whatever the window's creation left
    // Pushed by hand these get into the queue; they still are no messages.
    for (int i = 0; i < 50; ++i) {
        SDL_Event motion{};
        motion.type = SDL_MOUSEMOTION;
        Push(motion);
        SDL_Event key{};
        key.type = SDL_KEYDOWN;
        key.key.keysym.scancode = SDL_SCANCODE_T;
        Push(key);
    }
    Push(Button(SDL_BUTTON_RIGHT));
    Push(Window(SDL_WINDOWEVENT_EXPOSED));
    Push(Window(SDL_WINDOWEVENT_FOCUS_GAINED));
    Push(Button(SDL_BUTTON_LEFT));
    Push(Window(SDL_WINDOWEVENT_FOCUS_LOST));
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    Push(quit);
    Push(Window(SDL_WINDOWEVENT_CLOSE));

    Message m;
    ASSERT_TRUE(platform->PeekMessage(m));
    EXPECT_EQ(m, Message::LButtonDown);
    ASSERT_TRUE(platform->PeekMessage(m));
    EXPECT_EQ(m, Message::KillFocus);
    ASSERT_TRUE(platform->PeekMessage(m));
    EXPECT_EQ(m, Message::Destroy);
    ASSERT_TRUE(platform->PeekMessage(m));
    EXPECT_EQ(m, Message::Destroy);
    EXPECT_FALSE(platform->PeekMessage(m));
}

TEST_F(SdlMachine, AFocusLossBeforeTheWindowHadTheFocusIsNoMessage) {
    // A machine whose window has not been told it has the focus.
    platform.reset();
    platform = std::make_unique<SdlPlatform>();
    ASSERT_EQ(platform->OpenDisplay(), DisplayStep::None) << SDL_GetError();
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    Push(Window(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_TRUE(Drain().empty());
    Push(Window(SDL_WINDOWEVENT_FOCUS_GAINED));
    Push(Window(SDL_WINDOWEVENT_FOCUS_LOST));
    EXPECT_EQ(Drain(), (std::vector<Message>{Message::KillFocus}));
}

TEST_F(SdlMachine, InAWindowSwitchingAwayGoesOnPlaying) {
    platform.reset();
    platform = std::make_unique<SdlPlatform>();
    platform->PlayInWindow(true);
    ASSERT_EQ(platform->OpenDisplay(), DisplayStep::None) << SDL_GetError();
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(platform->Window(), &w, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    const Uint32 flags = SDL_GetWindowFlags(platform->Window());
    EXPECT_TRUE(flags & SDL_WINDOW_RESIZABLE);
    EXPECT_FALSE(flags & SDL_WINDOW_FULLSCREEN);
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    Push(Window(SDL_WINDOWEVENT_FOCUS_GAINED));
    Push(Window(SDL_WINDOWEVENT_FOCUS_LOST));
    Push(Button(SDL_BUTTON_LEFT));
    EXPECT_EQ(Drain(), (std::vector<Message>{Message::LButtonDown}));
}

TEST_F(SdlMachine, AHangUpComesAsTheWindowClosed) {
    struct sigaction now {};
    sigaction(SIGHUP, nullptr, &now);
    if (now.sa_handler == SIG_IGN) GTEST_SKIP() << "hang-ups are ignored here (nohup)";
    Drain();
    std::raise(SIGHUP);
    EXPECT_EQ(Drain(), (std::vector<Message>{Message::Destroy}));
}

TEST_F(SdlMachine, QuitIsPostedBehindWhatIsQueued) {
    Drain();
    Push(Button(SDL_BUTTON_LEFT));
    platform->PostQuit();
    EXPECT_EQ(Drain(), (std::vector<Message>{Message::LButtonDown, Message::Quit}));
}

TEST_F(SdlMachine, KeyboardSnapshotHasTheGamesCodes) {
    ASSERT_EQ(platform->OpenKeyboard(), kOk);
    uint8_t keys[256] = {};
    ASSERT_EQ(platform->ReadKeyboard(keys), kOk);
    for (int code : {kKeyEscape, kKeyT, kKeyS, kKeyF9}) EXPECT_EQ(keys[code], 0) << code;
    platform->CloseKeyboard();
    EXPECT_LT(platform->ReadKeyboard(keys), 0);
    EXPECT_LT(platform->AcquireKeyboard(), 0);
}

TEST_F(SdlMachine, KeyPressesAreCountedOnceAndNeverQueued) {
    Drain();
    const auto down = [](SDL_Scancode scancode, SDL_Keycode keycode, uint16_t mod = KMOD_NONE, uint8_t repeat = 0) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.state = SDL_PRESSED;
        e.key.repeat = repeat;
        e.key.keysym.scancode = scancode;
        e.key.keysym.sym = keycode;
        e.key.keysym.mod = mod;
        Push(e);
    };
    // Held: the desktop repeats the key, and only the first counts.
    down(SDL_SCANCODE_LEFT, SDLK_LEFT);
    for (int i = 0; i < 5; ++i) down(SDL_SCANCODE_LEFT, SDLK_LEFT, KMOD_NONE, 1);
    // The keypad by its place, whatever Num Lock makes of it.
    down(SDL_SCANCODE_KP_8, SDLK_KP_8, KMOD_NUM);
    down(SDL_SCANCODE_KP_2, SDLK_DOWN);
    // Undo and redo by the label: U, Backspace, Ctrl+Z where the layout has
    // Z (a German keyboard's Z sits where others have Y), then Ctrl+Y and
    // Ctrl+Shift+Z; Z alone is nothing. N shows the numbers, Ctrl+N does not.
    down(SDL_SCANCODE_U, SDLK_u);
    down(SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE);
    down(SDL_SCANCODE_Y, SDLK_z, KMOD_LCTRL);
    down(SDL_SCANCODE_Z, SDLK_y, KMOD_RCTRL);
    down(SDL_SCANCODE_Y, SDLK_z, KMOD_LCTRL | KMOD_RSHIFT);
    down(SDL_SCANCODE_Z, SDLK_z);
    down(SDL_SCANCODE_N, SDLK_n);
    down(SDL_SCANCODE_N, SDLK_n, KMOD_LCTRL);
    down(SDL_SCANCODE_H, SDLK_h);
    down(SDL_SCANCODE_G, SDLK_g);
    down(SDL_SCANCODE_G, SDLK_g, KMOD_LALT);
    down(SDL_SCANCODE_KP_6, SDLK_KP_6);
    // T, S, F9 and Escape by their place, held as long as they are; Tab,
    // Shift+Tab, Enter and Space; a letter the game does not use is nothing.
    down(SDL_SCANCODE_T, SDLK_t);
    down(SDL_SCANCODE_T, SDLK_t, KMOD_NONE, 1);
    down(SDL_SCANCODE_S, SDLK_o);
    down(SDL_SCANCODE_F9, SDLK_F9);
    down(SDL_SCANCODE_ESCAPE, SDLK_ESCAPE);
    down(SDL_SCANCODE_TAB, SDLK_TAB);
    down(SDL_SCANCODE_TAB, SDLK_TAB, KMOD_LSHIFT);
    down(SDL_SCANCODE_RETURN, SDLK_RETURN);
    down(SDL_SCANCODE_SPACE, SDLK_SPACE);
    down(SDL_SCANCODE_A, SDLK_a);
    EXPECT_EQ(platform->TakeKeyPresses(),
              (std::vector<KeyPress>{KeyPress::Left, KeyPress::Up, KeyPress::Down, KeyPress::Undo, KeyPress::Undo,
                                     KeyPress::Undo, KeyPress::Redo, KeyPress::Redo, KeyPress::Numbers,
                                     KeyPress::Hint, KeyPress::Solve, KeyPress::Right, KeyPress::Tile, KeyPress::Shuffle, KeyPress::Capture,
                                     KeyPress::Escape, KeyPress::FocusNext, KeyPress::FocusPrevious,
                                     KeyPress::Activate, KeyPress::Activate}));
    EXPECT_TRUE(platform->TakeKeyPresses().empty());
    EXPECT_EQ(SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYUP), 0);
    Message m;
    EXPECT_FALSE(platform->PeekMessage(m));
}

TEST_F(SdlMachine, AClickIsWhereTheButtonWentDown) {
    Drain();
    int w = 0, h = 0;
    SDL_GetWindowSize(platform->Window(), &w, &h);
    SDL_Event press = Button(SDL_BUTTON_LEFT);
    press.button.x = w / 4;
    press.button.y = h / 2;
    Push(press);
    EXPECT_EQ(Drain(), std::vector<Message>{Message::LButtonDown});
    EXPECT_EQ(platform->PressPos(), FrameFromWindow(w / 4, h / 2, w, h));
}

// One of SDL's virtual controllers plugged in while playing, its buttons and
// its stick, unplugged again.
TEST_F(SdlMachine, AGameControllerPluggedInGivesEachPressOnce) {
    // The dummy video's window never has the focus, which SDL asks of controller events.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    ASSERT_EQ(platform->OpenKeyboard(), kOk);
    platform->Present(Surface(800, 600), kWholeFrame);  // controllers come up after the first frame
    const auto frame = [&] {
        Drain();
        return platform->TakePadPresses();
    };
    frame();
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_DPAD_RIGHT + 1;
    const int device = SDL_JoystickAttachVirtualEx(&desc);
    ASSERT_GE(device, 0) << SDL_GetError();
    const SDL_JoystickID id = SDL_JoystickGetDeviceInstanceID(device);
    frame();
    ASSERT_NE(SDL_GameControllerFromInstanceID(id), nullptr);  // opened by the machine
    SDL_Joystick* pad = SDL_JoystickFromInstanceID(id);
    const auto set = [&](int button, bool down) {
        SDL_JoystickSetVirtualButton(pad, button, down);
        SDL_PumpEvents();
    };
    set(SDL_CONTROLLER_BUTTON_A, true);  // held across frames: once
    EXPECT_EQ(frame(), std::vector<PadButton>{PadButton::A});
    EXPECT_TRUE(frame().empty());
    set(SDL_CONTROLLER_BUTTON_A, false);
    // Down and up between two frames: once; a button the game does not use: nothing.
    for (int button : {SDL_CONTROLLER_BUTTON_START, SDL_CONTROLLER_BUTTON_LEFTSHOULDER, SDL_CONTROLLER_BUTTON_DPAD_LEFT}) {
        set(button, true);
        set(button, false);
    }
    EXPECT_EQ(frame(), (std::vector<PadButton>{PadButton::Start, PadButton::Left}));
    // The stick: once a push, out of its dead zone, the way it leans most;
    // again only after the middle.
    const std::pair<SDL_GameControllerAxis, int> moves[] = {
        {SDL_CONTROLLER_AXIS_LEFTX, 10000}, {SDL_CONTROLLER_AXIS_LEFTY, 30000}, {SDL_CONTROLLER_AXIS_LEFTX, 32000},
        {SDL_CONTROLLER_AXIS_LEFTX, 0},     {SDL_CONTROLLER_AXIS_LEFTY, 9000},  {SDL_CONTROLLER_AXIS_LEFTY, 0},
        {SDL_CONTROLLER_AXIS_LEFTX, -30000}};
    for (auto [axis, value] : moves) {
        SDL_JoystickSetVirtualAxis(pad, axis, static_cast<Sint16>(value));
        SDL_PumpEvents();
    }
    EXPECT_EQ(frame(), (std::vector<PadButton>{PadButton::Down, PadButton::Left}));
    SDL_JoystickDetachVirtual(device);  // unplugged: let go of
    EXPECT_TRUE(frame().empty());
    EXPECT_EQ(SDL_GameControllerFromInstanceID(id), nullptr);
    platform->CloseKeyboard();
    SDL_ResetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS);
}

TEST_F(SdlMachine, PresentsFramesAndReadsTheCursorInsideTheFrame) {
    // Full screen is asked for once the first frame is on show, not before.
    const auto fullScreen = [&] { return (SDL_GetWindowFlags(platform->Window()) & SDL_WINDOW_FULLSCREEN_DESKTOP) != 0; };
    platform->ShowMainWindow();
    Message m;
    platform->PeekMessage(m);
    EXPECT_FALSE(fullScreen());
    Surface frame(800, 600, 0x1234);
    platform->Present(frame, kWholeFrame);
    EXPECT_TRUE(platform->HasPresented());
    platform->PeekMessage(m);
    EXPECT_TRUE(fullScreen());
    const Point p = platform->CursorPos();
    EXPECT_GE(p.x, 0);
    EXPECT_LT(p.x, 800);
    EXPECT_GE(p.y, 0);
    EXPECT_LT(p.y, 600);
}

TEST_F(SdlMachine, AFrameAlreadyOnTheScreenIsNotDrawnAgain) {
    Surface frame(800, 600, 0x1234);
    platform->Present(frame, kWholeFrame);
    platform->Present(frame, kWholeFrame);
    EXPECT_EQ(platform->PresentCount(), 1);
    frame.SetPixel(799, 599, 0x4321);
    platform->Present(frame, kWholeFrame);
    EXPECT_EQ(platform->PresentCount(), 2);
    // Uncovered: the same frame is drawn anew.
    Push(Window(SDL_WINDOWEVENT_EXPOSED));
    platform->Present(frame, kWholeFrame);
    EXPECT_EQ(platform->PresentCount(), 3);
    platform->Present(frame, kWholeFrame);
    EXPECT_EQ(platform->PresentCount(), 3);
    platform->ShowMainWindow();
    platform->Present(frame, kWholeFrame);
    EXPECT_EQ(platform->PresentCount(), 4);
}

TEST_F(SdlMachine, WaitSleepsUntilTheDeadline) {
    const uint32_t start = platform->Ticks();
    platform->WaitUntil(start, 20);
    const uint32_t spent = platform->Ticks() - start;
    EXPECT_GE(spent, 20u);
    EXPECT_LT(spent, 200u);
}

TEST_F(SdlMachine, AMessageGoesToStderrWithoutABoxInTests) {
    testing::internal::CaptureStderr();
    platform->ShowMessage("Can't Load Tex\\Menu\\Exit.Tex! Game is Exiting!!", "DirectDraw");
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "DirectDraw: Can't Load Tex\\Menu\\Exit.Tex! Game is Exiting!!\n");
}

TEST_F(SdlMachine, ClosingTwiceIsHarmless) {
    platform->CloseDisplay();
    platform->CloseDisplay();
    Message m;
    EXPECT_FALSE(platform->PeekMessage(m));
    Surface frame(800, 600);
    platform->Present(frame, kWholeFrame);  // nothing to show on: ignored
    EXPECT_FALSE(platform->HasPresented());
}

}  // namespace
