/* The testing API of the Velkaro platform layer: drive the headless screen
 * (scripted mouse and keyboard, a virtual clock), read back what it shows,
 * spy on messages, answer dialogs and count live objects. C++. */
#ifndef VELKARO_TESTING_H
#define VELKARO_TESTING_H

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace velkaro::testing {

/* Starts (or resizes) the headless screen. Call before creating windows;
 * returns false when another backend is already running. */
bool startHeadless(int width = 1024, int height = 768);
bool isHeadless();
/* The work area (SPI_GETWORKAREA); reset to the whole screen by startHeadless. */
void setWorkArea(const RECT& rc);

/* Scripted input. Events queue up and are turned into messages when a message
 * loop (or pumpUntilIdle) takes them, as on a real desktop. Buttons: 1 left,
 * 2 right, 3 middle. Coordinates are screen coordinates. */
void mouseMove(int x, int y);
void mouseDown(int button = 1);
void mouseUp(int button = 1);
void click(int x, int y, int button = 1);
void doubleClick(int x, int y);
void wheel(int delta);
/* text: what the key types (UTF-8), delivered by TranslateMessage. */
void keyDown(unsigned vk, const char* text = nullptr);
void keyUp(unsigned vk);
void pressKey(unsigned vk, const char* text = nullptr);
/* Types each character of a UTF-8 text as a key press. */
void typeText(const char* utf8);
/* The desktop activates another program, or gives the program back. */
void activateOtherProgram();
void activateWindow(HWND hwnd);
POINT cursorPos();

/* Retrieves and dispatches messages until none is waiting at the current
 * time (timers that are due fire; the clock does not move). Returns the
 * number of messages dispatched. Stops at WM_QUIT (see quitReceived). */
size_t pumpUntilIdle(size_t maxMessages = 1000000);
/* Moves the virtual clock forward, firing timers in order of their due times
 * and pumping messages at each. */
void advanceClock(uint32_t ms);
uint64_t now();
bool quitReceived();
int quitCode();
void clearQuit();
/* Called when a nested loop (move/size loop, modal dialog) runs out of
 * scripted input; it may queue more and return true to go on. */
void setIdleHandler(std::function<bool()> fn);

/* Pixels as 0x00RRGGBB colour references (COLORREF: 0x00BBGGRR). */
COLORREF screenPixel(int x, int y);
/* A pixel of a window, in its window coordinates, read from the pixels it
 * has on screen (its top-level window's surface). CLR_INVALID when outside. */
COLORREF windowPixel(HWND hwnd, int x, int y);
bool saveScreenshot(const char* path);
bool saveWindowScreenshot(HWND hwnd, const char* path);
/* The screen as 0xAARRGGBB words, row by row. */
std::vector<uint32_t> screenPixels(int* width = nullptr, int* height = nullptr);
/* The cursor shape the program asked for last: IDC_* resource number. */
int cursorShapeId();
uint64_t presentCount();

/* Messages a window receives (sent or dispatched), in order. */
struct SpiedMessage {
    HWND hwnd;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};
class MessageSpy {
public:
    /* hwnd null: every window. */
    explicit MessageSpy(HWND hwnd = nullptr);
    ~MessageSpy();
    MessageSpy(const MessageSpy&) = delete;
    MessageSpy& operator=(const MessageSpy&) = delete;
    const std::vector<SpiedMessage>& messages() const { return m_messages; }
    /* The message numbers received, optionally only those in the given set. */
    std::vector<UINT> ids(const std::vector<UINT>& only = {}) const;
    size_t count(UINT message) const;
    void clear() { m_messages.clear(); }

private:
    HWND m_hwnd;
    int m_id;
    std::vector<SpiedMessage> m_messages;
};

/* Answers for the next modal dialogs (taken in order). A file dialog answered
 * with a path returns TRUE with it; with nullptr it is cancelled. A message
 * box returns the given IDOK/IDCANCEL/... without showing. */
void answerNextFileDialog(const char* path);
void answerNextMessageBox(int result);
/* What the program showed or asked for. */
struct ShownMessageBox {
    std::string text;
    std::string caption;
    UINT type;
};
std::vector<ShownMessageBox> messageBoxesShown();
std::vector<std::string> shellExecuted();
struct PlayedSound {
    std::vector<unsigned char> bytes;
    DWORD flags;
};
std::vector<PlayedSound> soundsPlayed();
void clearRecords();

/* Live objects, for leak checks. */
size_t liveGdiObjects();
size_t liveGdiplusObjects();
size_t liveWindows();
size_t liveUserObjects();

} // namespace velkaro::testing

#endif
