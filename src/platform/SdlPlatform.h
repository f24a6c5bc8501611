// The machine as the game sees it, on SDL2: one full-screen window showing
// the 800x600 frame scaled with its aspect kept, the mouse and keyboard read
// as state, and only the few window events the game acts on as messages.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Letterbox.h"
#include "platform/Platform.h"
#include "platform/RendererPresenter.h"
#include "platform/StickPush.h"
#include "platform/WindowPresenter.h"

struct SDL_Window;
struct _SDL_GameController;
typedef struct _SDL_GameController SDL_GameController;
union SDL_Event;

// Where the frame lies in a window of w x h (see Letterbox.h).
Letterbox LetterboxFor(int windowWidth, int windowHeight);

// A window position to a frame pixel through the letterbox, held inside the
// frame (0..799, 0..599).
Point FrameFromWindow(int x, int y, int windowWidth, int windowHeight);

// The same for a window whose output has pixelWidth x pixelHeight pixels (a
// scaled screen: more pixels than the window's size in the desktop's units):
// the point's middle, in output pixels, through the letterbox drawn there.
Point FrameFromScaledWindow(int x, int y, int windowWidth, int windowHeight, int pixelWidth, int pixelHeight);

// The game's key code for an SDL scancode (0: a key the game does not know).
int KeyCodeFor(int sdlScancode);

// The press a key going down stands for, if any: the arrows and the keypad's
// 8, 4, 6, 2, T, S, F9, Escape, Tab, Enter and Space by their place on the
// keyboard (scancode); U, Ctrl+Z and Backspace (undo), Ctrl+Y and
// Ctrl+Shift+Z (redo) and N (numbers) by their label in the player's layout
// (keycode).
std::optional<KeyPress> KeyPressFor(int sdlScancode, int sdlKeycode, int sdlModifiers);

// The game's name for a game controller's button (SDL_GameControllerButton), if it uses it.
std::optional<PadButton> PadButtonFor(int sdlButton);

class SdlPlatform : public Platform {
public:
    SdlPlatform();
    ~SdlPlatform() override;
    SdlPlatform(const SdlPlatform&) = delete;
    SdlPlatform& operator=(const SdlPlatform&) = delete;

    // A resizable window of 800x600 to start (set before OpenDisplay) instead
    // of the whole screen; switching to another window then goes on playing.
    void PlayInWindow(bool windowed) { windowed_ = windowed; }
    // Frames through a renderer whatever the video driver (set before
    // OpenDisplay); for measuring that way beside the other.
    void PresentThroughRenderer(bool always) { rendererAlways_ = always; }
    bool PresentsThroughRenderer() const { return throughRenderer_; }

    void HideSystemCursor() override;
    // The window is made with the display (OpenDisplay), hidden until
    // ShowMainWindow, so a start-up that stops early never shows it.
    bool CreateMainWindow() override;
    void ShowMainWindow() override;

    uint32_t Ticks() override;
    void WaitUntil(uint32_t start, uint32_t ms) override;
    Point CursorPos() override;
    // In a window: the window has the mouse's focus, which SDL moves with the
    // pointer entering and leaving it (SDL_WINDOWEVENT_ENTER, _LEAVE).
    bool PointerInWindow() override;

    // Also asks for full screen, once, after the first frame is on show.
    // SIGHUP, like SIGINT and SIGTERM, comes as Message::Destroy.
    bool PeekMessage(Message& out) override;
    Point PressPos() override;
    void PostQuit() override;

    // Also the game controllers, brought up once the first frame is on show:
    // SDL's own mappings, and SDL_GAMECONTROLLERCONFIG.
    int32_t OpenKeyboard() override;
    int32_t ReadKeyboard(uint8_t keys[256]) override;
    int32_t AcquireKeyboard() override;
    void CloseKeyboard() override;
    std::vector<KeyPress> TakeKeyPresses() override;
    std::vector<PadButton> TakePadPresses() override;

