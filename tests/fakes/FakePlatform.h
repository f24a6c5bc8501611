// A scripted machine for tests: time, cursor, messages and keys are set by
// the test; every presented frame is kept; message boxes are recorded; an
// exit of the process becomes an exception the test can catch.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "gfx/Surface.h"
#include "platform/Platform.h"

struct ProcessExit {
    int status;
    bool ranExitHandlers;
};

struct ShownMessage {
    std::string text;
    std::string caption;
};

class FakePlatform : public Platform {
public:
    // Scripted state.
    uint32_t now = 1000;
    uint32_t ticksPerRead = 0;  // added to `now` after every Ticks()
    Point cursor{0, 0};
    bool pointerInWindow = true;
    std::deque<Message> messages;
    std::array<uint8_t, 256> keys{};
    std::vector<KeyPress> keyPresses;  // pressed and not yet taken
    std::vector<PadButton> padPresses;  // a controller's, pressed and not yet taken
    std::optional<Point> pressPos;      // where the last press taken went down (none: the cursor)
    int32_t openKeyboardStatus = kOk;
    std::deque<int32_t> readKeyboardStatus;   // next statuses of ReadKeyboard (default kOk)
    std::deque<int32_t> acquireStatus;        // next statuses of AcquireKeyboard (default kOk)
    DisplayStep displayFailure = DisplayStep::None;

    // What happened.
    std::vector<Surface> presented;
    std::vector<ShownMessage> shownMessages;
    std::vector<std::string> calls;  // device calls in order
    int keyboardReads = 0;
    int acquires = 0;
    int cursorReads = 0;
    bool keepFrames = true;
    // Frames that differ from the one before outside the rectangles the game
    // said may have changed; every frame is checked, kept or not.
    int unannouncedChanges = 0;

    // T, S, F9 or Escape going down, as the keyboard has it: held in the
    // snapshot, and one press when it was not held before.
    void Hold(int key) {
        if (keys[key] == 0) {
            if (key == kKeyT) keyPresses.push_back(KeyPress::Tile);
            if (key == kKeyS) keyPresses.push_back(KeyPress::Shuffle);
            if (key == kKeyF9) keyPresses.push_back(KeyPress::Capture);
            if (key == kKeyEscape) keyPresses.push_back(KeyPress::Escape);
        }
        keys[key] = kKeyHeld;
    }
    void Release(int key) { keys[key] = 0; }
    // Down and up again before the next frame.
    void Tap(int key) {
        Hold(key);
        Release(key);
    }
    void Click() {
        messages.push_back(Message::LButtonDown);
        clickAt.push_back(std::nullopt);
    }
    // A press made at `at`, wherever the pointer is by the time it is taken.
    void Click(Point at) {
        messages.push_back(Message::LButtonDown);
        clickAt.push_back(at);
    }
    // One key press, handed to the game at its next frame.
    void Press(KeyPress key) { keyPresses.push_back(key); }
    void PressPad(PadButton button) { padPresses.push_back(button); }

    void HideSystemCursor() override { calls.push_back("HideSystemCursor"); }
    bool CreateMainWindow() override {
        calls.push_back("CreateMainWindow");
        return true;
    }
    void ShowMainWindow() override { calls.push_back("ShowMainWindow"); }

    uint32_t Ticks() override {
        const uint32_t t = now;
        now += ticksPerRead;
        return t;
    }
    void WaitUntil(uint32_t start, uint32_t ms) override {
        if (now - start < ms) now = start + ms;
    }
    Point CursorPos() override {
        ++cursorReads;
        return cursor;
    }
    bool PointerInWindow() override { return pointerInWindow; }
    bool PeekMessage(Message& out) override {
        if (messages.empty()) return false;
        out = messages.front();
        messages.pop_front();
        if (out == Message::LButtonDown) {
            pressPos = cursor;
            if (!clickAt.empty()) {
                pressPos = clickAt.front().value_or(cursor);
                clickAt.pop_front();
            }
        }
        return true;
    }
    Point PressPos() override { return pressPos.value_or(cursor); }
    void PostQuit() override { messages.push_back(Message::Quit); }

    int32_t OpenKeyboard() override {
        calls.push_back("OpenKeyboard");
        return openKeyboardStatus;
    }
    int32_t ReadKeyboard(uint8_t out[256]) override {
        ++keyboardReads;
        int32_t status = kOk;
        if (!readKeyboardStatus.empty()) {
            status = readKeyboardStatus.front();
            readKeyboardStatus.pop_front();
        }
        if (status >= 0) {
            for (int i = 0; i < 256; ++i) out[i] = keys[i];
        }
        return status;
    }
    int32_t AcquireKeyboard() override {
        ++acquires;
        if (acquireStatus.empty()) return kOk;
        const int32_t status = acquireStatus.front();
        acquireStatus.pop_front();
        return status;
    }
    void CloseKeyboard() override { calls.push_back("CloseKeyboard"); }
    std::vector<KeyPress> TakeKeyPresses() override { return std::exchange(keyPresses, {}); }
    std::vector<PadButton> TakePadPresses() override { return std::exchange(padPresses, {}); }

    DisplayStep OpenDisplay() override {
        calls.push_back("OpenDisplay");
        return displayFailure;
    }
    void Present(const Surface& frame, const std::vector<Rect>& changed) override {
        if (last_ && !SameOutside(*last_, frame, changed)) ++unannouncedChanges;
        last_ = frame;
        if (keepFrames) presented.push_back(frame);
        ++presentCount;
    }
    void CloseDisplay() override { calls.push_back("CloseDisplay"); }

    void ShowMessage(const std::string& text, const std::string& caption) override {
        shownMessages.push_back({text, caption});
    }
    void ExitProcess(int status, bool runExitHandlers) override {
        calls.push_back("Exit");
        throw ProcessExit{status, runExitHandlers};
    }

    int presentCount = 0;
    const Surface& LastFrame() const { return presented.back(); }

    // Whether `now` is `before` everywhere outside the rectangles `changed`.
    static bool SameOutside(const Surface& before, const Surface& now, const std::vector<Rect>& changed) {
        if (before.Width() != now.Width() || before.Height() != now.Height()) return false;
        const size_t rowBytes = static_cast<size_t>(now.Width()) * sizeof(uint16_t);
        for (int y = 0; y < now.Height(); ++y) {
            if (std::memcmp(before.Row(y), now.Row(y), rowBytes) == 0) continue;
            for (int x = 0; x < now.Width(); ++x) {
                if (before.Pixel(x, y) == now.Pixel(x, y)) continue;
                bool inside = false;
                for (const Rect& r : changed) inside = inside || (r.left <= x && x < r.right && r.top <= y && y < r.bottom);
                if (!inside) return false;
            }
        }
        return true;
    }

private:
    std::optional<Surface> last_;
    std::deque<std::optional<Point>> clickAt;  // of the clicks queued by Click
};
