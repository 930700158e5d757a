#include "platform/grid/ExportCommon.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace tolvenk::grid::exporting {

std::optional<Colour> backOf(const GridModel& m, int r, int c) {
    if (auto own = m.backColor(r, c)) return own;
    if (r < m.fixedRows()) return std::nullopt;
    const Colour alt = (r - m.fixedRows()) % 2 == 0 ? m.backColor1 : m.backColor2;
    if (alt == 0xFFFFFF) return std::nullopt;
    return alt;
}

Look lookOf(const GridModel& m, int r, int c) { return {m.alignment(r, c), m.foreColor(r, c), backOf(m, r, c)}; }

std::string hexRgb(Colour c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", static_cast<unsigned>(c & 0xFFu),
                  static_cast<unsigned>((c >> 8) & 0xFFu), static_cast<unsigned>((c >> 16) & 0xFFu));
    return buf;
}

std::vector<int> blockIndex(const GridModel& m) {
    std::vector<int> index(static_cast<std::size_t>(m.rows()) * static_cast<std::size_t>(m.cols()), -1);
    const auto& blocks = m.merges();
    for (std::size_t i = 0; i < blocks.size(); ++i)
        for (int r = blocks[i].row1; r <= blocks[i].row2; ++r)
            for (int c = blocks[i].col1; c <= blocks[i].col2; ++c)
                index[static_cast<std::size_t>(r) * static_cast<std::size_t>(m.cols()) +
                      static_cast<std::size_t>(c)] = static_cast<int>(i);
    return index;
}

void appendEscaped(std::string& out, const std::string& s, const char* lineBreak) {
    for (const char ch : s) {
        switch (ch) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            case '\n': out += lineBreak; break;
            default:
                if (static_cast<unsigned char>(ch) >= 0x20 || ch == '\t') out += ch;
        }
    }
}

bool writeWhole(const std::string& path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    if (out) return true;
    std::error_code ec;
    if (std::filesystem::is_regular_file(path, ec)) std::filesystem::remove(path, ec);
    return false;
}

}  // namespace tolvenk::grid::exporting
