#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "entry/MenuTable.h"
#include "platform/excel/XlsxReader.h"
#include "reports/statistics/XF_Mingxi.h"
#include "support/Fixtures.h"
#include "tolvenk/Quernat.h"
#include "ui/WindowRegistry.h"

using namespace tolvenk;

namespace {

// What the driven window saw while mnuLoad showed it.
struct Seen {
    bool connected = false;
    int rows = 0;
    std::vector<std::string> first;  // columns 8, 4, 10 of the first row
    std::string total;
    bool exported = false;
};

// The window as menu 7034 builds it, driven from its own activation since
// showing it blocks: query, export, close.
struct DrivenMingxi : XF_Mingxi {
    static inline Seen seen;
    static inline std::string exportTo;
    static inline std::shared_ptr<test::TestServices> services;

    void Form_Activate() override {
        XF_Mingxi::Form_Activate();
        seen.connected = Conn_Main && Conn_Main->isOpen();
        ucDep1.selectDepartment("01");
        optType(1).setValue(true);
        DTPicker1(0).setValue("2026-11-01");
        DTPicker2(0).setValue("2026-11-30");
        Command1.click();
        seen.rows = Grid1.Rows();
        seen.first = {Grid1.Cell(1, 8).Text(), Grid1.Cell(1, 4).Text(), Grid1.Cell(1, 10).Text()};
        seen.total = Grid1.Cell(Grid1.Rows() - 1, 4).Text();
        services->fileAnswers = {exportTo};
        Command4(0).click();
        seen.exported = !services->boxes.empty() && services->boxes.back().prompt == "提示:输出成功.";
        Unload();
    }
};

// The business database named by the configuration's DB_info row: a file
// beside it, or a database on the test server.
class MingxiEndToEnd : public test::KitTest, public ::testing::WithParamInterface<test::Engine> {};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(MingxiEndToEnd);

TEST_P(MingxiEndToEnd, Menu7034QueriesAndExportsThenReleasesTheConnection) {
    if (GetParam() == test::Engine::Server)
        if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
    sv->clock = "2026-11-20 10:30:00";
    const std::string folder = dir.path().string();
    std::unique_ptr<test::BusinessDb> server;
    if (GetParam() == test::Engine::Server) server = std::make_unique<test::BusinessDb>(test::Engine::Server);
    const std::string business = server ? server->connectionString() : test::createBusinessDb(folder + "/TAM08.mdb");
    {
        auto con = test::connect(business);
        con->executeScript(R"(
insert into Sys_User_Info(User_ID,User_Name,Del_YN) values (7,'admin',0);
insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Level,Del_YN) values (1,'01','总部',0,0),(2,'02','食堂',0,0);
insert into Ren_Per_Info(Pinfo_ID,Dept_No,P_Name,P_Code,P_Num,Del_YN) values (1,'01','张三','E1','N1',0),(2,'02','李四','E2','N2',0);
insert into Mach_Info(Mach_ID,Mach_Name,Mach_Type,Del_YN) values (11,'一号机',301,0);
)");
        const auto meal = [](int person, int money, int balance, const char* at) {
            return test::XfRow().mach(11).person(person).type(1).money(money).balance(balance).date(at).err(0);
        };
        meal(1, -1250, 3750, "2026-11-10 12:00:00").insert(*con);
        meal(1, -250, 3500, "2026-11-11 12:00:00").insert(*con);
        meal(2, -999, 1, "2026-11-11 12:30:00").insert(*con);
        meal(1, -100, 3400, "2026-12-01 12:00:00").insert(*con);
    }
    test::createConfigDbFor(folder, "cfg.mdb", GetParam(), business);

    // Without a test window of its own the menu code builds the real one.
    resetWindowObjects();
    registerBuiltInWindows();
    EXPECT_NE(dynamic_cast<XF_Mingxi*>(windowObject("XF_Mingxi")), nullptr);

    resetWindowObjects();
    registerWindow("XF_Mingxi", [] { return std::make_unique<DrivenMingxi>(); });
    DrivenMingxi::seen = {};
    DrivenMingxi::exportTo = folder + "/detail.xlsx";
    DrivenMingxi::services = sv.ptr();

    Quernat().mnuLoad("7034;0;7942", "admin", folder + ";cfg.mdb;;");

    const Seen& seen = DrivenMingxi::seen;
    EXPECT_TRUE(seen.connected);
    EXPECT_EQ(seen.rows, 4);  // header, two rows of department 01, total
    EXPECT_EQ(seen.first, (std::vector<std::string>{"消费", "￥12.50", "张三"}));
    EXPECT_EQ(seen.total, "￥15.00");
    EXPECT_TRUE(seen.exported);
    EXPECT_TRUE(std::filesystem::exists(folder + "/detail.xlsx"));
    EXPECT_GT(std::filesystem::file_size(folder + "/detail.xlsx"), 0u);
    // The times go out as dates a spreadsheet sorts (2026-11-10 is day 46336 of
    // its calendar, noon half of it); the total row's label stays text.
    const excel::Sheet sheet = excel::readFirstSheet(folder + "/detail.xlsx");
    EXPECT_EQ(sheet.at(1, 3).number, 46336.5);
    EXPECT_TRUE(sheet.at(1, 3).date);
    EXPECT_EQ(sheet.at(1, 3).format, "yyyy-mm-dd hh:mm:ss");
    EXPECT_EQ(sheet.at(2, 3).number, 46337.5);
    EXPECT_EQ(sheet.text(3, 3), "合计消费:");
    EXPECT_EQ(Conn_Main, nullptr);
    EXPECT_EQ(Extra_Timeout, 0);

    DrivenMingxi::services.reset();
}
