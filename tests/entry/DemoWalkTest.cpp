// The demo as a newcomer meets it: every menu code opens its window on the
// generated data, and the window's main button gives a result that is not
// empty. Each code gets its own copy of one generated database, with the
// clock on the day the demo was made.
#include <QApplication>

#include <filesystem>
#include <functional>
#include <tuple>

#include "cards/CardLog_Cha.h"
#include "cards/Card_GeRen_CX.h"
#include "cards/Card_Type.h"
#include "cards/IDYuE_QingLing.h"
#include "cards/YuE_HZ_Cha.h"
#include "cards/YuE_ID_Cha.h"
#include "cards/frmJieSuanIC.h"
#include "demo_gen/DemoGenerator.h"
#include "entry/MenuTable.h"
#include "meals/DC_Cha_Sum.h"
#include "meals/DC_ShiDuan.h"
#include "meals/DC_TeShu.h"
#include "meals/DC_ZhengChang.h"
#include "meals/XF_SetTime.h"
#include "lang/LangGlobals.h"
#include "platform/db/SqlText.h"
#include "reports/statistics/XF_Cha_HZ_Ren.h"
#include "reports/statistics/XF_Mingxi.h"
#include "reports/summary/XF_Cha_HZ.h"
#include "subsidy/BT_Cha_FF.h"
#include "subsidy/BT_DuiYing.h"
#include "subsidy/BT_ID_BF.h"
#include "subsidy/BT_ID_FF.h"
#include "subsidy/BT_QingLing.h"
#include "subsidy/BT_Sum.h"
#include "subsidy/BT_ZhunBei.h"
#include "subsidy/BT_ZhunBei_1.h"
#include "subsidy/BT_ZhunBei_FF.h"
#include "subsidy/BT_ZhunBei_SC.h"
#include "subsidy/BT_ZhunBei_Stop.h"
#include "subsidy/BT_ZhunBei_XG.h"
#include "support/Captions.h"
#include "support/Fixtures.h"
#include "support/GridCells.h"
#include "ui/WindowRegistry.h"

using namespace tolvenk;

namespace {

constexpr const char* kDemoDay = "2026-12-04";  // a Friday: the canteen's orders are in

std::int64_t number(db::Connection& con, const std::string& sql) {
    return con.openRecordset(sql)->field(0).toInt64();
}

// Data rows of a grid below its fixed rows holding a figure other than zero.
int rowsWithFigures(forms::Grid& g, int firstRow) {
    int rows = 0;
    for (int r = firstRow; r < g.Rows(); ++r)
        for (int c = 1; c < g.Cols(); ++c) {
            std::string t = g.Cell(r, c).Text();
            if (t.rfind("￥", 0) == 0) t = t.substr(std::string("￥").size());
            const auto v = parseNumber(t);
            if (v && *v != 0) {
                ++rows;
                break;
            }
        }
    return rows;
}

// The walk of one menu code, in the module's language.
class DemoWalkBase : public test::KitTest {
protected:
    static void SetUpTestSuite() {
        folder_ = new test::TempDir;
        demo::Options o;
        o.businessPath = folder_->file("demo.mdb");
        o.transactions = 20000;
        o.lastDay = kDemoDay;  // from the first of January
        o.everyWindow = true;
        demo::generate(o);
    }
    static void TearDownTestSuite() {
        delete folder_;
        folder_ = nullptr;
    }
    void SetUp() override {
        KitTest::SetUp();
        registerBuiltInWindows();
        const std::string file = dir.file("TAM08.mdb");
        std::filesystem::copy_file(folder_->file("demo.mdb"), file);
        strCN = db::Connection::fileConnectionString(file);
        Conn_Main = test::connect(strCN);
        DB_Type = "Access";
        Money_Sign = "￥";
        Load_Lan(0);
        Op_User_ID = 1;
        Op_User_Name = "admin";
        sv->clock = std::string(kDemoDay) + " 10:00:00";
    }
    virtual int code() const = 0;
    // Opens the menu code's window, then presses its main button and looks
    // at the result; the window stays open in `walked`.
    void walk();
    template <class W>
    W& open() {
        const std::string name = windowForMenuCode(static_cast<std::int16_t>(code()));
        auto* w = dynamic_cast<W*>(windowObject(name));
        if (!w) throw std::logic_error("menu " + std::to_string(code()) + " opens " + name);
        w->Load();
        walked = w;
        return *w;
    }
    forms::Form* walked = nullptr;
    std::int64_t count(const std::string& sql) { return number(*Conn_Main, sql); }
    // The top department with the most employees on ID cards.
    std::string idDepartment() {
        return Conn_Main
            ->openRecordset("select substr(Dept_No, 1, 2) from Ren_Per_Info where P_Code like 'ID%' group by 1 "
                            "order by count(*) desc, 1")
            ->field(0)
            .toString();
    }
    // The prompt of the one box shown since the last look, "" for none or more.
    std::string onlyBox() {
        const auto boxes = sv->takeBoxes();
        return boxes.size() == 1 ? boxes[0] : "(" + std::to_string(boxes.size()) + " boxes)";
    }
    // The editor a batch window opens, closed again once it is up (posted
    // again until then: its window loads it first, which may see events).
    bool editorOpenedBy(forms::CommandButton& button, int& listed) {
        bool shown = false;
        std::function<void()> look = [&] {
            auto& editor = dynamic_cast<BT_ZhunBei_1&>(*windowObject("BT_ZhunBei_1"));
            if (!editor.Showing()) {
                QMetaObject::invokeMethod(qApp, look, Qt::QueuedConnection);
                return;
            }
            shown = true;
            try {
                editor.ucDep1.selectDepartment("02");
                listed = editor.Grid1.Rows() - BT_ZhunBei_1::kFirstRow;
            } catch (const std::exception& e) {
                ADD_FAILURE() << e.what();
            }
            editor.Unload();
        };
        QMetaObject::invokeMethod(qApp, look, Qt::QueuedConnection);
        button.click();
        return shown;
    }
    // A save asks first and then says it is done, with no error box.
    void expectSaved() {
        std::vector<int> styles;
        const auto boxes = sv->takeBoxes(&styles);
        ASSERT_FALSE(boxes.empty());
        for (int style : styles) EXPECT_NE(style & 0x70, platform::vbCritical) << boxes.back();
        EXPECT_NE(styles.back() & 0x70, platform::vbExclamation) << boxes.back();
    }
    static void choose(forms::ComboBox& month, forms::ComboBox& nth, int m, const std::string& batch) {
        month.setListIndex(m - 1);
        nth.setText(batch);
        for (int i = 0; i < nth.ListCount(); ++i)
            if (nth.List(i) == batch) nth.setListIndex(i);
    }
    static void chooseBatch(BT_Batch_Form& w, int m, const std::string& batch) {
        choose(w.Batch.Combo1, w.Batch.Combo2, m, batch);
    }
    static void chooseBatch(BT_ID_Grant& w, int m, const std::string& batch) { choose(w.Combo1, w.Combo2, m, batch); }

