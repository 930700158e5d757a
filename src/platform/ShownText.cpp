#include "platform/ShownText.h"

#include <atomic>

namespace tolvenk::platform {

namespace {

std::atomic<TextLookup> installed{nullptr};

template <class Values>
std::string compose(int n, const std::string& fallback, const Values& values) {
    const TextLookup lookup = installed.load();
    std::string text = lookup ? lookup(n) : std::string();
    if (text.empty()) text = fallback;
    int k = 0;
    for (const std::string& v : values) {
        const std::string mark = "%" + std::to_string(++k);
        if (const auto at = text.find(mark); at != std::string::npos) text.replace(at, mark.size(), v);
    }
    return text;
}

}  // namespace

void setTextLookup(TextLookup lookup) { installed.store(lookup); }

std::string shownText(int n, const std::string& fallback, std::initializer_list<std::string> values) {
    return compose(n, fallback, values);
}

std::string NumberedText::shown() const { return compose(number, fallback, values); }

NumberedText numberedText(int n, std::string fallback, std::vector<std::string> values) {
    return {n, std::move(fallback), std::move(values)};
}

}  // namespace tolvenk::platform
