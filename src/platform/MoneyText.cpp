#include "platform/MoneyText.h"

#include <cctype>
#include <charconv>
#include <cmath>

namespace tolvenk {

std::string centsMagnitude(std::int64_t cents) {
    // In unsigned arithmetic: -2^63 has no positive twin.
    const std::uint64_t a = cents < 0 ? 0 - static_cast<std::uint64_t>(cents) : static_cast<std::uint64_t>(cents);
    const std::uint64_t frac = a % 100;
    return std::to_string(a / 100) + (frac < 10 ? ".0" : ".") + std::to_string(frac);
}

std::string centsText(std::int64_t cents) { return (cents < 0 ? "-" : "") + centsMagnitude(cents); }

std::string centsPlainText(std::int64_t cents) {
    std::string text = centsText(cents);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

std::string centsText(double cents) {
    const double r = std::round(cents);
    // 2^63 itself does not fit; every double below it in magnitude does.
    if (!std::isfinite(r) || std::fabs(r) >= 9223372036854775808.0) return kOverflowMark;
    return centsText(static_cast<std::int64_t>(r));
}

namespace {

__extension__ using Wide = __int128;
__extension__ using UWide = unsigned __int128;

std::string digitsOf(UWide a) {
    std::string out;
    do {
        out.insert(out.begin(), static_cast<char>('0' + static_cast<int>(a % 10)));
        a /= 10;
    } while (a != 0);
    return out;
}

UWide magnitudeOf(Wide v) { return v < 0 ? UWide(0) - static_cast<UWide>(v) : static_cast<UWide>(v); }

}  // namespace

void Exact_Sum::add(std::int64_t v) {
    if (exact_ && __builtin_add_overflow(v_, Wide{v}, &v_)) exact_ = false;
}

void Exact_Sum::sub(std::int64_t v) {
    if (exact_ && __builtin_sub_overflow(v_, Wide{v}, &v_)) exact_ = false;
}

void Exact_Sum::add(const Exact_Sum& o) {
    if (!o.exact_) exact_ = false;
    else if (exact_ && __builtin_add_overflow(v_, o.v_, &v_)) exact_ = false;
}

void Exact_Sum::sub(const Exact_Sum& o) {
    if (!o.exact_) exact_ = false;
    else if (exact_ && __builtin_sub_overflow(v_, o.v_, &v_)) exact_ = false;
}

void Exact_Sum::add(const std::string& text, bool magnitude) {
    std::int64_t v = 0;
    const char* end = text.data() + text.size();
    if (const auto [at, ec] = std::from_chars(text.data(), end, v); ec != std::errc() || at != end) {
        exact_ = false;
        return;
    }
    const Wide w = magnitude && v < 0 ? -Wide{v} : Wide{v};
    if (exact_ && __builtin_add_overflow(v_, w, &v_)) exact_ = false;
}

std::string Exact_Sum::cents(bool negated) const {
    if (!exact_) return kOverflowMark;
    const bool negative = negated ? v_ > 0 : v_ < 0;
    const UWide a = magnitudeOf(v_);
    const int frac = static_cast<int>(a % 100);
    return (negative ? "-" : "") + digitsOf(a / 100) + (frac < 10 ? ".0" : ".") + std::to_string(frac);
}

std::string Exact_Sum::plainCents() const {
    if (!exact_) return kOverflowMark;
    std::string text = cents();
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    return text;
}

std::string Exact_Sum::whole(bool negated) const {
    if (!exact_) return kOverflowMark;
    const bool negative = negated ? v_ > 0 : v_ < 0;
    return (negative ? "-" : "") + digitsOf(magnitudeOf(v_));
}

namespace {

// Decimal yuan to hundredths on their decimal digits, in checked arithmetic;
// at most `wholeLimit` digits before the point.
std::optional<std::int64_t> parseYuan(const std::string& text, int wholeLimit) {
    std::size_t b = 0, e = text.size();
    while (b < e && std::isspace(static_cast<unsigned char>(text[b]))) ++b;
    while (e > b && std::isspace(static_cast<unsigned char>(text[e - 1]))) --e;
    bool negative = false;
    if (b < e && (text[b] == '+' || text[b] == '-')) negative = text[b++] == '-';
    const auto digit = [&](std::size_t i) { return std::isdigit(static_cast<unsigned char>(text[i])) != 0; };
    // Counted negative: -2^63 hundredths has no positive twin.
    std::int64_t whole = 0;
    int wholeDigits = 0, fracDigits = 0, frac[3] = {0, 0, 0};
    std::size_t i = b;
    for (; i < e && digit(i); ++i, ++wholeDigits) {
        if (wholeDigits == wholeLimit) return std::nullopt;
        if (__builtin_mul_overflow(whole, 10, &whole) || __builtin_sub_overflow(whole, text[i] - '0', &whole))
            return std::nullopt;
    }
    if (i < e && text[i] == '.')
        for (++i; i < e && digit(i); ++i, ++fracDigits)
            if (fracDigits < 3) frac[fracDigits] = text[i] - '0';
    if (i != e || wholeDigits + fracDigits == 0) return std::nullopt;
    // Decimal digits, not a binary fraction: 1.005 is 101 hundredths.
    std::int64_t cents;
    if (__builtin_mul_overflow(whole, 100, &cents) ||
        __builtin_sub_overflow(cents, frac[0] * 10 + frac[1] + (frac[2] >= 5 ? 1 : 0), &cents))
        return std::nullopt;
    if (negative) return cents;
    if (cents == INT64_MIN) return std::nullopt;
    return -cents;
}

}  // namespace

std::optional<std::int64_t> yuanToCents(const std::string& text) { return parseYuan(text, 15); }

std::optional<std::int64_t> shownToCents(const std::string& text) { return parseYuan(text, 40); }

}  // namespace tolvenk
