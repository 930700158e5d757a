#include "platform/grid/ExportCommon.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

namespace tolvenk::grid::exporting {

namespace {

// Length of the currency sign at the start of `s`, or 0. Only signs proper
// count, so a label such as "合计:" never turns a figure after it into money.
std::size_t currencySign(std::string_view s) {
    if (s.empty()) return 0;
    const auto b = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
    if (s[0] == '$') return 1;
    if (s.size() >= 2 && b(0) == 0xC2 && b(1) >= 0xA2 && b(1) <= 0xA5) return 2;  // ¢ £ ¤ ¥
    if (s.size() >= 3 && b(0) == 0xE2 && b(1) == 0x82 && b(2) >= 0xA0) return 3;   // U+20A0..20BF, € among them
    if (s.size() >= 3 && b(0) == 0xEF) {
        const unsigned code = ((b(1) & 0x3Fu) << 6) | (b(2) & 0x3Fu);  // low 12 bits of U+Fxxx
        if ((b(1) & 0xC0) == 0x80 && (b(2) & 0xC0) == 0x80) {
            const unsigned cp = 0xF000u | code;
            if ((cp >= 0xFFE0 && cp <= 0xFFE6) || cp == 0xFF04 || cp == 0xFE69) return 3;  // ￥ ￡ ＄ ﹩
        }
    }
    return 0;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::optional<Number> numberIn(std::string_view text) {
    constexpr std::size_t kMaxDigits = 15;  // what a spreadsheet keeps exactly
    bool negative = false;
    if (!text.empty() && text[0] == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    const std::size_t signLen = currencySign(text);
    const std::string_view sign = text.substr(0, signLen);
    text.remove_prefix(signLen);
    if (!text.empty() && text[0] == '-' && !negative && signLen > 0) {
        negative = true;
        text.remove_prefix(1);
    }
    std::size_t i = 0;
    while (i < text.size() && isDigit(text[i])) ++i;
    const std::size_t intDigits = i;
    // "0101" is a code, not a hundred and one.
    if (intDigits == 0 || (intDigits > 1 && text[0] == '0')) return std::nullopt;
    std::size_t decimals = 0;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++decimals;
        if (decimals == 0) return std::nullopt;
    }
    if (i != text.size() || intDigits + decimals > kMaxDigits) return std::nullopt;
    if (signLen > 0 && decimals != 2) return std::nullopt;

    Number n;
    std::from_chars(text.data(), text.data() + text.size(), n.value);
    n.value = negative ? -n.value + 0.0 : n.value;  // + 0.0: no "-0"
    if (signLen > 0) n.format = std::string(sign) + "#,##0.00";
    else if (decimals == 0) n.format = "0";
    else n.format = "0." + std::string(decimals, '0');
    return n;
}

std::optional<Number> dateIn(std::string_view text) {
    if (text.size() != 10 && text.size() != 19) return std::nullopt;
    // Digits where the pattern has letters, the pattern's own marks elsewhere.
    constexpr std::string_view pattern = "yyyy-MM-dd hh:mm:ss";
    for (std::size_t i = 0; i < text.size(); ++i)
        if (std::isalpha(static_cast<unsigned char>(pattern[i])) ? !isDigit(text[i]) : text[i] != pattern[i])
            return std::nullopt;
    const auto field = [&](std::size_t at, std::size_t len) {
        int v = 0;
        for (std::size_t i = at; i < at + len; ++i) v = v * 10 + (text[i] - '0');
        return v;
    };
    using namespace std::chrono;
    const year_month_day day{year{field(0, 4)}, month{static_cast<unsigned>(field(5, 2))},
                             std::chrono::day{static_cast<unsigned>(field(8, 2))}};
    // Before March 1900 the spreadsheet's calendar has a day that never was.
    if (!day.ok() || day < year{1900} / March / 1) return std::nullopt;
    Number n;
    n.value = static_cast<double>((sys_days{day} - sys_days{year{1899} / December / 30}).count());
    n.format = "yyyy-mm-dd";
    if (text.size() == 19) {
        const int h = field(11, 2), m = field(14, 2), s = field(17, 2);
        if (h > 23 || m > 59 || s > 59) return std::nullopt;
        n.value += (h * 3600 + m * 60 + s) / 86400.0;
        n.format = "yyyy-mm-dd hh:mm:ss";
    }
    return n;
}

std::optional<Number> numberAt(const GridModel& m, int r, int c) {
    if (r < m.fixedRows() || m.columnKind(c) != CellKind::Text) return std::nullopt;
    return numberIn(m.text(r, c));
}

std::optional<Colour> backOf(const GridModel& m, int r, int c) {
    if (auto own = m.backColor(r, c)) return own;
    if (r < m.fixedRows()) return std::nullopt;
    const Colour alt = (r - m.fixedRows()) % 2 == 0 ? m.backColor1 : m.backColor2;
    if (alt == 0xFFFFFF) return std::nullopt;
    return alt;
}

Look lookOf(const GridModel& m, int r, int c, const std::optional<Number>& number) {
    return {m.alignment(r, c), m.foreColor(r, c), backOf(m, r, c), number ? number->format : std::string()};
}

std::string hexRgb(Colour c) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "#%02X%02X%02X", static_cast<unsigned>(c & 0xFFu),
                  static_cast<unsigned>((c >> 8) & 0xFFu), static_cast<unsigned>((c >> 16) & 0xFFu));
    return buf;
}

BlockScanner::BlockScanner(const GridModel& m) : m_(m), cols_(static_cast<std::size_t>(m.cols()), nullptr) {
    for (const CellRange& b : m.merges()) byStart_.push_back(&b);
    std::sort(byStart_.begin(), byStart_.end(), [](const CellRange* a, const CellRange* b) { return a->row1 < b->row1; });
}

void BlockScanner::row(int r) {
    for (const CellRange* b : open_)
        for (int c = b->col1; c <= b->col2; ++c) cols_[static_cast<std::size_t>(c)] = nullptr;
    std::erase_if(open_, [r](const CellRange* b) { return b->row2 < r; });
    for (; next_ < byStart_.size() && byStart_[next_]->row1 <= r; ++next_)
        if (byStart_[next_]->row2 >= r) open_.push_back(byStart_[next_]);
    for (const CellRange* b : open_)
        for (int c = b->col1; c <= b->col2; ++c) cols_[static_cast<std::size_t>(c)] = b;
}

const CellRange* BlockScanner::at(int c) const { return cols_[static_cast<std::size_t>(c)]; }

void appendEscaped(std::string& out, std::string_view s, const char* lineBreak) {
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

ReplacingFile::ReplacingFile(std::string target) : target_(std::move(target)) {
    namespace fs = std::filesystem;
    if (target_.empty()) {
        failWithErrno(ENOENT);
        return;
    }
    struct stat st {};
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    // Root may write anything, so the file's own read-only mark decides too.
    const int refused = !exists                                                                 ? 0
                        : S_ISDIR(st.st_mode)                                                   ? EISDIR
                        : (st.st_mode & 0222) == 0 || ::access(target_.c_str(), W_OK) != 0 ? EACCES
                                                                                                : 0;
    if (refused != 0) {
        failWithErrno(refused);
        return;
    }

    // Hidden, in the same folder (so the rename stays on one file system).
    const fs::path path(target_);
    const std::string stem = path.parent_path().string() + (path.has_parent_path() ? "/" : "") + "." +
                             path.filename().string() + ".";
    std::random_device rd;
    int err = EEXIST;
    for (int attempt = 0; attempt < 100 && fd_ < 0 && err == EEXIST; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, "%08x.tmp", rd());
        const std::string candidate = stem + suffix;
        fd_ = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd_ >= 0) temp_ = candidate;
        else err = errno;
    }
    if (fd_ < 0) {
        failWithErrno(err);
        return;
    }
    // A replaced file keeps who may read it.
    if (exists) (void)::fchmod(fd_, st.st_mode & 07777);
}

