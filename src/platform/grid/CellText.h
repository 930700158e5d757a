#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tolvenk::grid {

// A cell's text in 14 bytes. A grid of a million rows keeps most of its
// texts here without a heap block of their own: short texts inline, whole
// numbers and "yyyy-MM-dd hh:mm:ss" times as 64-bit numbers (given back as
// the very text they came from), only longer texts on the heap.
class CellText {
public:
    CellText() = default;
    explicit CellText(std::string_view t) { assign(t); }
    ~CellText() { release(); }
    CellText(const CellText& o) { copyFrom(o); }
    CellText(CellText&& o) noexcept;
    CellText& operator=(const CellText& o);
    CellText& operator=(CellText&& o) noexcept;

    void assign(std::string_view t);
    std::string str() const;
    bool empty() const { return tag_ == 0; }

    // How the text is kept (for tests of the packing).
    enum class Kept { Inline, Heap, Whole, Time };
    Kept kept() const;

    // The packed form as it is, for a store that writes cells out and reads
    // them back without making and parsing their texts again: the number of
    // a whole number or a time, else the text's own bytes.
    std::int64_t number() const;
    std::string_view bytes() const;
    void setWhole(std::int64_t v);
    void setTime(std::int64_t v);
    // A text known to be neither a whole number nor a time.
    void assignOther(std::string_view t);

private:
    static constexpr int kInline = 13;
    static constexpr std::uint8_t kHeap = 14, kWhole = 15, kTime = 16;
    void release();
    void copyFrom(const CellText& o);
    const char* heapText() const;
    std::uint32_t heapSize() const;
    void setNumber(std::int64_t v, std::uint8_t tag);

    char b_[kInline]{};
    std::uint8_t tag_ = 0;  // the inline length, or a kind above it
};

}  // namespace tolvenk::grid
