// The IC balance correction over a generated database with a real site's
// dirt (uploads twice, same-second rows, a card number in two spellings), on
// the file and on the server: the first run writes the same rows on both,
// and a second run writes nothing on either.
#include <memory>
#include <string>
#include <vector>

#include "data/BTService.h"
#include "data/BalanceQuery.h"
#include "data/XFService.h"
#include "demo_gen/DemoGenerator.h"
#include "support/Fixtures.h"

using namespace tolvenk;

namespace {

class IcCorrectionDirt : public test::KitTest {
protected:
    // The correction rows a run over every employee left, as the engines
    // store them, in one order.
    std::vector<test::Texts> correct(const std::string& cs) {
        XFService xf;
        BTService bt;
        xf.Set_strCN(cs);
        bt.Set_strCN(cs);
        const auto result = Balance_Query::IC_Balances(xf, bt, {"", "", ""}, "2026-11-30", "2026-12-01 00:00:00",
                                                       [](const Balance_Query::Row&, std::int64_t, std::int64_t) {
                                                           return true;
                                                       });
        EXPECT_EQ(result.failedCorrections, 0) << result.firstError;
        return test::rows(*test::connect(cs),
                          "select Pinfo_id,lower(Card_No),XF_Type,YuE_Change,YuE_New,Card_LiuShui,Date_Time,DC_Date "
                          "from Record_XF where Err_Code=2 order by Pinfo_id,Date_Time,Card_LiuShui,YuE_New,YuE_Change");
    }
};

}  // namespace

TEST_F(IcCorrectionDirt, BothEnginesWriteTheSameRowsOnceAndNeverAgain) {
    if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
    demo::Options o;
    o.firstDay = "2026-09-01";
    o.lastDay = "2026-11-30";
    o.transactions = 20000;
    o.seed = 5;
    o.dirty = true;
    o.businessPath = dir.file("g.mdb");
    demo::generate(o);
    const std::string file = db::Connection::fileConnectionString(o.businessPath);
    test::BusinessDb server(test::Engine::Server, false);
    o.businessPath.clear();
    o.server = server.connectionString();
    demo::generate(o);

    const auto onFile = correct(file), onServer = correct(o.server);
    EXPECT_GT(onFile.size(), 10u);
    EXPECT_EQ(onFile, onServer);
    EXPECT_EQ(correct(file), onFile);
    EXPECT_EQ(correct(o.server), onServer);
}
