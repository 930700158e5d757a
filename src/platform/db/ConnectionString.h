#pragma once
#include <map>
#include <string>

namespace tolvenk::db {

// The fixed connection texts the module builds, read as "key=value;" pairs.
// A value that holds a ';', a quote or blanks at either end is written
// between double quotes, a double quote in it doubled (or between single
// quotes, a single quote doubled), so that no value can end its pair early
// or bring in pairs of its own.
class ConnectionString {
public:
    enum class Kind { FileDatabase, Server, Unknown };

    explicit ConnectionString(const std::string& text);

    // `value` as it is written after "key=": unchanged when it needs no quotes.
    static std::string quoted(const std::string& value);

    Kind kind() const { return kind_; }
    // Value of a key, keys compared without case and surrounding blanks.
    std::string get(const std::string& key) const;
    // For a file database: the path of "Data Source" with '\' read as '/'.
    std::string filePath() const;

private:
    std::map<std::string, std::string> pairs_;
    Kind kind_ = Kind::Unknown;
};

}  // namespace tolvenk::db
