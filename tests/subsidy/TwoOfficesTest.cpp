// Two offices running the same subsidy window on the same batch at once, each
// in a process of its own: every credit, hand-over, stop, deletion, clearing
// and batch happens once.
#include <QCoreApplication>
#include <QTimer>

#include <memory>
#include <algorithm>
#include <regex>

#include "data/Globals.h"
#include "subsidy/BT_ID_BF.h"
#include "subsidy/BT_ID_FF.h"
#include "subsidy/BT_QingLing.h"
#include "subsidy/BT_ZhunBei.h"
#include "subsidy/BT_ZhunBei_1.h"
#include "subsidy/BT_ZhunBei_FF.h"
#include "subsidy/BT_ZhunBei_SC.h"
#include "subsidy/BT_ZhunBei_Stop.h"
#include "support/Fixtures.h"
#include "support/Peer.h"
#include "support/PeerModule.h"
#include "ui/WindowRegistry.h"

using namespace tolvenk;

namespace {

constexpr int kPeople = 40;

// The windows that name a batch by year, month and n-th.
void nameBatch(forms::TextBox* year, forms::ComboBox& month, forms::ComboBox& nth, const std::string& times) {
    if (year) year->setText("2026");
    month.setListIndex(10);  // November
    nth.setText(times);
}

// Loads the window of `menu` for batch 2026-11-`times` and returns its
// click; what a window lists at load or on its list button is read here.
std::function<void()> prepare(int menu, const std::string& times, std::vector<std::unique_ptr<forms::Form>>& keep,
                              test::TestServices& sv) {
    auto hold = [&keep](auto window) {
        auto* w = window.get();
        keep.push_back(std::move(window));
        w->Load();
        return w;
    };
    switch (menu) {
        case 7021: {
            auto* w = hold(std::make_unique<BT_ZhunBei>());
            nameBatch(&w->Batch.Text1, w->Batch.Combo1, w->Batch.Combo2, times);
            return [w] {
                // The office that creates the batch gets the editor: closed at once.
                QTimer::singleShot(0, [] {
                    if (auto* e = windowObject("BT_ZhunBei_1"); e && e->Loaded()) e->Unload();
                });
                w->Command1.click();
                QCoreApplication::processEvents();
            };
        }
        case 7022: {  // the editor the modify window opens, all listed rows ticked
            Cur_B_Year = 2026;
            Cur_B_Month = 11;
            Cur_B_Times = times;
            Cur_B_Unit = 0;
            auto* w = hold(std::make_unique<BT_ZhunBei_1>());
            w->check_J_C(0);
            w->ucDep1_Dept_Changed("");
            for (int g = BT_ZhunBei_1::kFirstRow; g < w->Grid1.Rows(); ++g)
                w->Grid1.Cell(g, BT_ZhunBei_1::colTick).setText("1");
            return [w, &sv] {
                sv.inputAnswers.push_back("6");
                w->Command2.click();
            };
        }
        case 7023: {
            auto* w = hold(std::make_unique<BT_ZhunBei_SC>());
            nameBatch(&w->Batch.Text1, w->Batch.Combo1, w->Batch.Combo2, times);
            return [w] { w->Command1.click(); };
        }
        case 7024: {
            auto* w = hold(std::make_unique<BT_ZhunBei_FF>());
            nameBatch(&w->Batch.Text1, w->Batch.Combo1, w->Batch.Combo2, times);
            return [w] { w->Command1.click(); };
        }
        case 7025: {
            auto* w = hold(std::make_unique<BT_ZhunBei_Stop>());
            nameBatch(&w->Batch.Text1, w->Batch.Combo1, w->Batch.Combo2, times);
            return [w] { w->Command1.click(); };
        }
        case 7029:
        case 7030: {
            BT_ID_Grant* w = menu == 7029 ? static_cast<BT_ID_Grant*>(hold(std::make_unique<BT_ID_BF>()))
                                          : static_cast<BT_ID_Grant*>(hold(std::make_unique<BT_ID_FF>()));
            nameBatch(nullptr, w->Combo1, w->Combo2, times);
            return [w] { w->Command1.click(); };
        }
        case 7031: {
            auto* w = hold(std::make_unique<BT_QingLing>());
            w->Text1.setText("2026");
            w->Combo2.setListIndex(10);
            w->ucDep1.selectDepartment("01");
            w->cmd_List.click();
            w->CheckAll.setValue(forms::vbChecked);
            return [w] { w->cmdQingLing.click(); };
        }
    }
    throw std::runtime_error("no window for menu " + std::to_string(menu));
}

// An office: the window of menu `menu` for batch 2026-11-`times` by
// operator `op`, loaded and listed, then clicked when the test says go.
// With `pause`, it stops once before the first statement containing that
// text and goes on when the test says go again. It reports its last box.
TOLVENK_PEER_JOB(SubsidyOffice) {
    test::PeerModule module(peer.arg("db"));
    Op_User_ID = std::stoi(peer.arg("op"));
    std::vector<std::unique_ptr<forms::Form>> windows;
    const auto click = prepare(std::stoi(peer.arg("menu")), peer.arg("times", "1"), windows, module.services());
    const std::string pause = peer.arg("pause", "");
    bool paused = false;
    db::setStatementObserver([&](const std::string& sql) {
        if (pause.empty() || paused || sql.find(pause) == std::string::npos) return;
        paused = true;
        peer.report("paused");
        peer.readCommand();
    });
    peer.report("ready");
    peer.readCommand();
    click();
    db::setStatementObserver(nullptr);
    peer.report("done " + module.services().lastPrompt());
    for (auto& w : windows)
        if (w->Loaded()) w->Unload();
    return 0;
}

// An office started and loaded: "ready" read.
struct Office {
    Office(const std::string& cs, int menu, int op, const std::string& pause = "", const std::string& times = "1")
        : peer("SubsidyOffice", {{"db", cs},
                                 {"menu", std::to_string(menu)},
                                 {"op", std::to_string(op)},
                                 {"pause", pause},
                                 {"times", times}}) {
        peer.waitFor("ready");
    }
    // Clicks; with a pause, returns once the office stopped there.
    void go(bool toPause = false) {
        peer.send("go");
        if (toPause) peer.waitFor("paused");
    }
    // Goes on (from the pause or the click) and returns its last box.
    std::string done(bool fromPause = false) {
        if (fromPause) peer.send("go");
        const std::string line = peer.waitFor("done");
        EXPECT_EQ(peer.wait(), 0);
        return line.substr(5);
    }
    test::Peer peer;
};

// The first number after `label` in a box.
int countAfter(const std::string& box, const std::string& label) {
    std::smatch m;
    if (!std::regex_search(box, m, std::regex(label + "\\[?(\\d+)"))) return -1;
    return std::stoi(m[1]);
}

// kPeople employees of department 01, each with a usable ID card holding
// 10.00; subsidy terminals 21 and 22; an ID installation.
class TwoOffices : public test::WindowTest {
protected:
    void SetUp() override {
        test::WindowTest::SetUp();
        if (IsSkipped()) return;
        test::resetWindows();
        std::string sql =
            "insert into Sys_Para(Para_Name,P2,P5) values('Sys_Config','0','1');"
            "insert into Ren_Dept_Info(Dept_ID,Dept_No,Dept_Name,Dept_Code,Del_YN) values (1,'01','总部','A',0);"
            "insert into Mach_Info(Mach_ID,Mach_Name,Mach_No,Mach_XF_Type,Mach_Type,Card_BuTie,Del_YN,New_Date) values "
            "(21,'补贴机A','M21',27,0,0,0,'2026-01-01'),(22,'补贴机B','M22',27,0,0,0,'2026-01-01'),"
            "(30,'一号机','M30',0,301,0,0,'2027-06-01');";
        for (int p = 1; p <= kPeople; ++p) {
            const std::string id = std::to_string(p);
            sql += "insert into Ren_Per_Info(Pinfo_ID,Dept_ID,Dept_No,P_Name,P_Code,Del_YN) values (" + id +
                   ",1,'01','P" + id + "','E" + id + "',0);";
            sql += "insert into Card_Info(ID,Pinfo_id,Card_No,Card_No_Lng,Card_Model,C_GuaShi,C_YuE_ID,C_YuCi_ID,"
                   "C_LeiBie) values (" + id + "," + id + ",'C" + id + "'," + std::to_string(1000 + p) +
                   ",1,0,1000,0,1);";
        }
        con->executeScript(sql);
    }
    // A row of batch 2026-11-n for every employee: kind, state and amount.
    void batch(int times, int unit, int state, int jine) {
        std::string sql = "insert into BuTie_OK(Pinfo_ID,ZhunBei_DT,ZhunBei_Ren_ID,B_JinE,B_Ci,B_Year,B_Month,B_Times,"
                          "B_Type,B_SF,B_Unit) values ";
        for (int p = 1; p <= kPeople; ++p)
            sql += std::string(p > 1 ? "," : "") + "(" + std::to_string(p) + ",'2026-11-01 08:00:00',1," +
                   std::to_string(jine) + ",0,2026,11," + std::to_string(times) + ",0," + std::to_string(state) +
                   "," + std::to_string(unit) + ")";
        con->execute(sql);
    }
    std::int64_t count(const std::string& where) { return test::number(*con, "select count(*) from " + where); }
};

TOLVENK_ON_BOTH_ENGINES(TwoOffices);

}  // namespace

