#include "platform/SdlPlatform.h"

#include <SDL.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <utility>

#include "app/FrameLoop.h"
#include "gfx/BitmapCheck.h"
#include "gfx/Surface.h"
#include "platform/Paths.h"
#include "platform/PresentPath.h"
#include "platform/SmallestWindow.h"

Letterbox LetterboxFor(int windowWidth, int windowHeight) {
    Letterbox box;
    if (windowWidth <= 0 || windowHeight <= 0) return box;
    const int64_t w = windowWidth;
    const int64_t h = windowHeight;
    if (w * kScreenHeight >= h * kScreenWidth) {
        // Wider than 4:3: bars left and right.
        box.h = windowHeight;
        box.w = static_cast<int>(h * kScreenWidth / kScreenHeight);
    } else {
        // Taller: bars above and below.
        box.w = windowWidth;
        box.h = static_cast<int>(w * kScreenHeight / kScreenWidth);
    }
    box.x = (windowWidth - box.w) / 2;
    box.y = (windowHeight - box.h) / 2;
    return box;
}

Point FrameFromWindow(int x, int y, int windowWidth, int windowHeight) {
    const Letterbox box = LetterboxFor(windowWidth, windowHeight);
    if (box.w <= 0 || box.h <= 0) return {0, 0};
    const auto map = [](int v, int origin, int size, int frameSize) {
        const int64_t offset = static_cast<int64_t>(v) - origin;
        if (offset <= 0) return 0;
        const int64_t f = offset * frameSize / size;
        return static_cast<int>(f >= frameSize ? frameSize - 1 : f);
    };
    return {map(x, box.x, box.w, kScreenWidth), map(y, box.y, box.h, kScreenHeight)};
}

Point FrameFromScaledWindow(int x, int y, int windowWidth, int windowHeight, int pixelWidth, int pixelHeight) {
    if (windowWidth <= 0 || windowHeight <= 0 || pixelWidth <= 0 || pixelHeight <= 0) return {0, 0};
    if (pixelWidth == windowWidth && pixelHeight == windowHeight) return FrameFromWindow(x, y, windowWidth, windowHeight);
    const Letterbox box = LetterboxFor(pixelWidth, pixelHeight);
    if (box.w <= 0 || box.h <= 0) return {0, 0};
    // The point's middle, (v + 1/2) * pixels / size output pixels, into the
    // box, exactly: in halves of a window unit.
    const auto map = [](int v, int size, int pixels, int origin, int boxSize, int frameSize) {
        const int64_t offset = (2 * static_cast<int64_t>(v) + 1) * pixels - 2 * static_cast<int64_t>(size) * origin;
        if (offset <= 0) return 0;
        const int64_t f = offset * frameSize / (2 * static_cast<int64_t>(size) * boxSize);
        return static_cast<int>(f >= frameSize ? frameSize - 1 : f);
    };
    return {map(x, windowWidth, pixelWidth, box.x, box.w, kScreenWidth),
            map(y, windowHeight, pixelHeight, box.y, box.h, kScreenHeight)};
}

int KeyCodeFor(int sdlScancode) {
    switch (sdlScancode) {
        case SDL_SCANCODE_ESCAPE: return kKeyEscape;
        case SDL_SCANCODE_T: return kKeyT;
        case SDL_SCANCODE_S: return kKeyS;
        case SDL_SCANCODE_F9: return kKeyF9;
        default: return 0;
    }
}