    static test::TempDir* folder_;
};
test::TempDir* DemoWalkBase::folder_ = nullptr;

class DemoWalk : public DemoWalkBase, public ::testing::WithParamInterface<int> {
protected:
    int code() const override { return GetParam(); }
};

// The walk in one of the three languages.
class DemoCells : public DemoWalkBase, public ::testing::WithParamInterface<std::tuple<int, int>> {
protected:
    void SetUp() override {
        DemoWalkBase::SetUp();
        Load_Lan(static_cast<std::int16_t>(std::get<1>(GetParam())));
        Lan_Type = static_cast<std::int16_t>(std::get<1>(GetParam()));
    }
    int code() const override { return std::get<0>(GetParam()); }
};

std::vector<int> menuCodes() {
    std::vector<int> codes;
    for (const MenuEntry& e : menuTable())
        if (e.code != 0) codes.push_back(e.code);
    return codes;
}

}  // namespace

TEST_P(DemoWalk, OpensOnDataAndItsMainButtonGivesAResult) { walk(); }

INSTANTIATE_TEST_SUITE_P(EveryMenuCode, DemoWalk, ::testing::ValuesIn(menuCodes()));

// After the walk, in each language, every cell of its grids is shown whole
// (headers, labels, totals and figures alike), and every caption of the
// window with every character it was given.
TEST_P(DemoCells, EveryGridCellIsShownWhole) {
    walk();
    if (HasFatalFailure()) return;
    ASSERT_NE(walked, nullptr);
    EXPECT_EQ(test::cutCells(*walked), std::vector<std::string>{});
    EXPECT_EQ(test::changedCaptions(*walked), std::vector<std::string>{});
}

INSTANTIATE_TEST_SUITE_P(EveryMenuCodeAndLanguage, DemoCells,
                         ::testing::Combine(::testing::ValuesIn(menuCodes()), ::testing::Values(0, 1, 2)));

// Every window of the menu table, those only another window opens among
// them, shows each caption it is given whole in each language: an '&' in a
// text is an ampersand, never a shortcut mark that swallows itself.
class DemoCaptions : public DemoWalkBase, public ::testing::WithParamInterface<int> {
protected:
    int code() const override { return 0; }
};