// Both offices list the whole batch before either credits a row: the grant of
// batch 1 and the re-grant of batch 2 credit each employee once, and the two
// offices' counts add up to the batch.
TEST_P(TwoOffices, GrantsAndRegrantsCreditEachEmployeeOnce) {
    batch(1, 0, -1, 500);
    batch(2, 0, 0, 300);
    const std::string cardLookUp = "from Card_Info where PInfo_id";
    for (const auto& [menu, times] : {std::pair{7030, "1"}, std::pair{7029, "2"}}) {
        Office a(cs, menu, 7, cardLookUp, times), b(cs, menu, 8, cardLookUp, times);
        a.go(true);
        b.go(true);
        const std::string boxA = a.done(true), boxB = b.done(true);
        const std::string credited = menu == 7030 ? "成功发放" : "成功补放";
        EXPECT_EQ(countAfter(boxA, credited) + countAfter(boxB, credited), kPeople) << boxA << " / " << boxB;
        EXPECT_EQ(count("BuTie_OK where B_Times=" + std::string(times) + " and B_SF=2"), kPeople);
    }
    EXPECT_EQ(count("Card_Info where C_YuE_ID=1800"), kPeople);
    EXPECT_EQ(count("Record_XF where XF_Type=11"), 2 * kPeople);
    EXPECT_EQ(test::number(*con, "select count(distinct Pinfo_id) from Record_XF where YuE_Change=500 and "
                                 "YuE_Old=1000 and YuE_New=1500"),
              kPeople);
}