std::optional<KeyPress> KeyPressFor(int sdlScancode, int sdlKeycode, int sdlModifiers) {
    switch (sdlScancode) {
        case SDL_SCANCODE_T: return KeyPress::Tile;
        case SDL_SCANCODE_S: return KeyPress::Shuffle;
        case SDL_SCANCODE_F9: return KeyPress::Capture;
        case SDL_SCANCODE_ESCAPE: return KeyPress::Escape;
        case SDL_SCANCODE_TAB: return (sdlModifiers & KMOD_SHIFT) != 0 ? KeyPress::FocusPrevious : KeyPress::FocusNext;
        case SDL_SCANCODE_RETURN:
        case SDL_SCANCODE_KP_ENTER:
        case SDL_SCANCODE_SPACE: return KeyPress::Activate;
        case SDL_SCANCODE_LEFT:
        case SDL_SCANCODE_KP_4: return KeyPress::Left;
        case SDL_SCANCODE_RIGHT:
        case SDL_SCANCODE_KP_6: return KeyPress::Right;
        case SDL_SCANCODE_UP:
        case SDL_SCANCODE_KP_8: return KeyPress::Up;
        case SDL_SCANCODE_DOWN:
        case SDL_SCANCODE_KP_2: return KeyPress::Down;
        default: break;
    }
    const bool ctrl = (sdlModifiers & KMOD_CTRL) != 0;
    if (ctrl && (sdlKeycode == SDLK_y || (sdlKeycode == SDLK_z && (sdlModifiers & KMOD_SHIFT) != 0))) {
        return KeyPress::Redo;
    }
    if (sdlKeycode == SDLK_BACKSPACE || sdlKeycode == SDLK_u) return KeyPress::Undo;
    if (sdlKeycode == SDLK_z && ctrl) return KeyPress::Undo;
    const bool plain = !ctrl && (sdlModifiers & KMOD_ALT) == 0;
    if (sdlKeycode == SDLK_n && plain) return KeyPress::Numbers;
    if (sdlKeycode == SDLK_h && plain) return KeyPress::Hint;
    if (sdlKeycode == SDLK_g && plain) return KeyPress::Solve;
    return std::nullopt;
}

namespace {

// With no screen to be found (no DISPLAY or WAYLAND_DISPLAY: over SSH, in a
// container) SDL falls back to a video driver that draws nowhere, and the
// game would run unseen with no way to quit it. That counts as no display,
// unless the player chose the driver (SDL_VIDEODRIVER).
bool NoDisplayFound() {
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);
    if (asked && *asked) return false;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver || (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0)) return false;
    std::fprintf(stderr,
                 "Vesk: no display found (only SDL's %s video driver came up); set DISPLAY or WAYLAND_DISPLAY, "
                 "or choose a driver with SDL_VIDEODRIVER\n",
                 driver);
    std::fflush(stderr);
    return true;
}

// The terminal or the session hung up (SIGHUP): a quit, as SDL makes of
// SIGINT and SIGTERM, so that the game ends its own way.
volatile std::sig_atomic_t hungUp = 0;
void NoteHangUp(int) { hungUp = 1; }

}  // namespace

SdlPlatform::SdlPlatform() {
    // The window's surface in plain memory: without this, SDL on X11 backs it
    // with a GL renderer and loads the whole GL stack.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // The game reads keys, never text: X's table of compose sequences, some
    // thousands of lines that SDL's X11 start-up has Xlib parse (a third of
    // the time video takes to come up), is not read unless the player names
    // one of their own.
    setenv("XCOMPOSEFILE", "/dev/null", 0);
    SDL_Init(0);
}

SdlPlatform::~SdlPlatform() {
    CloseDisplay();
    SDL_Quit();
}

void SdlPlatform::HideSystemCursor() {
    hideCursor_ = true;
    if (videoUp_) SDL_ShowCursor(SDL_DISABLE);
}

bool SdlPlatform::CreateMainWindow() { return true; }

void SdlPlatform::ShowMainWindow() {
    if (!window_) return;
    mustPresent_ = true;
    SDL_ShowWindow(window_);
    SDL_RaiseWindow(window_);
    if (hideCursor_) SDL_ShowCursor(SDL_DISABLE);
}

uint32_t SdlPlatform::Ticks() { return SDL_GetTicks(); }

void SdlPlatform::WaitUntil(uint32_t start, uint32_t ms) {
    WaitForTicks(start, ms, [] { return static_cast<uint32_t>(SDL_GetTicks()); },
                 [](uint32_t left) { SDL_Delay(left); });
}

Point SdlPlatform::FrameFromMouse(int x, int y) {
    int w = 0;
    int h = 0;
    if (window_) SDL_GetWindowSize(window_, &w, &h);
    int pw = w;
    int ph = h;
    if (throughRenderer_ && !rendererPresenter_.OutputSize(pw, ph)) {
        pw = w;
        ph = h;
    }
    return FrameFromScaledWindow(x, y, w, h, pw, ph);
}

