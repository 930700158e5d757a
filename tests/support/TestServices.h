#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/services/ScriptedServices.h"

namespace tolvenk::test {

// The scripted services with the hooks tests need: act while a window yields
// (a second click, closing it, dropping a table mid-run) and see which file
// kinds the save dialog was asked for.
class TestServices : public platform::ScriptedServices {
public:
    std::function<void()> onYield;           // runs after every yield
    std::function<void()> onPreview;         // runs as a preview shows, after its pages are rendered
    std::vector<std::string> saveFilters;    // filter of each save dialog, in order

    // Every box a test meets must carry a title: a box without one fails the test.
    int msgBox(const std::string& prompt, int style, const std::string& title) override;
    void yield() override;
    void printPreview(const platform::PrintDocument& doc, int zoomPercent) override;
    std::string saveFileName(const std::string& title, const std::string& filter,
                             const std::string& suggested) override;

    // The prompt of the last box, "" when none was shown.
    std::string lastPrompt() const;
    // Whether a box with this title and style was shown.
    bool shown(const std::string& title, int style) const;
    // The prompts (and styles) of the boxes shown since the last call; then forgotten.
    std::vector<std::string> takeBoxes(std::vector<int>* styles = nullptr);
    // Exactly one box since the last look, with this text, style and title; then forgotten.
    void expectBox(const std::string& prompt, int style, const std::string& title = "提示");
};

// Installs fresh test services for its lifetime; the Qt ones come back after,
// even when an assertion ends the test early.
class ServicesScope {
public:
    ServicesScope();
    ~ServicesScope();
    ServicesScope(const ServicesScope&) = delete;
    ServicesScope& operator=(const ServicesScope&) = delete;
    TestServices* operator->() const { return sv_.get(); }
    TestServices& operator*() const { return *sv_; }
    const std::shared_ptr<TestServices>& ptr() const { return sv_; }

private:
    std::shared_ptr<TestServices> sv_;
};

}  // namespace tolvenk::test
