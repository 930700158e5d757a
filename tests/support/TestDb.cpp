#include "support/TestDb.h"

#include <unistd.h>

#include <atomic>
#include <random>

#include "Schemas.h"

namespace tolvenk::test {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("tolvenk-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" +
             std::to_string(rd()));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string createBusinessDb(const std::string& path) {
    db::Connection::createFileDatabase(path);
    const std::string cs = db::Connection::fileConnectionString(path);
    db::Connection con;
    con.open(cs);
    con.executeScript(schema::Business);
    return cs;
}

void createConfigDb(const std::string& folder, const std::string& file, const std::string& provider,
                    const std::string& dataSource, const std::string& fileName) {
    const std::string path = folder + "/" + file;
    db::Connection::createFileDatabase(path);
    db::Connection con;
    con.open(db::Connection::fileConnectionString(path));
    con.executeScript(schema::Config);
    if (!provider.empty())
        con.execute("insert into DB_info(DB_Name,Provider,DataSource,FileName,UserID,PassWord_1,Persist) "
                    "values('Server',?,?,?,'sa','x',0)",
                    {provider, dataSource, fileName});
}

std::shared_ptr<db::Connection> connect(const std::string& connectionString) {
    auto con = std::make_shared<db::Connection>();
    con->open(connectionString);
    return con;
}

}  // namespace tolvenk::test
