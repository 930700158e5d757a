#pragma once
// Money as the windows show it: hundredths (fen) as "12.34", the money sign
// put in front by the caller.
#include <cstdint>
#include <optional>
#include <string>

namespace tolvenk {

// Whole-number arithmetic, right for every 64-bit value: -5 is "-0.05".
std::string centsText(std::int64_t cents);
// The amount without its sign (-2^63 has no positive twin, but a text).
std::string centsMagnitude(std::int64_t cents);
// The amount as a plain number, without trailing zeros: 123450 is "1234.5",
// 100 is "1", -5 is "-0.05".
std::string centsPlainText(std::int64_t cents);

// Hundredths that arrive as a number read from text: rounded half away from
// zero; a value no 64-bit count of hundredths can hold shows as kOverflowMark.
std::string centsText(double cents);
inline constexpr const char* kOverflowMark = "########";

// An exact running sum of stored whole numbers (amounts in fen, counts),
// wider than any one of them: the sum of 64-bit amounts is shown as it is.
// A value that was no whole 64-bit number leaves it inexact, shown as
// kOverflowMark, as is a sum past 127 bits.
class Exact_Sum {
public:
    void add(std::int64_t v);
    void sub(std::int64_t v);
    // Another running sum; an inexact one leaves this inexact too.
    void add(const Exact_Sum& o);
    void sub(const Exact_Sum& o);
    // A stored value as text; `magnitude` adds it without its sign.
    void add(const std::string& text, bool magnitude = false);
    // A value that cannot be read as a whole number: the sum is no longer exact.
    void addUnknown() { exact_ = false; }
    bool exact() const { return exact_; }
    bool isZero() const { return exact_ && v_ == 0; }
    // Hundredths as "12.34" (negated when asked), or the overflow mark.
    std::string cents(bool negated = false) const;
    // The same without trailing zeros, as centsPlainText writes it.
    std::string plainCents() const;
    // The plain whole number (negated when asked), or the overflow mark.
    std::string whole(bool negated = false) const;

private:
    __extension__ using Wide = __int128;
    Wide v_ = 0;
    bool exact_ = true;
};

// A typed amount of yuan ("12.5", " -3 ", "0.125") as hundredths, rounded half
// away from zero on its decimal digits; nothing when it is not a plain decimal
// number or has more than 15 digits before the point.
std::optional<std::int64_t> yuanToCents(const std::string& text);
// Money as a window shows it ("12.34", "-0.05", with any number of whole
// digits) back to hundredths, exactly, rounded as yuanToCents rounds; nothing
// when it is no such number or no 64-bit count of hundredths holds it.
std::optional<std::int64_t> shownToCents(const std::string& text);

}  // namespace tolvenk
