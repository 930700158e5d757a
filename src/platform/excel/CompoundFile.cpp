#include "platform/excel/CompoundFile.h"

#include <cstring>
#include <functional>

#include "platform/excel/XlsxReader.h"

namespace tolvenk::excel {

namespace {

constexpr std::uint32_t kEndOfChain = 0xFFFFFFFE;
constexpr std::uint32_t kNoEntry = 0xFFFFFFFF;
constexpr std::size_t kHeaderSize = 512;

std::uint32_t u32(const char* p) {
    std::uint32_t v;
    std::memcpy(&v, p, 4);
    return v;  // the format is little-endian, as every machine this runs on
}
std::uint16_t u16(const char* p) {
    std::uint16_t v;
    std::memcpy(&v, p, 2);
    return v;
}

[[noreturn]] void damaged(const std::string& what) {
    throw WorkbookError("compound file: " + what, WorkbookProblem::Damaged);
}

}  // namespace

const char* CompoundFile::sector(std::uint32_t n) const {
    const std::uint64_t at = (static_cast<std::uint64_t>(n) + 1) * sectorSize_;
    if (at + sectorSize_ > bytes_.size()) damaged("sector " + std::to_string(n) + " lies past the end");
    return bytes_.data() + at;
}

// The bytes of a chain of sectors (unit = sector size) or of mini sectors
// (unit = 64, read from the mini stream), following the table given.
std::string CompoundFile::chain(std::uint32_t start, const std::vector<std::uint32_t>& table, std::size_t unit,
                                const std::string& from) const {
    std::string out;
    const bool mini = &table == &miniFat_;
    // A chain longer than its table loops.
    for (std::size_t steps = 0; start != kEndOfChain; ++steps) {
        if (start >= table.size() || steps > table.size()) damaged(from + " has a broken chain");
        if (mini) {
            const std::uint64_t at = static_cast<std::uint64_t>(start) * unit;
            if (at + unit > miniStream_.size()) damaged(from + " lies past the mini stream");
            out.append(miniStream_, at, unit);
        } else {
            out.append(sector(start), unit);
        }
        start = table[start];
    }
    return out;
}

CompoundFile::CompoundFile(std::string bytes) : bytes_(std::move(bytes)) {
    if (bytes_.size() < kHeaderSize) damaged("shorter than its header");
    const char* h = bytes_.data();
    const std::uint16_t shift = u16(h + 0x1E);
    if (shift != 9 && shift != 12) damaged("unknown sector size");
    sectorSize_ = std::size_t{1} << shift;
    // Some writers end the file inside its last sector.
    bytes_.resize((bytes_.size() + sectorSize_ - 1) / sectorSize_ * sectorSize_, '\0');
    h = bytes_.data();
    if (u16(h + 0x20) != 6) damaged("unknown mini sector size");
    miniCutoff_ = u32(h + 0x38);

    // The allocation table's own sectors: 109 named in the header, the
    // rest in a chain of further lists, each ending with its successor.
    std::vector<std::uint32_t> fatSectors;
    const std::uint32_t fatCount = u32(h + 0x2C);
    for (std::size_t i = 0; i < 109 && fatSectors.size() < fatCount; ++i) fatSectors.push_back(u32(h + 0x4C + 4 * i));
    const std::size_t perSector = sectorSize_ / 4;
    std::uint32_t more = u32(h + 0x44);
    for (std::uint32_t n = 0; fatSectors.size() < fatCount; ++n) {
        if (more == kEndOfChain || more == kNoEntry || n > bytes_.size() / sectorSize_)
            damaged("the allocation table is incomplete");
        const char* s = sector(more);
        for (std::size_t i = 0; i + 1 < perSector && fatSectors.size() < fatCount; ++i)
            fatSectors.push_back(u32(s + 4 * i));
        more = u32(s + 4 * (perSector - 1));
    }
    for (std::uint32_t s : fatSectors) {
        const char* p = sector(s);
        for (std::size_t i = 0; i < perSector; ++i) fat_.push_back(u32(p + 4 * i));
    }

    const std::string dir = chain(u32(h + 0x30), fat_, sectorSize_, "the directory");
    for (std::size_t at = 0; at + 128 <= dir.size(); at += 128) {
        const char* e = dir.data() + at;
        Entry entry;
        const std::size_t chars = std::min<std::size_t>(u16(e + 0x40) / 2, 32);
        for (std::size_t i = 0; i + 1 < chars; ++i) {
            const std::uint16_t c = u16(e + 2 * i);
            entry.name += c < 0x80 ? static_cast<char>(c >= 'a' && c <= 'z' ? c - 32 : c) : '?';
        }
        entry.type = static_cast<unsigned char>(e[0x42]);
        entry.left = u32(e + 0x44);
        entry.right = u32(e + 0x48);
        entry.child = u32(e + 0x4C);
        entry.start = u32(e + 0x74);
        entry.size = u32(e + 0x78);
        entries_.push_back(entry);
    }
    if (entries_.empty() || entries_[0].type != 5) damaged("the directory has no root");

    const std::uint32_t miniFatStart = u32(h + 0x3C);
    if (miniFatStart != kEndOfChain && miniFatStart != kNoEntry) {
        const std::string table = chain(miniFatStart, fat_, sectorSize_, "the mini allocation table");
        for (std::size_t i = 0; i + 4 <= table.size(); i += 4) miniFat_.push_back(u32(table.data() + i));
        miniStream_ = chain(entries_[0].start, fat_, sectorSize_, "the mini stream");
    }
}

std::optional<std::string> CompoundFile::stream(const std::string& name) const {
    std::string wanted;
    for (char c : name) wanted += c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c;
    // The root's children form a tree through their left and right links.
    std::vector<bool> seen(entries_.size());
    std::function<const Entry*(std::uint32_t)> find = [&](std::uint32_t i) -> const Entry* {
        if (i >= entries_.size() || seen[i]) return nullptr;
        seen[i] = true;
        const Entry& e = entries_[i];
        if (e.type == 2 && e.name == wanted) return &e;
        if (const Entry* l = find(e.left)) return l;
        return find(e.right);
    };
    const Entry* e = find(entries_[0].child);
    if (!e) return std::nullopt;
    const bool mini = e->size < miniCutoff_;
    std::string data = chain(e->start, mini ? miniFat_ : fat_, mini ? 64 : sectorSize_, e->name);
    if (data.size() < e->size) damaged(e->name + " is shorter than its directory entry says");
    data.resize(static_cast<std::size_t>(e->size));
    return data;
}

}  // namespace tolvenk::excel