    // Video, the hidden window, full screen, the screen's mode, then the
    // screen output (OpenScreen): the window's own surface where the video
    // driver keeps one (X11), else a renderer (PresentPath.h). A window
    // surface the driver turns out not to have brings video up again, with
    // the frames through a renderer.
    DisplayStep OpenDisplay() override;
    // Shows what changed since the frame on the screen (a still screen costs
    // no drawing); the window being uncovered, resized, moved to another
    // screen or shown again has it drawn whole.
    void Present(const Surface& frame, const std::vector<Rect>& changed) override;
    void CloseDisplay() override;

    // The text on stderr, and in a message box unless VESK_NO_MESSAGE_BOX is
    // set or no box can be shown (no display).
    void ShowMessage(const std::string& text, const std::string& caption) override;

    // Figures for the benchmark: the tick of the first frame shown.
    bool HasPresented() const { return presented_; }
    int PresentCount() const { return presentCount_; }
    uint32_t FirstPresentTick() const { return firstPresentTick_; }
    SDL_Window* Window() const { return window_; }
    const PresentTimes& Times() const { return throughRenderer_ ? rendererPresenter_.Times() : presenter_.Times(); }

protected:
    void ExitProcess(int status, bool runExitHandlers) override;
    // The screen output of the window made: its own surface ("Create Front
    // Surface failed" when there is none, "Create Back Surface failed" when
    // the frame cannot be scaled into its format; no renderer, no GL), or on
    // the renderer path the renderer (Front) and its texture (Back).
    virtual DisplayStep OpenScreen();
    virtual void CloseScreen();
    // Whether the window must be drawn whole; asking clears it.
    bool TakeRepaint();
    // A frame was shown.
    void NotePresented();

private:
    bool windowed_ = false;  // in a window rather than on the whole screen
    bool hadFocus_ = false;  // the window has had the keyboard focus
    bool videoUp_ = false;
    bool keyboardOpen_ = false;
    bool hideCursor_ = false;
    uint32_t quitEvent_ = 0;  // our own quit message, an SDL user event
    SDL_Window* window_ = nullptr;
    WindowPresenter presenter_;
    RendererPresenter rendererPresenter_;
    bool rendererAlways_ = false;   // asked for (PresentThroughRenderer)
    bool noWindowSurface_ = false;  // the driver had none to give
    bool throughRenderer_ = false;  // the path of the window made

    // The mouse at window point (x, y) as a frame pixel.
    Point FrameFromMouse(int x, int y);
    bool presented_ = false;
    uint32_t firstPresentTick_ = 0;
    int presentCount_ = 0;
    bool watching_ = false;
    bool mustPresent_ = true;  // the window must be drawn whole
    bool fullScreenDue_ = false;  // full screen is still to be asked for

    void AskForFullScreen();

    static int WatchWindow(void* self, SDL_Event* event);

    // Key events never reach the queue: the filter counts the presses of the
    // arrow and undo keys (not the desktop's repeats) and drops every one.
    static int FilterKeys(void* self, SDL_Event* event);
    bool filtering_ = false;
    bool watchingHangUp_ = false;  // SIGHUP is a quit message
    std::mutex pressLock_;  // the filter may run on another thread
    std::vector<KeyPress> presses_;
    Point pressPos_;

    // Game controllers: their events never reach the queue either; the
    // filter counts the presses of their buttons and the pushes of their
    // left sticks, and notes their coming and going. True: the event was one.
    bool FilterPads(const SDL_Event& event);
    bool padsDue_ = false;  // to be brought up after the first frame
    bool padsUp_ = false;
    bool padsChanged_ = false;  // plugged in or out: open or close them at the next frame
    std::vector<SDL_GameController*> controllers_;
    std::map<int32_t, StickPush> sticks_;  // by SDL's joystick instance
    std::vector<PadButton> padPresses_;
};
