#include "platform/excel/XlsRecords.h"

#include <cstdint>
#include <cstring>
#include <map>
#include <string_view>

#include "platform/excel/NumberFormat.h"

namespace tolvenk::excel {

namespace {

enum : std::uint16_t {
    kFormula = 0x0006,
    kEof = 0x000A,
    kFilePass = 0x002F,
    kBoundSheet = 0x0085,
    kXf = 0x00E0,
    kString = 0x0207,
    kFormat = 0x041E,
    kBof = 0x0809,
};

std::uint16_t u16(std::string_view s, std::size_t at) {
    if (at + 2 > s.size()) return 0;
    return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1]) << 8);
}

std::uint32_t u32(std::string_view s, std::size_t at) {
    return u16(s, at) | static_cast<std::uint32_t>(u16(s, at + 2)) << 16;
}

void appendUtf8(std::string& out, std::uint32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// A BIFF8 string of count characters from at: a flag byte, then one byte
// (the low half) or two bytes per character.
std::string biff8Text(std::string_view s, std::size_t at, std::size_t count) {
    const bool wide = at < s.size() && (s[at] & 1);
    std::string out;
    at += 1;
    for (std::size_t i = 0; i < count && at + (wide ? 2 : 1) <= s.size(); ++i) {
        std::uint32_t c = wide ? u16(s, at) : static_cast<unsigned char>(s[at]);
        at += wide ? 2 : 1;
        if (wide && c >= 0xD800 && c < 0xDC00 && i + 1 < count && at + 2 <= s.size()) {
            const std::uint32_t low = u16(s, at);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                at += 2;
                ++i;
            }
        }
        appendUtf8(out, c);
    }
    return out;
}

// BIFF5 keeps texts in the workbook's code page; only their ASCII is
// trusted here, other bytes are taken as Latin-1.
std::string biff5Text(std::string_view s, std::size_t at, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; i < count && at + i < s.size(); ++i) appendUtf8(out, static_cast<unsigned char>(s[at + i]));
    return out;
}

std::string errorText(unsigned code) {
    switch (code) {
        case 0x00: return "#NULL!";
        case 0x07: return "#DIV/0!";
        case 0x0F: return "#VALUE!";
        case 0x17: return "#REF!";
        case 0x1D: return "#NAME?";
        case 0x24: return "#NUM!";
        case 0x2A: return "#N/A";
        default: return "#ERROR!";
    }
}

// Walks the records from at; f(type, body) returns false to stop.
template <class F>
void eachRecord(std::string_view stream, std::size_t at, F&& f) {
    while (at + 4 <= stream.size()) {
        const std::uint16_t type = u16(stream, at);
        const std::uint16_t size = u16(stream, at + 2);
        if (at + 4 + size > stream.size())
            throw WorkbookError("workbook stream: a record runs past the end", WorkbookProblem::Damaged);
        if (!f(type, stream.substr(at + 4, size))) return;
        at += 4 + std::size_t{size};
    }
}

}  // namespace

XlsRecords readXlsRecords(const std::string& stream) {
    XlsRecords out;
    const std::string_view s(stream);
    if (u16(s, 0) != kBof) return out;  // older forms have no formula results worth reading here
    const bool biff8 = u16(s, 4) == 0x0600;

    std::map<int, std::string> formats;
    std::vector<int> formatOfXf;
    std::size_t sheetAt = 0;
    bool first = true;
    eachRecord(s, 0, [&](std::uint16_t type, std::string_view body) {
        if (first) {
            first = false;
            return true;
        }
        switch (type) {
            case kFilePass:
                out.encrypted = true;
                return false;
            case kFormat:
                formats[u16(body, 0)] =
                    biff8 ? biff8Text(body, 4, u16(body, 2))
                          : biff5Text(body, 3, body.size() > 2 ? static_cast<unsigned char>(body[2]) : 0);
                break;
            case kXf:
                formatOfXf.push_back(u16(body, 2));
                break;
            case kBoundSheet:
                // The first worksheet (kind 0), as the cell reader takes it.
                if (sheetAt == 0 && body.size() > 5 && body[5] == 0) sheetAt = u32(body, 0);
                break;
            case kEof:
                return false;
            default:
                break;
        }
        return true;
    });
    if (out.encrypted || sheetAt == 0 || sheetAt >= s.size()) return out;

    int depth = 0;
    constexpr std::size_t kNone = ~std::size_t{0};
    std::size_t awaitingText = kNone;  // the formula whose text result comes next
    eachRecord(s, sheetAt, [&](std::uint16_t type, std::string_view body) {
        // Charts drawn on the sheet nest their own substreams.
        if (type == kBof) ++depth;
        if (type == kEof && --depth <= 0) return false;
        if (depth != 1) return true;
        if (type == kString && awaitingText != kNone) {
            out.formulas[awaitingText].cell.text =
                biff8 ? biff8Text(body, 2, u16(body, 0)) : biff5Text(body, 2, u16(body, 0));
            awaitingText = kNone;
        }
        if (type != kFormula || body.size() < 14) return true;
        XlsFormulaResult& r = out.formulas.emplace_back();
        r.row = u16(body, 0);
        r.col = u16(body, 2);
        const std::size_t xf = u16(body, 4);
        const int format = xf < formatOfXf.size() ? formatOfXf[xf] : 0;
        const auto own = formats.find(format);
        if (own != formats.end()) r.cell.format = own->second;
        awaitingText = kNone;
        // A result that is no number marks its last two bytes and says its kind in the first.
        if (u16(body, 12) == 0xFFFF) {
            switch (static_cast<unsigned char>(body[6])) {
                case 0: awaitingText = out.formulas.size() - 1; break;  // its text is in the STRING record after
                case 1: r.cell.text = body[8] ? "TRUE" : "FALSE"; break;
                case 2: r.cell.text = errorText(static_cast<unsigned char>(body[8])); break;
                default: break;  // an empty text
            }
            return true;
        }
        double v;
        std::memcpy(&v, body.data() + 6, sizeof v);
        r.cell.number = v;
        r.cell.text = numberText(v);
        r.cell.date = isDateFormat(format, own != formats.end() ? own->second : std::string_view());
        return true;
    });
    return out;
}

}  // namespace tolvenk::excel