Point SdlPlatform::CursorPos() {
    if (!window_) return {0, 0};
    int x = 0;
    int y = 0;
    SDL_GetMouseState(&x, &y);
    return FrameFromMouse(x, y);
}

bool SdlPlatform::PointerInWindow() { return !windowed_ || !window_ || SDL_GetMouseFocus() == window_; }

void SdlPlatform::AskForFullScreen() {
    if (!fullScreenDue_ || !presented_ || !window_) return;
    fullScreenDue_ = false;
    // A window manager may move or resize the window for it: the size change
    // and the expose that follow have it drawn whole again.
    SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP);
}

bool SdlPlatform::PeekMessage(Message& out) {
    if (!videoUp_) return false;
    AskForFullScreen();
    if (hungUp) {
        hungUp = 0;
        out = Message::Destroy;
        return true;
    }
    SDL_Event event;
    // Events that are no message of the game's are passed over here.
    while (SDL_PollEvent(&event)) {
        switch (event.type) {
            case SDL_QUIT:  // the last window closed, or SIGINT / SIGTERM
                out = Message::Destroy;
                return true;
            case SDL_WINDOWEVENT:
                if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
                    out = Message::Destroy;
                    return true;
                }
                if (event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) hadFocus_ = true;
                // Switching away ends the game; a window manager's shuffling of
                // the focus before the window ever had it does not.
                if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST && hadFocus_ && !windowed_) {
                    out = Message::KillFocus;
                    return true;
                }
                break;
            case SDL_MOUSEBUTTONDOWN:
                if (event.button.button == SDL_BUTTON_LEFT) {
                    pressPos_ = FrameFromMouse(event.button.x, event.button.y);
                    out = Message::LButtonDown;
                    return true;
                }
                break;
            default:
                if (quitEvent_ != 0 && event.type == quitEvent_) {
                    out = Message::Quit;
                    return true;
                }
                break;
        }
    }
    return false;
}

void SdlPlatform::PostQuit() {
    if (quitEvent_ == 0) return;
    SDL_Event event{};
    event.type = quitEvent_;
    SDL_PushEvent(&event);
}

Point SdlPlatform::PressPos() { return pressPos_; }

int32_t SdlPlatform::OpenKeyboard() {
    // Like the window it belongs to, the keyboard needs video.
    if (!videoUp_) return kErrFail;
    keyboardOpen_ = true;
    // Game controllers come with the keyboard, once the first frame is on
    // show (their start-up takes some milliseconds); without them the game plays on.
    padsDue_ = !padsUp_;
    return kOk;
}

int32_t SdlPlatform::ReadKeyboard(uint8_t keys[256]) {
    if (!keyboardOpen_) return kErrFail;
    SDL_PumpEvents();
    int count = 0;
    const Uint8* state = SDL_GetKeyboardState(&count);
    if (!state) return kErrFail;
    for (int scancode = 0; scancode < count; ++scancode) {
        if (!state[scancode]) continue;
        const int code = KeyCodeFor(scancode);
        if (code != 0) keys[code] = kKeyHeld;
    }
    return kOk;
}

int32_t SdlPlatform::AcquireKeyboard() { return keyboardOpen_ ? kOk : kErrFail; }

