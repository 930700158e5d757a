#pragma once
// A card window beside a terminal or a second office, on generated databases
// in each journal mode of the file engine and on the server. Each test makes
// two databases the same way: on the twin the operation runs alone, on the
// other beside the terminal, and the two are compared.
#include <memory>
#include <ostream>
#include <string>

#include "demo_gen/DemoGenerator.h"
#include "support/Fixtures.h"

namespace tolvenk::test {

enum class Journal { Wal, Rollback, Server };

inline const char* journalName(Journal j) {
    return j == Journal::Wal ? "Wal" : j == Journal::Rollback ? "Rollback" : "Server";
}
inline void PrintTo(Journal j, std::ostream* os) { *os << journalName(j); }

struct JournalNames {
    std::string operator()(const ::testing::TestParamInfo<Journal>& info) const { return journalName(info.param); }
};

// 20,000 generated transactions (September to November 2026, 300 employees).
class GeneratedDb {
public:
    GeneratedDb(Journal mode, const TempDir& dir, const std::string& name) {
        demo::Options o;
        o.firstDay = "2026-09-01";  // a fixed period: the data does not depend on the day
        o.lastDay = "2026-11-30";
        o.transactions = 20000;
        if (mode == Journal::Server) {
            server_ = std::make_unique<BusinessDb>(Engine::Server, false);
            o.server = server_->connectionString();
            demo::generate(o);
            cs = o.server;
            return;
        }
        o.businessPath = dir.file(name);
        demo::generate(o);
        cs = db::Connection::fileConnectionString(o.businessPath);
        if (mode == Journal::Rollback) connect(cs)->executeScript("PRAGMA journal_mode=DELETE");
    }
    std::string cs;

private:
    std::unique_ptr<BusinessDb> server_;
};

// The window W on the database of the test's mode; `use` points the module
// at one of the two.
template <class W>
class InCompany : public KitTest, public ::testing::WithParamInterface<Journal> {
protected:
    void SetUp() override {
        KitTest::SetUp();
        if (GetParam() == Journal::Server)
            if (const auto why = whyNoServer()) GTEST_SKIP() << *why;
        sv->clock = "2027-06-01 10:00:00";
        Op_User_Name = "admin";
        Op_User_ID = 7;
        Money_Sign = "￥";
        Load_Lan(0);
        twin = std::make_unique<GeneratedDb>(GetParam(), dir, "twin.mdb");
        live = std::make_unique<GeneratedDb>(GetParam(), dir, "g.mdb");
        twinCon = connect(twin->cs);
        con = connect(live->cs);
    }
    void TearDown() override {
        if (w.Loaded()) w.Unload();
        KitTest::TearDown();
    }
    void use(const GeneratedDb& db) {
        if (w.Loaded()) w.Unload();
        strCN = db.cs;
        Conn_Main = connect(db.cs);
        DB_Type = GetParam() == Journal::Server ? "SQL" : "Access";
    }
    bool onServer() const { return GetParam() == Journal::Server; }

    std::unique_ptr<GeneratedDb> twin, live;
    std::shared_ptr<db::Connection> twinCon, con;
    W w;
};

}  // namespace tolvenk::test

#define TOLVENK_IN_EVERY_JOURNAL(Suite)                                                                       \
    INSTANTIATE_TEST_SUITE_P(Journals, Suite,                                                                 \
                             ::testing::Values(::tolvenk::test::Journal::Wal,                                 \
                                               ::tolvenk::test::Journal::Rollback,                            \
                                               ::tolvenk::test::Journal::Server),                             \
                             ::tolvenk::test::JournalNames())
