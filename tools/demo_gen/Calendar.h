#pragma once
// Randomness and the calendar of the generator: fixed, so that a seed gives
// the same data with any compiler and library.
#include <algorithm>
#include <cstdint>
#include <random>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace tolvenk::demo::gen {

using i64 = std::int64_t;

constexpr i64 kDay = 86400;

// ------------------------------------------------------------------ randomness

// The standard distributions may change between library versions, which would
// change the data of a seed; these are fixed.
class Rng {
public:
    explicit Rng(unsigned seed) : gen_(seed) {}

    // Uniform in [lo, hi] for spans up to 2^32; rejection keeps it unbiased.
    i64 between(i64 lo, i64 hi) {
        const std::uint64_t span = static_cast<std::uint64_t>(hi - lo) + 1;
        constexpr std::uint64_t range = std::uint64_t{1} << 32;
        const std::uint64_t limit = range - range % span;
        std::uint64_t x;
        do x = static_cast<std::uint32_t>(gen_());
        while (x >= limit);
        return lo + static_cast<i64>(x % span);
    }
    bool oneIn(i64 n) { return between(0, n - 1) == 0; }
    std::size_t weighted(std::span<const int> weights) {
        i64 total = 0;
        for (int w : weights) total += w;
        i64 x = between(0, total - 1);
        for (std::size_t i = 0; i < weights.size(); ++i) {
            if (x < weights[i]) return i;
            x -= weights[i];
        }
        return weights.size() - 1;
    }
    // Index by a running total of weights (last element = total).
    std::size_t cumulative(const std::vector<i64>& running) {
        const i64 x = between(0, running.back() - 1);
        return static_cast<std::size_t>(std::upper_bound(running.begin(), running.end(), x) - running.begin());
    }
    template <class T>
    void shuffle(std::vector<T>& v) {
        for (std::size_t i = v.size(); i > 1; --i) std::swap(v[i - 1], v[static_cast<std::size_t>(between(0, i - 1))]);
    }

private:
    std::mt19937 gen_;
};

// -------------------------------------------------------------------- calendar

struct Civil {
    int y;
    int m;
    int d;
};

// Day numbers counted from 1970-01-01, proleptic Gregorian.
inline i64 daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const i64 era = (y >= 0 ? y : y - 399) / 400;
    const i64 yoe = y - era * 400;
    const i64 doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const i64 doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

inline Civil civilFromDays(i64 z) {
    z += 719468;
    const i64 era = (z >= 0 ? z : z - 146096) / 146097;
    const i64 doe = z - era * 146097;
    const i64 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const i64 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const i64 mp = (5 * doy + 2) / 153;
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    return {static_cast<int>(yoe + era * 400 + (m <= 2)), m, d};
}

inline int weekday(i64 days) { return static_cast<int>(((days % 7) + 11) % 7); }  // 0 = Sunday

inline i64 parseDay(const std::string& text, const char* what) {
    auto bad = [&] { return std::invalid_argument(std::string(what) + " must be a date yyyy-MM-dd, not '" + text + "'"); };
    if (text.size() != 10 || text[4] != '-' || text[7] != '-') throw bad();
    int parts[3] = {0, 0, 0};
    const std::size_t starts[3] = {0, 5, 8}, lengths[3] = {4, 2, 2};
    for (int k = 0; k < 3; ++k)
        for (std::size_t i = starts[k]; i < starts[k] + lengths[k]; ++i) {
            if (text[i] < '0' || text[i] > '9') throw bad();
            parts[k] = parts[k] * 10 + (text[i] - '0');
        }
    if (parts[0] < 1990 || parts[0] > 2999 || parts[1] < 1 || parts[1] > 12 || parts[2] < 1) throw bad();
    const i64 days = daysFromCivil(parts[0], parts[1], parts[2]);
    const Civil back = civilFromDays(days);
    if (back.m != parts[1] || back.d != parts[2]) throw bad();  // 2026-02-30 and the like
    return days;
}

// Seconds since 1970-01-01 00:00:00 of "yyyy-MM-dd hh:mm:ss".
inline i64 parseTime(const std::string& text, const char* what) {
    auto bad = [&] { return std::invalid_argument(std::string(what) + " must be a time yyyy-MM-dd hh:mm:ss, not '" + text + "'"); };
    if (text.size() != 19 || text[10] != ' ' || text[13] != ':' || text[16] != ':') throw bad();
    const i64 day = parseDay(text.substr(0, 10), what);
    int parts[3] = {0, 0, 0};
    for (int k = 0; k < 3; ++k)
        for (std::size_t i = 11 + 3 * static_cast<std::size_t>(k); i < 13 + 3 * static_cast<std::size_t>(k); ++i) {
            if (text[i] < '0' || text[i] > '9') throw bad();
            parts[k] = parts[k] * 10 + (text[i] - '0');
        }
    if (parts[0] > 23 || parts[1] > 59 || parts[2] > 59) throw bad();
    return day * kDay + parts[0] * 3600 + parts[1] * 60 + parts[2];
}

inline void put(char* out, i64 v, int width) {
    for (int i = width - 1; i >= 0; --i, v /= 10) out[i] = static_cast<char>('0' + v % 10);
}

inline std::string timeText(i64 t) {
    const i64 days = t / kDay, sec = t % kDay;
    const Civil c = civilFromDays(days);
    std::string s = "yyyy-MM-dd hh:mm:ss";
    put(&s[0], c.y, 4);
    put(&s[5], c.m, 2);
    put(&s[8], c.d, 2);
    put(&s[11], sec / 3600, 2);
    put(&s[14], sec / 60 % 60, 2);
    put(&s[17], sec % 60, 2);
    return s;
}

inline std::string dayText(i64 days) { return timeText(days * kDay).substr(0, 10); }

inline std::string padded(i64 v, int width) {
    std::string s(static_cast<std::size_t>(width), '0');
    put(&s[0], v, width);
    return s;
}

constexpr i64 hms(int h, int m = 0, int s = 0) { return h * 3600 + m * 60 + s; }

}  // namespace tolvenk::demo::gen