void SdlPlatform::CloseKeyboard() {
    keyboardOpen_ = false;
    padsDue_ = false;
    for (SDL_GameController* controller : controllers_) SDL_GameControllerClose(controller);
    controllers_.clear();
    if (padsUp_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    padsUp_ = false;
    const std::lock_guard<std::mutex> lock(pressLock_);
    padPresses_.clear();
    sticks_.clear();
}

std::vector<KeyPress> SdlPlatform::TakeKeyPresses() {
    // Counted by FilterKeys whenever events were pumped: the message poll and
    // the keyboard read do that every frame.
    const std::lock_guard<std::mutex> lock(pressLock_);
    return std::exchange(presses_, {});
}

std::vector<PadButton> SdlPlatform::TakePadPresses() {
    if (padsDue_ && presented_) {
        padsDue_ = false;
        if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0) {
            padsUp_ = true;
            const std::lock_guard<std::mutex> lock(pressLock_);
            padsChanged_ = true;
        }
    }
    if (!padsUp_) return {};
    bool changed = false;
    {
        const std::lock_guard<std::mutex> lock(pressLock_);
        changed = std::exchange(padsChanged_, false);
    }
    // Plugged in or out since the last frame: let go of the controllers gone
    // and open the new ones (here, on the game's thread, not in the filter).
    if (changed) {
        std::erase_if(controllers_, [](SDL_GameController* controller) {
            if (SDL_GameControllerGetAttached(controller)) return false;
            SDL_GameControllerClose(controller);
            return true;
        });
        for (int index = 0; index < SDL_NumJoysticks(); ++index) {
            if (!SDL_IsGameController(index)) continue;
            if (SDL_GameControllerFromInstanceID(SDL_JoystickGetDeviceInstanceID(index))) continue;
            if (SDL_GameController* controller = SDL_GameControllerOpen(index)) controllers_.push_back(controller);
        }
    }
    const std::lock_guard<std::mutex> lock(pressLock_);
    return std::exchange(padPresses_, {});
}

DisplayStep SdlPlatform::OpenDisplay() {
    // Video itself, with only the game's messages let into the queue.
    if (!videoUp_) {
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return DisplayStep::Create;
        if (NoDisplayFound()) {
            SDL_QuitSubSystem(SDL_INIT_VIDEO);
            return DisplayStep::Create;
        }
        videoUp_ = true;
        for (Uint32 type : {SDL_MOUSEMOTION, SDL_MOUSEBUTTONUP, SDL_MOUSEWHEEL, SDL_KEYUP,
                            SDL_TEXTINPUT, SDL_TEXTEDITING, SDL_KEYMAPCHANGED, SDL_FINGERDOWN, SDL_FINGERUP,
                            SDL_FINGERMOTION, SDL_MULTIGESTURE, SDL_DOLLARGESTURE, SDL_DROPFILE, SDL_DROPTEXT,
                            SDL_DROPBEGIN, SDL_DROPCOMPLETE, SDL_CLIPBOARDUPDATE, SDL_SYSWMEVENT}) {
            SDL_EventState(type, SDL_IGNORE);
        }
        SDL_StopTextInput();
        if (quitEvent_ == 0) {
            const Uint32 registered = SDL_RegisterEvents(1);
            if (registered == static_cast<Uint32>(-1)) return DisplayStep::Create;
            quitEvent_ = registered;
        }
        if (hideCursor_) SDL_ShowCursor(SDL_DISABLE);
        SDL_AddEventWatch(&SdlPlatform::WatchWindow, this);
        watching_ = true;
        SDL_SetEventFilter(&SdlPlatform::FilterKeys, this);
        filtering_ = true;
        // Left alone when the player asked for hang-ups to be ignored (nohup).
        struct sigaction old {};
        if (sigaction(SIGHUP, nullptr, &old) == 0 && old.sa_handler == SIG_DFL) {
            struct sigaction hangUp {};
            hangUp.sa_handler = &NoteHangUp;
            sigemptyset(&hangUp.sa_mask);
            watchingHangUp_ = sigaction(SIGHUP, &hangUp, nullptr) == 0;
        }
    }

    // The window: borderless over the whole screen at (0, 0), hidden for now.
    if (!window_) {
        throughRenderer_ = rendererAlways_ || noWindowSurface_ ||
                           PresentPathFor(SDL_GetCurrentVideoDriver()) == PresentPath::Renderer;
        // A renderer draws at the output's own pixels on a scaled screen.
        const Uint32 scaled = throughRenderer_ ? SDL_WINDOW_ALLOW_HIGHDPI : 0;
        SDL_Rect bounds{0, 0, kScreenWidth, kScreenHeight};
        SDL_GetDisplayBounds(0, &bounds);
        window_ = windowed_ ? SDL_CreateWindow("Vesk", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, kScreenWidth,
                                               kScreenHeight, SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE | scaled)
                            : SDL_CreateWindow("Vesk", bounds.x, bounds.y, bounds.w, bounds.h,
                                               SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | scaled);
        if (!window_) return DisplayStep::QueryInterface;
        // Shrunk further, the captions would be too small to read.
        if (windowed_) SDL_SetWindowMinimumSize(window_, kSmallestWindowWidth, kSmallestWindowHeight);
        // The icon is read as every image is: its headers checked first.
        if (SDL_RWops* file = SDL_RWFromFile(HostPath("Icon.bmp").c_str(), "rb")) {
            if (SDL_Surface* icon = ReadCheckedBitmap(file)) {
                SDL_SetWindowIcon(window_, icon);
                SDL_FreeSurface(icon);
            }
            SDL_RWclose(file);
        }
    }

    // The whole screen for the game. The borderless window already covers
    // it; full screen proper is asked for once the first frame is on show
    // (AskForFullScreen): asked for on a shown window, SDL on X11 waits up to
    // 100 ms for a window manager's answer, and with none there it always
    // waits the whole 100 ms. Asked for here on the hidden window, which
    // costs no wait, and put back, so that a refusal still ends the start-up.
    if (!windowed_) {
        if (SDL_SetWindowFullscreen(window_, SDL_WINDOW_FULLSCREEN_DESKTOP) != 0) return DisplayStep::Cooperative;
        SDL_SetWindowFullscreen(window_, 0);
        fullScreenDue_ = true;
    }

    // A screen mode the frame can be shown in.
    const int display = SDL_GetWindowDisplayIndex(window_);
    SDL_DisplayMode mode{};
    if (display < 0 || SDL_GetDesktopDisplayMode(display, &mode) != 0 || mode.w <= 0 || mode.h <= 0) {
        return DisplayStep::DisplayMode;
    }

    const DisplayStep step = OpenScreen();
    if (step != DisplayStep::FrontSurface || throughRenderer_) return step;
    // A driver with no window pixels of its own. SDL reads the window
    // surface's hint once per start of video: video is started again
    // without it, and the frames go through a renderer.
    CloseDisplay();
    noWindowSurface_ = true;
    SDL_ResetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION);
    return OpenDisplay();
}

