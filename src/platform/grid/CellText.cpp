#include "platform/grid/CellText.h"

#include <cstring>
#include <limits>

namespace tolvenk::grid {

namespace {

bool digit(char c) { return c >= '0' && c <= '9'; }

// The number a text is the exact decimal form of ("-12", never "012", "-0" or "+1").
bool wholeNumber(std::string_view t, std::int64_t& out) {
    std::size_t i = t.size() > 0 && t[0] == '-' ? 1 : 0;
    const std::size_t digits = t.size() - i;
    if (digits == 0 || digits > 18) return false;
    if (t[i] == '0' && (digits > 1 || i == 1)) return false;
    std::int64_t v = 0;
    for (std::size_t k = i; k < t.size(); ++k) {
        if (!digit(t[k])) return false;
        v = v * 10 + (t[k] - '0');
    }
    out = i == 1 ? -v : v;
    return true;
}

// "yyyy-MM-dd hh:mm:ss" as the number yyyyMMddhhmmss; any other shape is no time.
bool timeNumber(std::string_view t, std::int64_t& out) {
    static constexpr char kShape[] = "dddd-dd-dd dd:dd:dd";
    if (t.size() != sizeof kShape - 1) return false;
    std::int64_t v = 0;
    for (std::size_t k = 0; k < t.size(); ++k) {
        if (kShape[k] == 'd') {
            if (!digit(t[k])) return false;
            v = v * 10 + (t[k] - '0');
        } else if (t[k] != kShape[k]) {
            return false;
        }
    }
    out = v;
    return true;
}

std::string timeText(std::int64_t v) {
    std::string out = "0000-00-00 00:00:00";
    for (int k = static_cast<int>(out.size()) - 1; k >= 0; --k) {
        if (out[static_cast<std::size_t>(k)] != '0') continue;  // a separator
        out[static_cast<std::size_t>(k)] = static_cast<char>('0' + v % 10);
        v /= 10;
    }
    return out;
}

}  // namespace

CellText::CellText(CellText&& o) noexcept {
    std::memcpy(b_, o.b_, sizeof b_);
    tag_ = o.tag_;
    o.tag_ = 0;
}

CellText& CellText::operator=(const CellText& o) {
    if (this != &o) {
        release();
        copyFrom(o);
    }
    return *this;
}

CellText& CellText::operator=(CellText&& o) noexcept {
    if (this != &o) {
        release();
        std::memcpy(b_, o.b_, sizeof b_);
        tag_ = o.tag_;
        o.tag_ = 0;
    }
    return *this;
}

void CellText::release() {
    if (tag_ == kHeap) delete[] heapText();
    tag_ = 0;
}

const char* CellText::heapText() const {
    const char* p = nullptr;
    std::memcpy(&p, b_, sizeof p);
    return p;
}

std::uint32_t CellText::heapSize() const {
    std::uint32_t n = 0;
    std::memcpy(&n, b_ + sizeof(char*), sizeof n);
    return n;
}

std::int64_t CellText::number() const {
    std::int64_t v = 0;
    std::memcpy(&v, b_, sizeof v);
    return v;
}

void CellText::setNumber(std::int64_t v, std::uint8_t tag) {
    std::memcpy(b_, &v, sizeof v);
    tag_ = tag;
}

void CellText::copyFrom(const CellText& o) {
    if (o.tag_ == kHeap) {
        const std::uint32_t n = o.heapSize();
        char* p = new char[n];
        std::memcpy(p, o.heapText(), n);
        std::memcpy(b_, &p, sizeof p);
        std::memcpy(b_ + sizeof p, &n, sizeof n);
    } else {
        std::memcpy(b_, o.b_, sizeof b_);
    }
    tag_ = o.tag_;
}

void CellText::assign(std::string_view t) {
    std::int64_t v = 0;
    if (wholeNumber(t, v)) return setWhole(v);
    if (timeNumber(t, v)) return setTime(v);
    assignOther(t);
}

void CellText::setWhole(std::int64_t v) {
    release();
    setNumber(v, kWhole);
}

void CellText::setTime(std::int64_t v) {
    release();
    setNumber(v, kTime);
}

std::string_view CellText::bytes() const {
    if (tag_ == kHeap) return {heapText(), heapSize()};
    return tag_ <= kInline ? std::string_view(b_, tag_) : std::string_view();
}

void CellText::assignOther(std::string_view t) {
    release();
    if (t.size() <= kInline) {
        std::memcpy(b_, t.data(), t.size());
        tag_ = static_cast<std::uint8_t>(t.size());
        return;
    }
    if (t.size() > std::numeric_limits<std::uint32_t>::max()) t = t.substr(0, std::numeric_limits<std::uint32_t>::max());
    const auto n = static_cast<std::uint32_t>(t.size());
    char* p = new char[n];
    std::memcpy(p, t.data(), n);
    std::memcpy(b_, &p, sizeof p);
    std::memcpy(b_ + sizeof p, &n, sizeof n);
    tag_ = kHeap;
}

std::string CellText::str() const {
    switch (tag_) {
    case kHeap: return std::string(heapText(), heapSize());
    case kWhole: return std::to_string(number());
    case kTime: return timeText(number());
    default: return std::string(b_, tag_);
    }
}

CellText::Kept CellText::kept() const {
    switch (tag_) {
    case kHeap: return Kept::Heap;
    case kWhole: return Kept::Whole;
    case kTime: return Kept::Time;
    default: return Kept::Inline;
    }
}

}  // namespace tolvenk::grid
