#include "support/XlsWriter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <map>
#include <stdexcept>

#include <QString>

namespace tolvenk::test {

namespace {

void put16(std::string& out, unsigned v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void set32(std::string& out, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out[at + static_cast<std::size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

void record(std::string& out, unsigned type, const std::string& body) {
    if (body.size() > 8224) throw std::length_error("record too long for this writer");
    put16(out, type);
    put16(out, static_cast<unsigned>(body.size()));
    out += body;
}

std::string utf16(const std::string& text) {
    const QString s = QString::fromUtf8(text.c_str(), static_cast<qsizetype>(text.size()));
    std::string out;
    for (QChar c : s) put16(out, c.unicode());
    return out;
}

// BIFF8 unicode text with a 16-bit length, always stored as UTF-16.
std::string longText(const std::string& text) {
    const std::string chars = utf16(text);
    std::string out;
    put16(out, static_cast<unsigned>(chars.size() / 2));
    out += '\x01';
    return out + chars;
}

std::string shortText(const std::string& text) {
    const std::string chars = utf16(text);
    std::string out;
    out += static_cast<char>(chars.size() / 2);
    out += '\x01';
    return out + chars;
}

std::string bof(unsigned kind) {
    std::string b;
    put16(b, 0x0600);  // BIFF8
    put16(b, kind);    // 5 globals, 0x10 worksheet
    put16(b, 0x0DBB);
    put16(b, 0x07CC);
    put32(b, 0);
    put32(b, 0x06);
    return b;
}

// One cell style and the fonts the styles table refers to.
void styles(std::string& out) {
    for (int i = 0; i < 5; ++i) {  // font 4 does not exist in the format; five keep indexes plain
        std::string f;
        put16(f, 200);  // height in twentieths of a point
        put16(f, 0);
        put16(f, 0x7FFF);
        put16(f, 400);
        put16(f, 0);
        f += '\0';
        f += '\0';
        f += '\0';
        f += '\0';
        f += shortText("Arial");
        record(out, 0x0031, f);
    }
    for (int i = 0; i < 16; ++i) {  // the 15 style records every workbook has, and one cell style
        std::string x;
        put16(x, 0);      // font
        put16(x, 0);      // number format: General
        put16(x, i < 15 ? 0xFFF5 : 0x0001);
        x += '\x20';
        x += '\0';
        x += '\0';
        x += i < 15 ? '\xF4' : '\0';
        put32(x, 0);
        put32(x, 0);
        put16(x, 0x20C0);
        record(out, 0x00E0, x);
    }
}

constexpr std::uint32_t kFree = 0xFFFFFFFF, kEnd = 0xFFFFFFFE, kFatSector = 0xFFFFFFFD, kListSector = 0xFFFFFFFC,
                        kNoStream = 0xFFFFFFFF;
constexpr std::size_t kSector = 512;
constexpr std::size_t kMiniCutoff = 4096;

std::string dirEntry(const std::string& name, int type, std::uint32_t child, std::uint32_t start, std::uint32_t size) {
    std::string e(128, '\0');
    if (!name.empty()) {
        const std::string n = utf16(name);
        std::memcpy(e.data(), n.data(), std::min<std::size_t>(n.size(), 62));
        e[64] = static_cast<char>(n.size() + 2);
    }
    e[66] = static_cast<char>(type);
    e[67] = 1;  // black
    set32(e, 68, kNoStream);
    set32(e, 72, kNoStream);
    set32(e, 76, child);
    set32(e, 116, start);
    set32(e, 120, size);
    return e;
}

}  // namespace

XlsWriter& XlsWriter::sheet(const std::string& name) {
    sheets_.push_back({name, {}});
    return *this;
}

XlsWriter& XlsWriter::cell(int row, int col, const Value& value) {
    if (sheets_.empty()) sheet("Sheet1");
    sheets_.back().cells.push_back({row, col, value});
    return *this;
}

XlsWriter& XlsWriter::row(int r, const std::vector<Value>& values) {
    for (std::size_t c = 0; c < values.size(); ++c) {
        const auto* text = std::get_if<std::string>(&values[c]);
        if (text && text->empty()) continue;
        cell(r, static_cast<int>(c), values[c]);
    }
    return *this;
}

XlsWriter& XlsWriter::password() {
    password_ = true;
    return *this;
}

void XlsWriter::save(const std::string& path) const {
    // Shared texts, in order of first use.
    std::vector<std::string> texts;
    std::map<std::string, std::uint32_t> index;
    std::uint32_t uses = 0;
    for (const Sheet& s : sheets_)
        for (const Cell& c : s.cells)
            if (const auto* t = std::get_if<std::string>(&c.value)) {
                ++uses;
                if (index.emplace(*t, static_cast<std::uint32_t>(texts.size())).second) texts.push_back(*t);
            }

    std::string globals;
    record(globals, 0x0809, bof(0x0005));
    if (password_) {
        std::string fp;
        put16(fp, 0);       // XOR obfuscation
        put16(fp, 0xA5E1);  // key
        put16(fp, 0xCC3D);  // password verifier
        record(globals, 0x002F, fp);
    }
    {
        std::string cp;
        put16(cp, 0x04B0);  // UTF-16
        record(globals, 0x0042, cp);
    }
    styles(globals);
    std::vector<std::size_t> sheetOffsetAt;
    for (const Sheet& s : sheets_) {
        std::string bs;
        put32(bs, 0);  // the sheet's position, filled in below
        bs += '\0';
        bs += '\0';
        bs += shortText(s.name);
        sheetOffsetAt.push_back(globals.size() + 4);
        record(globals, 0x0085, bs);
    }
    {
        std::string sst;
        put32(sst, uses);
        put32(sst, static_cast<std::uint32_t>(texts.size()));
        for (const std::string& t : texts) sst += longText(t);
        record(globals, 0x00FC, sst);
    }
    record(globals, 0x000A, "");

    std::string stream = globals;
    for (std::size_t i = 0; i < sheets_.size(); ++i) {
        const Sheet& s = sheets_[i];
        set32(stream, sheetOffsetAt[i], static_cast<std::uint32_t>(stream.size()));
        record(stream, 0x0809, bof(0x0010));
        int rows = 0, cols = 0;
        for (const Cell& c : s.cells) {
            rows = std::max(rows, c.row + 1);
            cols = std::max(cols, c.col + 1);
        }
        std::string dim;
        put32(dim, 0);
        put32(dim, static_cast<std::uint32_t>(rows));
        put16(dim, 0);
        put16(dim, static_cast<unsigned>(cols));
        put16(dim, 0);
        record(stream, 0x0200, dim);
        for (const Cell& c : s.cells) {
            std::string b;
            put16(b, static_cast<unsigned>(c.row));
            put16(b, static_cast<unsigned>(c.col));
            put16(b, 15);  // the cell style
            if (const auto* t = std::get_if<std::string>(&c.value)) {
                put32(b, index.at(*t));
                record(stream, 0x00FD, b);
            } else {
                const double d = std::get<double>(c.value);
                char raw[8];
                std::memcpy(raw, &d, 8);
                b.append(raw, 8);
                record(stream, 0x0203, b);
            }
        }
        record(stream, 0x000A, "");
    }
    saveCompound(path, "Workbook", stream);
}

void XlsWriter::saveCompound(const std::string& path, const std::string& streamName, const std::string& bytes) {
    // Streams below the cutoff would belong in the mini stream; zeros after
    // the last record keep this writer to ordinary sectors, and readers stop
    // at the stream's stated end of records anyway.
    std::string data = bytes;
    const std::uint32_t size = static_cast<std::uint32_t>(std::max(data.size(), kMiniCutoff));
    data.resize((size + kSector - 1) / kSector * kSector, '\0');
    const std::uint32_t dataSectors = static_cast<std::uint32_t>(data.size() / kSector);

    // The allocation table's sectors first, then the further lists of them
    // (past the 109 the header names, 127 to a list and its successor's
    // number last), the directory, the stream.
    constexpr std::uint32_t perSector = kSector / 4, inHeader = 109;
    std::uint32_t fatSectors = 1, lists = 0;
    for (;;) {
        const std::uint32_t all = fatSectors + lists + 1 + dataSectors;
        const std::uint32_t f = (all + perSector - 1) / perSector;
        const std::uint32_t l = f > inHeader ? (f - inHeader + perSector - 2) / (perSector - 1) : 0;
        if (f == fatSectors && l == lists) break;
        fatSectors = f;
        lists = l;
    }
    const std::uint32_t dirSector = fatSectors + lists, firstData = dirSector + 1;

    std::string fat;
    for (std::uint32_t i = 0; i < fatSectors; ++i) put32(fat, kFatSector);
    for (std::uint32_t i = 0; i < lists; ++i) put32(fat, kListSector);
    put32(fat, kEnd);
    for (std::uint32_t i = 0; i < dataSectors; ++i) put32(fat, i + 1 < dataSectors ? firstData + i + 1 : kEnd);
    while (fat.size() < std::size_t{fatSectors} * kSector) put32(fat, kFree);

    std::string more;
    for (std::uint32_t l = 0; l < lists; ++l) {
        for (std::uint32_t i = 0; i + 1 < perSector; ++i) {
            const std::uint32_t n = inHeader + l * (perSector - 1) + i;
            put32(more, n < fatSectors ? n : kFree);
        }
        put32(more, l + 1 < lists ? fatSectors + l + 1 : kEnd);
    }

    std::string dir = dirEntry("Root Entry", 5, 1, kEnd, 0) + dirEntry(streamName, 2, kNoStream, firstData, size) +
                      dirEntry("", 0, kNoStream, 0, 0) + dirEntry("", 0, kNoStream, 0, 0);

    std::string header;
    header += std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
    header += std::string(16, '\0');
    put16(header, 0x003E);
    put16(header, 0x0003);
    put16(header, 0xFFFE);
    put16(header, 9);  // 512-byte sectors
    put16(header, 6);  // 64-byte mini sectors
    header += std::string(6, '\0');
    put32(header, 0);  // directory sectors (always 0 in version 3)
    put32(header, fatSectors);  // allocation-table sectors
    put32(header, dirSector);   // first directory sector
    put32(header, 0);
    put32(header, static_cast<std::uint32_t>(kMiniCutoff));
    put32(header, kEnd);  // no mini table
    put32(header, 0);
    put32(header, lists ? fatSectors : kEnd);  // the first further list, if any
    put32(header, lists);
    for (std::uint32_t i = 0; i < inHeader; ++i) put32(header, i < fatSectors ? i : kFree);

    std::ofstream out(path, std::ios::binary);
    out << header << fat << more << dir << data;
    if (!out) throw std::runtime_error("cannot write " + path);
}

}  // namespace tolvenk::test
