#pragma once
#include <deque>
#include <string>
#include <vector>

#include "platform/services/Services.h"

namespace tolvenk::platform {

// Services for tests and headless runs: records every box and answers from
// prepared queues. An unprepared box gets its first button (OK, Yes, Abort...).
class ScriptedServices : public Services {
public:
    struct Box {
        std::string prompt;
        int style;
        std::string title;
    };
    struct Preview {
        bool landscape;
        int zoomPercent;
        int pages;
    };

    std::vector<Box> boxes;
    std::deque<int> msgBoxAnswers;
    std::deque<std::string> inputAnswers;
    std::deque<std::string> fileAnswers;
    ScreenSize screen{15 * 1280, 15 * 1024};
    std::string clock = "2026-12-06 10:00:00";
    int yields = 0;
    int beeps = 0;
    std::vector<Preview> previews;
    // When set, every preview is also written to this PDF, so a test can read
    // what would have been printed.
    std::string previewPdf;

    int msgBox(const std::string& prompt, int style, const std::string& title) override;
    std::string inputBox(const std::string& prompt, const std::string& title,
                         const std::string& defaultText) override;
    std::string openFileName(const std::string& title, const std::string& filter) override;
    std::string saveFileName(const std::string& title, const std::string& filter,
                             const std::string& suggestedName) override;
    void printPreview(const PrintDocument& doc, int zoomPercent) override;
    ScreenSize screenSize() override { return screen; }
    std::string clockText() override { return clock; }
    void yield() override { ++yields; }
    // Every time, unless a test makes yields rarer: each one is then told.
    bool yieldDue() override { return yieldAlways; }
    bool yieldAlways = true;
    void beep() override { ++beeps; }
};

}  // namespace tolvenk::platform
