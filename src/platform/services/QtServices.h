#pragma once
#include <chrono>
#include <memory>

#include "platform/services/Services.h"

class QMessageBox;

namespace tolvenk::platform {

// The box msgBox shows, ready to run: its text, icon, buttons and a width
// that shows its whole title.
std::unique_ptr<QMessageBox> messageBox(const std::string& prompt, int style, const std::string& title);

class QtServices : public Services {
public:
    int msgBox(const std::string& prompt, int style, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    std::string openFileName(const std::string& title, const std::string& filter) override;
    std::string saveFileName(const std::string& title, const std::string& filter,
                             const std::string& suggestedName) override;
    void printPreview(const PrintDocument& doc, int zoomPercent) override;
    ScreenSize screenSize() override;
    std::string clockText() override;
    void yield() override;
    bool yieldDue() override;
    void beep() override;

private:
    std::chrono::steady_clock::time_point lastYield_ = std::chrono::steady_clock::now();
};

}  // namespace tolvenk::platform