DisplayStep SdlPlatform::OpenScreen() {
    if (!throughRenderer_) return presenter_.Open(window_);
    // The window surface's hint back to SDL's default: should SDL fall back
    // on its software renderer, that one draws into a window surface, which
    // "0" denies it on these drivers.
    SDL_ResetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION);
    return rendererPresenter_.Open(window_);
}

void SdlPlatform::CloseScreen() {
    presenter_.Close();
    rendererPresenter_.Close();
}

bool SdlPlatform::TakeRepaint() {
    const bool whole = mustPresent_;
    mustPresent_ = false;
    return whole;
}

void SdlPlatform::NotePresented() {
    ++presentCount_;
    if (!presented_) {
        presented_ = true;
        firstPresentTick_ = SDL_GetTicks();
    }
}

int SdlPlatform::WatchWindow(void* self, SDL_Event* event) {
    auto* platform = static_cast<SdlPlatform*>(self);
    if (event->type == SDL_WINDOWEVENT) {
        switch (event->window.event) {
            case SDL_WINDOWEVENT_SHOWN:
            case SDL_WINDOWEVENT_EXPOSED:
            case SDL_WINDOWEVENT_RESIZED:
            case SDL_WINDOWEVENT_SIZE_CHANGED:
            case SDL_WINDOWEVENT_RESTORED:
            case SDL_WINDOWEVENT_MAXIMIZED:
            case SDL_WINDOWEVENT_DISPLAY_CHANGED:
                platform->mustPresent_ = true;
                break;
            default:
                break;
        }
    } else if (event->type == SDL_RENDER_TARGETS_RESET || event->type == SDL_RENDER_DEVICE_RESET) {
        platform->mustPresent_ = true;
    }
    return 0;
}

std::optional<PadButton> PadButtonFor(int sdlButton) {
    switch (sdlButton) {
        case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadButton::Up;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadButton::Down;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PadButton::Left;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PadButton::Right;
        case SDL_CONTROLLER_BUTTON_A: return PadButton::A;
        case SDL_CONTROLLER_BUTTON_B: return PadButton::B;
        case SDL_CONTROLLER_BUTTON_X: return PadButton::X;
        case SDL_CONTROLLER_BUTTON_Y: return PadButton::Y;
        case SDL_CONTROLLER_BUTTON_START: return PadButton::Start;
        case SDL_CONTROLLER_BUTTON_BACK: return PadButton::Back;
        default: return std::nullopt;
    }
}