// The grant lists the batch; the editor then sets 6.00 on every row; the
// grant credits what each row holds when it is credited, so the card, the
// row and the transaction agree.
TEST_P(TwoOffices, AGrantCreditsTheAmountTheRowHoldsWhenItIsCredited) {
    batch(1, 0, -1, 500);
    Office grant(cs, 7030, 7, "from Card_Info where PInfo_id");
    grant.go(true);
    Office editor(cs, 7022, 8);
    editor.go();
    EXPECT_EQ(editor.done(), "恭喜:已为这 [" + std::to_string(kPeople) + " ] 个员工成功设置了补贴金额.");
    EXPECT_EQ(grant.done(true), "提示：成功发放" + std::to_string(kPeople) + "人,无法发放0人");
    EXPECT_EQ(count("BuTie_OK where B_SF=2 and B_JinE=600"), kPeople);
    EXPECT_EQ(count("Card_Info where C_YuE_ID=1600"), kPeople);
    EXPECT_EQ(count("Record_XF where XF_Type=11 and YuE_Old=1000 and YuE_Change=600 and YuE_New=1600"), kPeople);
}

// An editor listed the batch before another office granted it: its later
// setting changes no granted row, and it says how many rows it stored.
TEST_P(TwoOffices, AnEditorListedBeforeTheGrantChangesNoGrantedRow) {
    batch(1, 0, -1, 500);
    Office editor(cs, 7022, 8);
    Office grant(cs, 7030, 7);
    grant.go();
    EXPECT_EQ(grant.done(), "提示：成功发放" + std::to_string(kPeople) + "人,无法发放0人");
    editor.go();
    EXPECT_EQ(editor.done(), "恭喜:已为这 [0 ] 个员工成功设置了补贴金额.");
    EXPECT_EQ(count("BuTie_OK where B_SF=2 and B_JinE=500 and ZhunBei_Ren_ID=7"), kPeople);
    EXPECT_EQ(count("Card_Info where C_YuE_ID=1500"), kPeople);
}

