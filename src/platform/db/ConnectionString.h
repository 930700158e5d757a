#pragma once
#include <map>
#include <string>

namespace tolvenk::db {

// The fixed connection texts the module builds, read as "key=value;" pairs.
class ConnectionString {
public:
    enum class Kind { FileDatabase, Server, Unknown };

    explicit ConnectionString(const std::string& text);

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