TEST_P(DemoCaptions, EveryWindowShowsItsCaptionsWhole) {
    const auto language = static_cast<std::int16_t>(GetParam());
    Load_Lan(language);
    Lan_Type = language;
    Cur_B_Year = 2026;  // the batch editor opens on this month's bonus batch
    Cur_B_Month = 12;
    Cur_B_Times = "3";
    Cur_B_Unit = 1;
    int windows = 0;
    for (const MenuEntry& e : menuTable()) {
        forms::Form* w = windowObject(e.window);
        ASSERT_NE(w, nullptr) << e.window;
        w->Load();
        sv->takeBoxes();
        ++windows;
        EXPECT_EQ(test::changedCaptions(*w), std::vector<std::string>{}) << e.window;
        w->Unload();
    }
    EXPECT_EQ(windows, 30);
}

INSTANTIATE_TEST_SUITE_P(EveryLanguage, DemoCaptions, ::testing::Values(0, 1, 2));

void DemoWalkBase::walk() {
    switch (code()) {
        case 7001: {
            auto& w = open<Card_Type>();
            EXPECT_EQ(w.Grid_Info.Rows() - 1, 4);  // the four card kinds
            w.Command2.click();                    // a new kind, numbered after them
            EXPECT_TRUE(w.fraEdit.Visible());
            break;
        }
        case 7011: {
            auto& w = open<Card_GeRen_CX>();
            w.Text1.setText("ID003");  // the holder whose balance moved to a new card
            w.Command2.click();
            EXPECT_GT(w.Grid1.Rows(), 10);
            break;
        }
        case 7021: {
            auto& w = open<BT_ZhunBei>();
            EXPECT_GT(w.Combo3.ListCount(), 0);
            w.Batch.Combo2.setText("5");  // a batch number this month has not used
            int listed = 0;
            EXPECT_TRUE(editorOpenedBy(w.Command1, listed));
            EXPECT_GT(listed, 0);
            EXPECT_GT(count("select count(*) from BuTie_OK where B_Year=2026 and B_Month=12 and B_Times=5"), 0);
            break;
        }
        case 7022: {
            auto& w = open<BT_ZhunBei_XG>();
            chooseBatch(w, 12, "3");  // this month's bonus, still prepared
            int listed = 0;
            EXPECT_TRUE(editorOpenedBy(w.Command1, listed));
            EXPECT_GT(listed, 0);
            break;
        }
        case 7023: {
            auto& w = open<BT_ZhunBei_SC>();
            chooseBatch(w, 12, "4");  // the times batch being prepared
            w.Command1.click();
            EXPECT_EQ(onlyBox(), L(164));
            EXPECT_EQ(count("select count(*) from BuTie_OK where B_Year=2026 and B_Month=12 and B_Times=4"), 0);
            break;
        }
        case 7024: {
            auto& w = open<BT_ZhunBei_FF>();
            chooseBatch(w, 12, "3");
            w.Command1.click();
            EXPECT_EQ(onlyBox(), L(159));
            EXPECT_GT(count("select count(*) from BuTie_OK where B_Year=2026 and B_Month=12 and B_Times=3 and B_SF=0 "
                            "and Mach_ID>0"),
                      0);
            break;
        }
        case 7025: {
            auto& w = open<BT_ZhunBei_Stop>();
            chooseBatch(w, 12, "1");  // this month's subsidy, at the terminals
            w.Command1.click();
            EXPECT_EQ(onlyBox(), L(167));
            EXPECT_GT(count("select count(*) from BuTie_OK where B_Year=2026 and B_Month=12 and B_Times=1 and B_SF=4"),
                      0);
            break;
        }
        case 7026: {
            auto& w = open<BT_Cha_FF>();
            EXPECT_EQ(w.Combo3.Text(), "2026");
            w.Combo4.setListIndex(10);  // November
            w.ucDep1.selectDepartment("02");
            w.Command1.click();
            EXPECT_GT(w.Grid1.Rows(), 100);
            break;
        }
        case 7027: {
            auto& w = open<BT_Sum>();
            w.Combo4.setListIndex(10);
            w.Option1(0).setValue(true);
            w.Command1.click();
            EXPECT_TRUE(sv->takeBoxes().empty());
            EXPECT_GT(rowsWithFigures(w.Grid1, 6), 3);
            break;
        }
        case 7028: {
            auto& w = open<BT_DuiYing>();
            EXPECT_GT(w.Combo_BT.ListCount(), 0);
            w.ucSP1.selectDepartment("01");
            w.ucSP1.tickAll(true);
            w.Combo_BT.setListIndex(0);
            const auto before = count("select count(*) from BuTie_DuiYing");
            w.Command1.click();
            sv->takeBoxes();
            EXPECT_NE(count("select count(*) from BuTie_DuiYing"), before);
            break;
        }
        case 7029: {
            auto& w = open<BT_ID_BF>();
            chooseBatch(w, 11, "2");  // the card lost on the day of November's ID subsidy was found since
            w.Command1.click();
            EXPECT_GT(w.Credited, 0) << sv->lastPrompt();
            break;
        }
        case 7030: {
            auto& w = open<BT_ID_FF>();
            chooseBatch(w, 12, "2");
            w.Command1.click();
            EXPECT_GT(w.Credited, 0) << sv->lastPrompt();
            break;
        }
        case 7031: {
            auto& w = open<BT_QingLing>();
            w.Combo2.setListIndex(0);  // January, cleared at its end
            w.ucDep1.selectDepartment("02");
            w.cmd_List.click();
            EXPECT_GT(w.Grid1.Rows(), 100);
            int cleared = 0;
            for (int r = 1; r < w.Grid1.Rows(); ++r) cleared += !w.Grid1.Cell(r, BT_QingLing::colCleared).Text().empty();
            EXPECT_GT(cleared, 0);
            break;
        }
        case 7032: {
            auto& w = open<XF_Cha_HZ>();
            w.List1.setListIndex(0);  // the daily report of today
            w.Command1.click();
            EXPECT_GT(rowsWithFigures(w.Grid1, w.Grid1.FixedRows()), 0);
            break;
        }
        case 7033: {
            auto& w = open<XF_Cha_HZ_Ren>();
            w.ucDep1.selectDepartment("02");
            w.Command1.click();
            EXPECT_GT(rowsWithFigures(w.Grid1, w.Grid1.FixedRows()), 10);
            break;
        }
        case 7034: {
            auto& w = open<XF_Mingxi>();
            w.ucDep1.selectDepartment("02");
            w.Command1.click();
            EXPECT_GT(rowsWithFigures(w.Grid1, 1), 10);
            break;
        }
        case 7035: {
            auto& w = open<XF_SetTime>();
            EXPECT_EQ(w.Text1(0).Text(), "600.00");  // the largest balance, in yuan
            w.Command1.click();
            expectSaved();
            break;
        }
        case 7036: {
            auto& w = open<YuE_HZ_Cha>();
            w.Query.ucDep1.selectDepartment("02");
            w.Query.Command1.click();
            EXPECT_GT(rowsWithFigures(w.Query.Grid1, 1), 100);
            break;
        }
        case 7037: {
            auto& w = open<CardLog_Cha>();
            w.DT1.setValue("2026-01-01");
            w.ucDep1.selectDepartment("02");
            w.Command1.click();
            EXPECT_GT(rowsWithFigures(w.Grid1, 1), 5);
            break;
        }
        case 7038: {
            auto& w = open<frmJieSuanIC>();
            const auto settled = count("select count(*) from Record_BF_XF");
            w.Command1.click();
            EXPECT_GT(count("select count(*) from Record_BF_XF"), settled);
            break;
        }
        case 7039: {
            auto& w = open<YuE_ID_Cha>();
            w.Query.ucDep1.selectDepartment(idDepartment());
            w.Query.Command1.click();
            EXPECT_GT(rowsWithFigures(w.Query.Grid1, 1), 5);
            break;
        }
        case 7040: {
            auto& w = open<IDYuE_QingLing>();
            w.ucDep1.selectDepartment(idDepartment());
            EXPECT_GT(w.Grid1.Rows(), 5);
            w.CheckAll.setValue(forms::vbChecked);
            const auto before = count("select sum(C_YuE_ID) from Card_Info where Card_Model=1");
            sv->msgBoxAnswers = {platform::vbYes, platform::vbOK};
            w.Command1.click();
            EXPECT_GT(before, 0);
            EXPECT_LT(count("select sum(C_YuE_ID) from Card_Info where Card_Model=1"), before);
            break;
        }
        case 7041: {
            auto& w = open<DC_ShiDuan>();
            EXPECT_EQ(w.Text2.Text(), "10.00");  // lunch's pre-deduction
            w.Command1.click();
            expectSaved();
            break;
        }
        case 7042: {
            auto& w = open<DC_ZhengChang>();
            EXPECT_GT(w.Grid1.Rows(), 1);
            w.Command1.click();
            expectSaved();
            break;
        }
        case 7043: {
            auto& w = open<DC_TeShu>();
            EXPECT_EQ(w.Grid1.Rows() - 1, 3);  // the special days
            break;
        }
        case 7044: {
            auto& w = open<DC_Cha_Sum>();
            w.Command1.click();
            EXPECT_GT(rowsWithFigures(w.Grid1, 2), 0);
            break;
        }
        default: FAIL() << "no walk for menu " << code();
    }
}

// The table walked is the whole menu: 26 codes.
TEST(DemoWalkCodes, AreTheTwentySixOfTheMenu) {
    int codes = 0;
    for (const MenuEntry& e : menuTable()) codes += e.code != 0;
    EXPECT_EQ(codes, 26);
}