ReplacingFile::~ReplacingFile() {
    closeFd();
    if (!done_ && !temp_.empty()) ::unlink(temp_.c_str());
}

void ReplacingFile::closeFd() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void ReplacingFile::fail(platform::NumberedText told) {
    if (!failed_) error_.told = std::move(told);
    failed_ = true;
    buffer_.clear();
}

// The clerk's sentence says what can be done about it; the system's own
// words follow for support.
void ReplacingFile::failWithErrno(int err) {
    if (failed_) return;
    switch (err) {
        case EACCES:
        case EPERM:
        case EROFS:
            fail(platform::numberedText(
                1062,
                "The file %1 may not be written: it is read-only, or its folder may not be written to. Choose "
                "another name or folder.",
                {target_}));
            break;
        case ENOENT:
        case ENOTDIR:
            fail(platform::numberedText(1063, "The folder for the file %1 does not exist. Choose another folder.",
                                        {target_}));
            break;
        case ENOSPC:
        case EFBIG:
        case EDQUOT:
            fail(platform::numberedText(
                1064, "There is no room left on the disk for the file %1. Make room or choose another disk.",
                {target_}));
            break;
        default:
            fail(platform::numberedText(1061, "The file %1 could not be written.", {target_}));
            break;
    }
    error_.system = target_ + ": " + std::strerror(err);
}

void ReplacingFile::flush() {
    if (!ok() || fd_ < 0) {
        buffer_.clear();
        return;
    }
    const char* p = buffer_.data();
    std::size_t left = buffer_.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return failWithErrno(errno);
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    buffer_.clear();
}

bool ReplacingFile::commit() {
    flush();
    if (!ok()) return false;
    // A writer that wrote by name left our descriptor unused: sync its file.
    if (fd_ < 0) fd_ = ::open(temp_.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) {
        failWithErrno(errno);
        return false;
    }
    if (::fsync(fd_) != 0) {
        failWithErrno(errno);
        return false;
    }
    closeFd();
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
        failWithErrno(errno);
        return false;
    }
    done_ = true;
    return true;
}

}  // namespace tolvenk::grid::exporting