// An IC grant that listed the batch before another office handed it out and
// a third stopped it: no stopped row goes back to the terminals. Employee 1
// has two terminals of the kind; the last one listed is his.
TEST_P(TwoOffices, AnIcGrantListedBeforeAStopHandsNoStoppedRowBack) {
    batch(1, 1, -1, 500);
    std::string sql = "insert into BuTie_DuiYing(Pinfo_ID,Mach_ID,B_Type) values (1,22,1)";
    for (int p = 1; p <= kPeople; ++p) sql += ",(" + std::to_string(p) + ",21,1)";
    con->execute(sql);
    const test::Texts listed = test::column(
        *con, "select BuTie_DuiYing.Mach_ID from BuTie_DuiYing,Mach_Info where BuTie_DuiYing.B_Type=1 and "
              "BuTie_DuiYing.Pinfo_id=1 and BuTie_DuiYing.Mach_id=Mach_Info.mach_id");
    ASSERT_EQ(listed.size(), 2u);

    Office late(cs, 7024, 7, "update BuTie_OK set ZhunBei_DT=");
    late.go(true);
    Office first(cs, 7024, 8);
    first.go();
    EXPECT_EQ(first.done(), "提示：成功发放补贴！");
    EXPECT_EQ(test::text(*con, "select Mach_ID from BuTie_OK where Pinfo_ID=1"), listed.back());
    EXPECT_EQ(count("BuTie_OK where B_SF=0 and ZhunBei_Ren_ID=8"), kPeople);
    Office stop(cs, 7025, 9);
    stop.go();
    EXPECT_EQ(stop.done(), "提示：停止发放补贴成功！");
    late.done(true);
    EXPECT_EQ(count("BuTie_OK where B_SF=4 and ZhunBei_Ren_ID=9"), kPeople);
    EXPECT_EQ(test::text(*con, "select Mach_ID from BuTie_OK where Pinfo_ID=1"), listed.back());
}

// Both offices found the batch missing before either wrote it: one batch,
// and the other office is told it exists.
TEST_P(TwoOffices, TwoOfficesCreatingOneBatchMakeOneBatch) {
    Office a(cs, 7021, 7, "select * from Ren_Per_Info where Del_YN=0"),
        b(cs, 7021, 8, "select * from Ren_Per_Info where Del_YN=0");
    a.go(true);
    b.go(true);
    const std::string boxes[] = {a.done(true), b.done(true)};
    EXPECT_EQ(std::count(std::begin(boxes), std::end(boxes), "提示：成功了!"), 1);
    EXPECT_EQ(std::count(std::begin(boxes), std::end(boxes), "提示：该年月的该次补贴已经存在！"), 1);
    EXPECT_EQ(count("BuTie_OK"), kPeople);
    EXPECT_EQ(test::number(*con, "select count(distinct Pinfo_ID) from BuTie_OK where B_Year=2026 and B_Month=11 "
                                 "and B_Times=1 and B_SF=-1"),
              kPeople);
    EXPECT_EQ(test::number(*con, "select count(distinct ZhunBei_Ren_ID) from BuTie_OK"), 1);
}

