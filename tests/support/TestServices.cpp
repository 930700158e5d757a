#include "support/TestServices.h"

#include <gtest/gtest.h>

namespace tolvenk::test {

void TestServices::printPreview(const platform::PrintDocument& doc, int zoomPercent) {
    ScriptedServices::printPreview(doc, zoomPercent);
    if (onPreview) onPreview();
}

int TestServices::msgBox(const std::string& prompt, int style, const std::string& title) {
    EXPECT_FALSE(title.empty()) << "a box without a title: " << prompt;
    return ScriptedServices::msgBox(prompt, style, title);
}

void TestServices::yield() {
    ScriptedServices::yield();
    if (onYield) onYield();
}

std::string TestServices::saveFileName(const std::string& title, const std::string& filter,
                                       const std::string& suggested) {
    saveFilters.push_back(filter);
    return ScriptedServices::saveFileName(title, filter, suggested);
}

std::string TestServices::lastPrompt() const { return boxes.empty() ? std::string() : boxes.back().prompt; }

bool TestServices::shown(const std::string& title, int style) const {
    for (const Box& b : boxes)
        if (b.title == title && b.style == style) return true;
    return false;
}

std::vector<std::string> TestServices::takeBoxes(std::vector<int>* styles) {
    std::vector<std::string> prompts;
    for (const Box& b : boxes) {
        prompts.push_back(b.prompt);
        if (styles) styles->push_back(b.style);
    }
    boxes.clear();
    return prompts;
}

void TestServices::expectBox(const std::string& prompt, int style, const std::string& title) {
    EXPECT_EQ(boxes.size(), 1u) << lastPrompt();
    if (boxes.size() == 1) {
        EXPECT_EQ(boxes[0].prompt, prompt);
        EXPECT_EQ(boxes[0].style, style);
        EXPECT_EQ(boxes[0].title, title);
    }
    boxes.clear();
}

ServicesScope::ServicesScope() : sv_(std::make_shared<TestServices>()) { platform::setServices(sv_); }

ServicesScope::~ServicesScope() { platform::setServices(nullptr); }

}  // namespace tolvenk::test
