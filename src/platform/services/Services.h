#pragma once
#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace tolvenk::platform {

class PrintDocument;

// Answers of a message box, as the classic runtime numbers them.
enum MsgBoxAnswer { vbOK = 1, vbCancel = 2, vbAbort = 3, vbRetry = 4, vbIgnore = 5, vbYes = 6, vbNo = 7 };

// Message-box styles the windows combine (buttons + icon).
enum MsgBoxStyle {
    vbOKOnly = 0, vbOKCancel = 1, vbAbortRetryIgnore = 2, vbYesNoCancel = 3, vbYesNo = 4, vbRetryCancel = 5,
    vbCritical = 16, vbQuestion = 32, vbExclamation = 48, vbInformation = 64,
    vbDefaultButton2 = 256, vbDefaultButton3 = 512
};

// The title of a box that names none of its own, as the classic runtime
// gave it: the application's name.
inline constexpr const char* kApplicationTitle = "Tolvenk";

struct ScreenSize {
    int widthTwips;
    int heightTwips;
};

// Everything that talks to a person or asks the machine. Windows and services
// go through this, so tests can answer it.
class Services {
public:
    virtual ~Services() = default;

    // Returns one of MsgBoxAnswer.
    virtual int msgBox(const std::string& prompt, int style, const std::string& title) = 0;
    // The typed text, or "" when cancelled (as the classic input box does).
    virtual std::string inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) = 0;
    // A chosen path, or "" when cancelled. `filter` is "Label|*.ext|Label|*.ext".
    virtual std::string openFileName(const std::string& title, const std::string& filter) = 0;
    virtual std::string saveFileName(const std::string& title, const std::string& filter,
                                     const std::string& suggestedName) = 0;
    // Shows what `doc` would print, at a zoom in percent (0 or less: fit to the window).
    virtual void printPreview(const PrintDocument& doc, int zoomPercent) = 0;
    virtual ScreenSize screenSize() = 0;
    // The computer's clock as "yyyy-MM-dd hh:mm:ss".
    virtual std::string clockText() = 0;
    // Lets the event loop repaint and take input during long loops.
    virtual void yield() = 0;
    // Whether a long loop should yield now: about every 100 ms, so that the
    // window stays responsive without repainting after every row.
    virtual bool yieldDue() = 0;
    // The short warning sound of a refused key.
    virtual void beep() = 0;
};

// The services in force: the Qt ones unless a test installed others.
Services& services();
// For a loop told often: yields when one is due, or once `every` has passed
// since this last yielded, `before` (a window's held picture) first.
void yieldEvery(std::chrono::milliseconds every, const std::function<void()>& before = {});
// Installs `s` (nullptr restores the Qt services).
void setServices(std::shared_ptr<Services> s);

}  // namespace tolvenk::platform