bool SdlPlatform::FilterPads(const SDL_Event& event) {
    constexpr size_t kMostPresses = 64;
    std::optional<PadButton> press;
    switch (event.type) {
        case SDL_CONTROLLERDEVICEADDED:
        case SDL_CONTROLLERDEVICEREMOVED: {
            const std::lock_guard<std::mutex> lock(pressLock_);
            padsChanged_ = true;
            if (event.type == SDL_CONTROLLERDEVICEREMOVED) sticks_.erase(event.cdevice.which);
            return true;
        }
        case SDL_CONTROLLERBUTTONDOWN:
            press = PadButtonFor(event.cbutton.button);
            break;
        case SDL_CONTROLLERAXISMOTION: {
            const bool x = event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX;
            if (!x && event.caxis.axis != SDL_CONTROLLER_AXIS_LEFTY) return true;
            const std::lock_guard<std::mutex> lock(pressLock_);
            press = sticks_[event.caxis.which].Move(x, event.caxis.value);
            if (press && padPresses_.size() < kMostPresses) padPresses_.push_back(*press);
            return true;
        }
        default:
            // The controller's other events go too. The joystick events stay
            // (and are passed over with the queue): SDL makes the controller
            // events from them.
            return event.type >= SDL_CONTROLLERAXISMOTION && event.type <= SDL_CONTROLLERSENSORUPDATE;
    }
    if (press) {
        const std::lock_guard<std::mutex> lock(pressLock_);
        if (padPresses_.size() < kMostPresses) padPresses_.push_back(*press);
    }
    return true;
}

int SdlPlatform::FilterKeys(void* self, SDL_Event* event) {
    auto* platform = static_cast<SdlPlatform*>(self);
    if (platform->FilterPads(*event)) return 0;
    if (event->type != SDL_KEYDOWN) return 1;
    constexpr size_t kMostPresses = 64;  // between two frames, more than any hand makes
    if (event->key.repeat == 0) {
        const SDL_Keysym& key = event->key.keysym;
        if (const std::optional<KeyPress> press = KeyPressFor(key.scancode, key.sym, key.mod)) {
            const std::lock_guard<std::mutex> lock(platform->pressLock_);
            if (platform->presses_.size() < kMostPresses) platform->presses_.push_back(*press);
        }
    }
    return 0;
}

void SdlPlatform::Present(const Surface& frame, const std::vector<Rect>& changed) {
    if (!window_) return;
    const bool whole = TakeRepaint();
    if (throughRenderer_ ? rendererPresenter_.Present(frame, changed, whole) : presenter_.Present(frame, changed, whole)) {
        NotePresented();
    } else if (whole) {
        mustPresent_ = true;  // still to be drawn whole
    }
}

void SdlPlatform::CloseDisplay() {
    if (watching_) SDL_DelEventWatch(&SdlPlatform::WatchWindow, this);
    watching_ = false;
    if (filtering_) SDL_SetEventFilter(nullptr, nullptr);
    filtering_ = false;
    if (watchingHangUp_) std::signal(SIGHUP, SIG_DFL);
    watchingHangUp_ = false;
    hungUp = 0;
    {
        const std::lock_guard<std::mutex> lock(pressLock_);
        presses_.clear();
    }
    mustPresent_ = true;
    CloseScreen();
    if (window_) SDL_DestroyWindow(window_);
    window_ = nullptr;
    fullScreenDue_ = false;
    if (videoUp_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    videoUp_ = false;
}

void SdlPlatform::ShowMessage(const std::string& text, const std::string& caption) {
    std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    std::fflush(stderr);
    const char* noBox = std::getenv("VESK_NO_MESSAGE_BOX");
    if (noBox && *noBox && std::string(noBox) != "0") return;
    // Without a display no box can be shown; the line above is then all.
    SDL_ShowSimpleMessageBox(0, caption.c_str(), text.c_str(), nullptr);
}

void SdlPlatform::ExitProcess(int status, bool runExitHandlers) {
    if (runExitHandlers) std::exit(status);
    std::_Exit(status);
}
