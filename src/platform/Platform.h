// The game's window onto the machine: time, mouse, window messages, keyboard,
// the screen, message boxes and the process itself. The real one wraps SDL2;
// tests script a fake one frame by frame.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "gfx/Surface.h"

// For Present: all of the frame may have changed.
inline const std::vector<Rect> kWholeFrame{{0, 0, kScreenWidth, kScreenHeight}};

struct Point {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const Point&) const = default;
};

// The window messages the game cares about. Mouse motion and key presses are
// read as state, never queued as messages.
enum class Message {
    Quit,         // the quit message: the frame loop ends after this frame
    Destroy,      // the window was destroyed (closed by the desktop, a signal)
    KillFocus,    // the window lost the keyboard focus
    LButtonDown,  // the left mouse button went down
    Other,        // anything else that still passes through
};

// Key codes of the 256-entry held-key snapshot.
constexpr int kKeyEscape = 0x01;
constexpr int kKeyT = 0x14;
constexpr int kKeyS = 0x1F;
constexpr int kKeyF9 = 0x43;
constexpr uint8_t kKeyHeld = 0x80;

// The keys, each acting once per press however long it is held: the arrows
// slide a tile (off the board they move the focus), Undo takes a move back;
// Redo makes it again; T, S, F9 and Escape; Tab and Shift+Tab move the
// focus, Enter and Space press the focused control; N shows or hides the
// tiles' numbers; H makes a hint's move, G has the game solve the board.
enum class KeyPress : uint8_t {
    Left, Right, Up, Down, Undo,
    Tile, Shuffle, Capture, Escape,
    FocusNext, FocusPrevious, Activate,
    Redo, Numbers,
    Hint, Solve,
};

// The buttons of a game controller, by the names of the usual Xbox layout.
enum class PadButton : uint8_t { Up, Down, Left, Right, A, B, X, Y, Start, Back };

// Status words in the manner of an HRESULT: negative means failure.
constexpr int32_t kOk = 0;
constexpr int32_t kErrNotImpl = static_cast<int32_t>(0x80004001u);
constexpr int32_t kErrPointer = static_cast<int32_t>(0x80004003u);
constexpr int32_t kErrFail = static_cast<int32_t>(0x80004005u);
constexpr int32_t kErrInputLost = static_cast<int32_t>(0x8007001Eu);

// The steps of bringing the display up, in order. OpenDisplay reports the
// first one that failed, or DisplayStep::None when all went well.
enum class DisplayStep {
    None = 0,
    Create,           // "DirectDraw create failed"
    QueryInterface,   // "Querry interface failed"
    Cooperative,      // "Set cooperative level failed"
    DisplayMode,      // "Can't set suitable display mode"
    FrontSurface,     // "Create Front Surface failed"
    BackSurface,      // "Create Back Surface failed"
};

class Platform {
public:
    virtual ~Platform() = default;

    // Start-up: hide the system cursor (the game draws its own pointer),
    // create the full-screen main window titled "Vesk", show it.
    virtual void HideSystemCursor() = 0;
    virtual bool CreateMainWindow() = 0;
    virtual void ShowMainWindow() = 0;

    // Milliseconds from an arbitrary start; wraps at 2^32.
    virtual uint32_t Ticks() = 0;
    // Returns once Ticks() - start >= ms (unsigned), sleeping rather than spinning.
    virtual void WaitUntil(uint32_t start, uint32_t ms) = 0;

    // Mouse position in frame pixels (0..799, 0..599).
    virtual Point CursorPos() = 0;
    // Whether the player's pointer is over the game: in a window on a
    // desktop it may be elsewhere; on the whole screen it always is.
    virtual bool PointerInWindow() { return true; }

    // Takes at most one message off the queue; false when there is none.
    virtual bool PeekMessage(Message& out) = 0;
    // Where the left button went down (frame pixels), for the last
    // Message::LButtonDown taken.
    virtual Point PressPos() = 0;
    // Queues the quit message (the answer to Message::Destroy).
    virtual void PostQuit() = 0;

    // Keyboard device: set-up, one snapshot of 256 keys, re-acquire, release.
    virtual int32_t OpenKeyboard() = 0;
    virtual int32_t ReadKeyboard(uint8_t keys[256]) = 0;
    virtual int32_t AcquireKeyboard() = 0;
    virtual void CloseKeyboard() = 0;
    // The key presses since the last call, oldest first; a key held down
    // counts once, however long the desktop repeats it.
    virtual std::vector<KeyPress> TakeKeyPresses() = 0;
    // Game controllers, plugged in before or while playing: the presses of
    // their buttons since the last call, oldest first. The d-pad and the left
    // stick both give Up, Down, Left and Right, the stick once a push.
    virtual std::vector<PadButton> TakePadPresses() = 0;

    // The screen: bring up the display, show one 800x600 frame, take it down.
    virtual DisplayStep OpenDisplay() = 0;
    // `changed`: rectangles outside which the frame is the one presented
    // before (on the first frame, all that was drawn).
    virtual void Present(const Surface& frame, const std::vector<Rect>& changed) = 0;
    virtual void CloseDisplay() = 0;

    // A message box with no owner and only an OK button; returns when dismissed.
    virtual void ShowMessage(const std::string& text, const std::string& caption) = 0;

    // Ends the process. runExitHandlers: std::exit (true) or std::_Exit (false).
    [[noreturn]] void Exit(int status, bool runExitHandlers) {
        ExitProcess(status, runExitHandlers);
        std::abort();  // an exit that came back is a broken platform
    }

protected:
    virtual void ExitProcess(int status, bool runExitHandlers) = 0;
};