// Deleting and stopping: both offices passed their check before either
// wrote; the prepared rows go once, the handed-out rows stop once, each by
// one office, and the other rows keep their state.
TEST_P(TwoOffices, DeletionsAndStopsHappenOnce) {
    batch(1, 1, -1, 500);
    batch(2, 1, 0, 500);
    con->execute("update BuTie_OK set B_SF=2 where Pinfo_ID=1 and B_Times=2");
    con->execute("update BuTie_OK set B_SF=0 where Pinfo_ID=2 and B_Times=1");
    {
        Office a(cs, 7023, 7, "delete from BuTie_OK"), b(cs, 7023, 8, "delete from BuTie_OK");
        a.go(true);
        b.go(true);
        EXPECT_EQ(a.done(true), "提示：删除成功!");
        EXPECT_EQ(b.done(true), "提示：删除成功!");
    }
    EXPECT_EQ(test::column(*con, "select Pinfo_ID||':'||B_SF from BuTie_OK where B_Times=1"), (test::Texts{"2:0"}));
    {
        Office a(cs, 7025, 7, "update BuTie_OK set ZhunBei_Ren_ID=", "2"),
            b(cs, 7025, 8, "update BuTie_OK set ZhunBei_Ren_ID=", "2");
        a.go(true);
        b.go(true);
        EXPECT_EQ(a.done(true), "提示：停止发放补贴成功！");
        EXPECT_EQ(b.done(true), "提示：停止发放补贴成功！");
    }
    EXPECT_EQ(count("BuTie_OK where B_Times=2 and B_SF=4"), kPeople - 1);
    EXPECT_EQ(test::number(*con, "select count(distinct ZhunBei_Ren_ID) from BuTie_OK where B_SF=4"), 1);
    EXPECT_EQ(test::text(*con, "select B_SF||':'||ZhunBei_Ren_ID from BuTie_OK where Pinfo_ID=1 and B_Times=2"), "2:1");
    EXPECT_EQ(test::text(*con, "select B_SF from BuTie_OK where Pinfo_ID=2 and B_Times=1"), "0");
}

// Both offices listed the month uncleared: each employee is cleared once,
// his 5.00 taken back once, and the two offices' counts add up.
TEST_P(TwoOffices, ClearingsClearEachEmployeeOnce) {
    batch(1, 0, 2, 500);
    con->execute("update Card_Info set C_YuE_ID=1500");
    Office a(cs, 7031, 7, "New_Date from Mach_info"), b(cs, 7031, 8, "New_Date from Mach_info");
    a.go(true);
    b.go(true);
    const std::string boxA = a.done(true), boxB = b.done(true);
    EXPECT_EQ(countAfter(boxA, "清零成功") + countAfter(boxB, "清零成功"), kPeople) << boxA << " / " << boxB;
    EXPECT_EQ(countAfter(boxA, "已经清零过") + countAfter(boxB, "已经清零过"), kPeople) << boxA << " / " << boxB;
    EXPECT_EQ(countAfter(boxA, "清零失败") + countAfter(boxB, "清零失败"), 0);
    EXPECT_EQ(count("BuTie_OK where B_Times=-1 and B_JinE=-500"), kPeople);
    EXPECT_EQ(count("Record_XF where XF_Type=166 and YuE_Old=1500 and YuE_Change=-500 and YuE_New=1000"), kPeople);
    EXPECT_EQ(count("Record_XF where XF_Type=168"), kPeople);
    EXPECT_EQ(count("Card_Info where C_YuE_ID=1000"), kPeople);
}
