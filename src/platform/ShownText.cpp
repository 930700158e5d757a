#include "platform/ShownText.h"

#include <atomic>
#include <vector>

namespace tolvenk::platform {

namespace {

std::atomic<TextLookup> installed{nullptr};

template <class Values>
std::string compose(int n, const std::string& fallback, const Values& values) {
    const TextLookup lookup = installed.load();
    std::string text = lookup ? lookup(n) : std::string();
    if (text.empty()) text = fallback;
    return fillIn(text, std::vector<std::string>(values.begin(), values.end()));
}

}  // namespace

std::string fillIn(const std::string& text, const std::vector<std::string>& values) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 1 < text.size() && text[i + 1] >= '1' && text[i + 1] <= '9') {
            const auto k = static_cast<std::size_t>(text[i + 1] - '1');
            if (k < values.size()) {
                out += values[k];
                ++i;
                continue;
            }
        }
        out += text[i];
    }
    return out;
}

void setTextLookup(TextLookup lookup) { installed.store(lookup); }

std::string shownText(int n, const std::string& fallback, std::initializer_list<std::string> values) {
    return compose(n, fallback, values);
}

std::string NumberedText::shown() const { return compose(number, fallback, values); }

NumberedText numberedText(int n, std::string fallback, std::vector<std::string> values) {
    return {n, std::move(fallback), std::move(values)};
}

}  // namespace tolvenk::platform
