#pragma once
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/db/Connection.h"

namespace tolvenk::test {

// A fresh folder per test, removed afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Creates a business database from the project's schema at `path` and returns
// its connection text.
std::string createBusinessDb(const std::string& path);

// Creates a configuration database at folder/file with one DB_info row
// pointing at an Access-kind business file (name without ".mdb"), or with no
// row when `provider` is empty.
void createConfigDb(const std::string& folder, const std::string& file, const std::string& provider,
                    const std::string& dataSource, const std::string& fileName);

// An open connection to the database behind a connection text.
std::shared_ptr<db::Connection> connect(const std::string& connectionString);

// A stored summary report format: a Sys_Para row "HZ_Rep_Format" under its number.
void addReportFormat(db::Connection& con, const std::string& key, const std::string& name, const std::string& p2,
                     const std::string& p3, const std::string& p4, const std::string& p5);

using Texts = std::vector<std::string>;

// Every column of each row of `sql` as text, NULL shown as "<null>".
std::vector<Texts> rows(db::Connection& con, const std::string& sql);
// The first row of `sql` as rows() gives it; empty when there is none.
Texts row(db::Connection& con, const std::string& sql);
// The first column of `sql` as text, one entry per row, NULL as "<null>".
Texts column(db::Connection& con, const std::string& sql);
// The first column of the first row as a number (count(*) and the like), -1
// when there is no row; as text, "<no row>" when there is none.
std::int64_t number(db::Connection& con, const std::string& sql);
std::string text(db::Connection& con, const std::string& sql);

}  // namespace tolvenk::test
