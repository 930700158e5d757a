#pragma once
// The report windows in company: a generated business database kept as an
// installation keeps one (a file in WAL mode, a file with a rollback journal,
// a server database), the module's globals set for it as a menu call sets
// them, and a picture of a grid to compare runs by.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <string>

#include "data/Globals.h"
#include "demo_gen/DemoGenerator.h"
#include "lang/Language.h"
#include "platform/grid/GridModel.h"
#include "support/Fixtures.h"
#include "support/Terminal.h"

namespace tolvenk::test {

enum class Store { Wal, Journal, Server };

inline const char* storeName(Store s) { return s == Store::Wal ? "Wal" : s == Store::Journal ? "Journal" : "Server"; }

struct StoreNames {
    std::string operator()(const ::testing::TestParamInfo<Store>& info) const { return storeName(info.param); }
};
inline void PrintTo(Store s, std::ostream* os) { *os << storeName(s); }

// September to November 2026, 300 employees, generated, with a real site's
// dirt when `dirty`; on the server a database of its own. A rollback-journal
// file is switched from WAL before anything else opens it.
class GeneratedStore {
public:
    GeneratedStore(Store store, const TempDir& dir, long transactions, bool dirty = false) {
        demo::Options o;
        o.dirty = dirty;
        o.firstDay = "2026-09-01";  // a fixed period: the data does not depend on the day
        o.lastDay = "2026-11-30";
        o.transactions = transactions;
        if (store == Store::Server) {
            server_ = std::make_unique<BusinessDb>(Engine::Server, false);
            o.server = cs_ = server_->connectionString();
        } else {
            o.businessPath = dir.file("g.mdb");
            cs_ = db::Connection::fileConnectionString(o.businessPath);
        }
        demo::generate(o);
        if (store == Store::Journal) {
            db::Connection con;
            con.open(cs_);
            con.executeScript("PRAGMA journal_mode=DELETE");
            if (text(con, "PRAGMA journal_mode") != "delete") throw std::runtime_error("still in WAL mode");
        }
    }
    const std::string& connectionString() const { return cs_; }

private:
    std::unique_ptr<BusinessDb> server_;
    std::string cs_;
};

// A generated store per test on the engine of the parameter, the module's
// globals pointing at it, and a card for a terminal: the first card of a
// live employee.
class InCompanyTest : public KitTest, public ::testing::WithParamInterface<Store> {
protected:
    static constexpr long kTransactions = 12000;
    static constexpr int kMach = 990;

    void SetUp() override {
        KitTest::SetUp();
        if (GetParam() == Store::Server)
            if (const auto why = whyNoServer()) GTEST_SKIP() << *why;
        store = std::make_unique<GeneratedStore>(GetParam(), dir, kTransactions, dirty);
        // A rollback-journal file's long reads go in pieces: small ones here,
        // so that a quarter of these stores is read in dozens.
        if (GetParam() == Store::Journal) db::ReadPieces::standardRows() = 400;
        cs = store->connectionString();
        con = connect(cs);
        strCN = cs;
        Conn_Main = con;
        DB_Type = GetParam() == Store::Server ? "SQL" : "Access";
        Money_Sign = "￥";
        Load_Lan(0);
        sv->clock = "2026-12-01 09:30:00";
        Op_User_Name = "admin";
        person = number(*con, "select min(Card_Info.Pinfo_id) from Card_Info,Ren_Per_Info where "
                              "Card_Info.Pinfo_id=Ren_Per_Info.Pinfo_ID and Ren_Per_Info.Del_YN=0");
        card = text(*con, "select Card_No from Card_Info where Pinfo_id=" + std::to_string(person));
    }

    // A terminal booking on the card with rows dated `date`.
    TerminalOptions terminalAt(const std::string& date) const {
        TerminalOptions o;
        o.card = card;
        o.mach = kMach;
        o.date = date;
        return o;
    }
    // After the terminal's last commit: it never failed, every row it
    // committed is there once, and the file is sound.
    void expectTerminalWhole(Terminal& t, const TerminalOptions& o, TerminalReport* out = nullptr) {
        const TerminalReport r = t.finish();
        EXPECT_EQ(r.failures, 0) << (r.errors.empty() ? "" : r.errors.front());
        EXPECT_EQ(terminalRowsProblem(*con, o, r), "");
        EXPECT_EQ(integrity(*con), "ok");
        if (out) *out = r;
    }
    // The terminal's rows committed by now, read afresh.
    std::int64_t terminalCommitted() {
        return number(*con, "select count(*) from Record_XF where Mach_ID=" + std::to_string(kMach));
    }
    // Returns once the terminal has committed `n` rows after this call.
    void commitsAfterNow(Terminal& t, std::int64_t n) {
        t.waitForCommits(static_cast<std::size_t>(terminalCommitted() + n));
    }
    // The state the database would be in had the terminal stopped after its
    // k-th commit: its later rows go.
    void keepFirstTerminalRows(std::int64_t k) {
        con->execute("delete from Record_XF where Mach_ID=" + std::to_string(kMach) +
                     " and Mach_LiuShui>" + std::to_string(k));
    }

    bool dirty = false;  // set before SetUp: the store holds a real site's dirt
    std::unique_ptr<GeneratedStore> store;
    std::string cs;
    std::shared_ptr<db::Connection> con;
    std::int64_t person = 0;
    std::string card;
};

// The cells of one grid row, '|' after each.
inline std::string rowText(const grid::GridModel& m, int r) {
    std::string out;
    for (int c = 0; c < m.cols(); ++c) out += m.text(r, c) + '|';
    return out;
}

// Every cell's text and every joined block of a grid.
inline std::string picture(const grid::GridModel& m) {
    std::ostringstream out;
    for (int r = 0; r < m.rows(); ++r) out << rowText(m, r) << '\n';
    for (const auto& b : m.merges()) out << b.row1 << ',' << b.col1 << '-' << b.row2 << ',' << b.col2 << ';';
    return out.str();
}

}  // namespace tolvenk::test
