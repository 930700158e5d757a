#pragma once
// The streams at the top of a compound file, the container of binary
// workbooks (.xls) and of every Office file saved with a password.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tolvenk::excel {

class CompoundFile {
public:
    // The file's bytes; throws WorkbookError (Damaged) when its header,
    // allocation table or directory cannot be followed.
    explicit CompoundFile(std::string bytes);

    // The stream of that name in the root storage (ASCII names, compared
    // without case as the format does), or nothing when there is none.
    std::optional<std::string> stream(const std::string& name) const;

private:
    struct Entry {
        std::string name;  // ASCII upper case; other characters as '?'
        int type = 0;
        std::uint32_t start = 0;
        std::uint64_t size = 0;
        std::uint32_t left = 0, right = 0, child = 0;
    };
    std::string chain(std::uint32_t start, const std::vector<std::uint32_t>& table, std::size_t unit,
                      const std::string& from) const;
    const char* sector(std::uint32_t n) const;

    std::string bytes_;
    std::size_t sectorSize_ = 512;
    std::vector<std::uint32_t> fat_, miniFat_;
    std::vector<Entry> entries_;
    std::string miniStream_;
    std::uint32_t miniCutoff_ = 4096;
};

}  // namespace tolvenk::excel
