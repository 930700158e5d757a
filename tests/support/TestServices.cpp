#include "support/TestServices.h"

namespace tolvenk::test {

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

ServicesScope::ServicesScope() : sv_(std::make_shared<TestServices>()) { platform::setServices(sv_); }

ServicesScope::~ServicesScope() { platform::setServices(nullptr); }

}  // namespace tolvenk::test
