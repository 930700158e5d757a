#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "lang/LangGlobals.h"
#include "reports/summary/XF_Cha_HZ.h"
#include "reports/summary/frmHZ_Format.h"
#include "support/Fixtures.h"
#include "ui/WindowRegistry.h"

using namespace tolvenk;

namespace {

const std::string kCategoryMsg = "与大类型不匹配，请重新选择报表格式";

class FormatEditor : public test::WindowOf<frmHZ_Format> {
protected:
    void addFormat(const std::string& key, const std::string& name, const std::string& p2,
                   const std::string& p3 = "1111", const std::string& p4 = "00000100",
                   const std::string& p5 = "000000") {
        test::addReportFormat(*con, key, name, p2, p3, p4, p5);
    }
    // P1..P5 of the stored row with that key; empty when there is none.
    std::vector<std::string> stored(const std::string& key) {
        return test::row(*con, "select P1,P2,P3,P4,P5 from Sys_Para where Para_Name='HZ_Rep_Format' and SubParaName='" +
                                   key + "'");
    }
    long storedCount() {
        return Conn_Main->openRecordset("select * from Sys_Para where Para_Name='HZ_Rep_Format'")->recordCount();
    }
    static void pick(forms::ComboBox& combo, const std::string& text) {
        for (int i = 0; i < combo.ListCount(); ++i)
            if (combo.List(i) == text) return combo.setListIndex(i);
        FAIL() << "no entry " << text;
    }
    static std::string entries(const forms::ComboBox& combo) {
        std::string out;
        for (int i = 0; i < combo.ListCount(); ++i) out += combo.List(i) + "|";
        return out;
    }
    std::string cell(int r, int c) { return w.Grid1.Cell(r, c).Text(); }
    // A new format through the panel: name, type, dimensions and ticked items.
    static void define(frmHZ_Format& e, const std::string& name, const std::string& type, const std::string& dim1,
                       const std::string& dim2, const std::vector<int>& items) {
        e.cmdNew.click();
        e.Text1.setText(name);
        pick(e.Combo2, dim1);  // before the type, as the list follows the type chosen then
        pick(e.Combo1, type);
        pick(e.Combo3, dim2);
        for (int i : items) e.Check2(i).setValue(1);
    }
    std::string lastPrompt() const { return sv->lastPrompt(); }
    // Exactly one box since the last check, titled "提示".
    void expectBox(const std::string& prompt, int style) {
        ASSERT_EQ(sv->boxes.size(), 1u) << lastPrompt();
        EXPECT_EQ(sv->boxes[0].prompt, prompt);
        EXPECT_EQ(sv->boxes[0].style, style);
        EXPECT_EQ(sv->boxes[0].title, Lang[43]);
        sv->boxes.clear();
    }
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(FormatEditor);

TEST_P(FormatEditor, ListsTheBuiltInDefaultsAndTheStoredFormats) {
    addFormat("4", "我的总帐日报", "1", "1010", "10000000");
    addFormat("101", "收费点日报", "10109");
    addFormat("102", "操作员日报", "10708");
    w.Load();
    EXPECT_EQ(w.Caption(), "自定义消费汇总报表格式");
    ASSERT_EQ(w.Grid1.Rows(), 12);
    EXPECT_EQ(cell(0, 3) + cell(0, 14) + cell(0, 24), "自定义序号余额作废夜宵");
    EXPECT_EQ(w.Grid1.Column(2).Width(), 0);
    const char* types[] = {"日报表", "月报表", "汇  总"};
    for (int n = 1; n <= 9; ++n) {
        EXPECT_EQ(cell(n, 3), "系统默认");
        EXPECT_EQ(cell(n, 4), types[(n - 1) % 3]);
        EXPECT_EQ(cell(n, 5) + cell(n, 6) + cell(n, 11), "") << n;  // no "无" on built-in rows
    }
    EXPECT_EQ(cell(1, 1), "现金收支日报表");
    EXPECT_EQ(cell(1, 12) + cell(1, 13) + cell(1, 14) + cell(1, 16), "1101");
    EXPECT_EQ(cell(9, 7) + cell(9, 9) + cell(9, 17) + cell(9, 20) + cell(9, 24), "01111");
    // A stored built-in row, its short parts read as padded with "0".
    EXPECT_EQ(cell(4, 1) + cell(4, 4), "我的总帐日报日报表");
    EXPECT_EQ(cell(4, 7) + cell(4, 8) + cell(4, 12) + cell(4, 13) + cell(4, 20), "10100");
    EXPECT_EQ(cell(10, 1) + cell(10, 3) + cell(10, 5) + cell(10, 6), "收费点日报101收费点无");
    EXPECT_EQ(cell(11, 5) + cell(11, 6), "操作员日期");

    // A chosen row is highlighted alone; the header row changes nothing.
    w.Grid1.setActive_Cell(3, 2);
    w.Grid1.setActive_Cell(10, 2);
    w.Grid1.setActive_Cell(0, 2);
    EXPECT_TRUE(w.Grid1.Range(10, 0, 10, 24).Selected());
    EXPECT_FALSE(w.Grid1.Range(3, 0, 3, 24).Selected());
}

TEST_P(FormatEditor, TheSecondListFollowsTheFirstDimensionAndTheMealsFollowConsumption) {
    w.Load();
    EXPECT_FALSE(w.Picture1.Visible());
    EXPECT_EQ(w.Combo1.Text() + w.Combo2.Text(), "月报表无");
    EXPECT_EQ(entries(w.Combo3), "无|");
    w.Combo1.setListIndex(2);  // range summary
    pick(w.Combo2, "卡类型");
    EXPECT_EQ(entries(w.Combo3), "无|收费点|收费机|收款员|业主|卡类型|部门|操作员|");
    w.Combo1.setListIndex(0);
    pick(w.Combo2, "操作员");
    EXPECT_EQ(entries(w.Combo3), "无|卡类型|部门|操作员|日期|");
    EXPECT_EQ(w.Combo3.ItemData(4), 8);
    pick(w.Combo2, "业主");
    EXPECT_EQ(entries(w.Combo3), "无|收费点|收费机|收款员|业主|卡类型|部门|");

    w.Check2(5).setValue(1);
    EXPECT_TRUE(w.Frame4.Visible());
    EXPECT_GE(w.Frame3.Height(), w.Frame4.Top() + w.Frame4.Height());
    w.Check3(2).setValue(1);
    w.Check2(5).setValue(0);
    EXPECT_FALSE(w.Frame4.Visible());
    EXPECT_EQ(w.Check3(2).Value(), 0);
    EXPECT_EQ(w.cmd_Add.Top(), w.Frame3.Top() + w.Frame3.Height() + 200);
}

TEST_P(FormatEditor, AddingStoresTheRowWithAQuotedNameAndTheSummaryWindowListsIt) {
    w.Load();
    define(w, "O'Brien日报", "日报表", "部门", "日期", {5, 6});
    EXPECT_EQ(w.Combo4.Text(), "101");
    w.Check1(3).setValue(1);
    w.Check3(0).setValue(1);
    w.Check3(5).setValue(1);
    w.cmd_Add.click();
    EXPECT_TRUE(sv->boxes.empty()) << lastPrompt();
    EXPECT_EQ(stored("101"), (std::vector<std::string>{"O'Brien日报", "10608", "0001", "00000110", "100001"}));
    EXPECT_FALSE(w.Picture1.Visible());
    ASSERT_EQ(w.Grid1.Rows(), 11);
    EXPECT_EQ(cell(10, 1) + cell(10, 3) + cell(10, 5) + cell(10, 6), "O'Brien日报101部门日期");

    // The quoted name is found again: a second format may not take it.
    define(w, "O'Brien日报", "月报表", "无", "无", {});
    EXPECT_EQ(w.Combo4.Text(), "102");
    w.cmd_Add.click();
    expectBox("该自定义的报表名称已存在", 48);
    EXPECT_EQ(w.Text1.Text(), "");
    EXPECT_TRUE(stored("102").empty());
    // No dimension twice, or one dimension twice, is stored as "09".
    w.Text1.setText("无分组");
    w.cmd_Add.click();
    EXPECT_EQ(stored("102").at(1), "20009");
    define(w, "部门两次", "日报表", "部门", "部门", {});
    w.cmd_Add.click();
    EXPECT_EQ(stored("103").at(1), "10609");

    XF_Cha_HZ summary;
    summary.Load();
    summary.Fill_Rep_List();
    EXPECT_EQ(summary.List1.List(12), "O'Brien日报");
    summary.List1.setListIndex(12);
    EXPECT_EQ(summary.St.Rep_P2, "10608");
}

TEST_P(FormatEditor, NewNumbersFillTheLowestGapAndStopAtTheLimit) {
    for (const char* key : {"101", "102", "104"}) addFormat(key, std::string("R") + key, "10000");
    w.Load();
    w.cmdNew.click();
    EXPECT_EQ(w.Combo4.Text(), "103");
    addFormat("103", "R103", "10000");
    addFormat("105", "R105", "10000");
    w.cmdNew.click();
    EXPECT_EQ(w.Combo4.Text(), "106");

    Conn_Main->executeScript(R"(
with recursive n(x) as (select 106 union all select x + 1 from n where x < 999)
insert into Sys_Para(Para_Name,SubParaName,P1,P2,P3,P4,P5)
select 'HZ_Rep_Format', cast(x as text), 'R' || x, '10000', '0000', '00000000', '000000' from n;
)");
    w.cmd_Cancle.click();
    w.cmdNew.click();
    expectBox("自定义报表数已达上限,请删除一些再添加", 48);
    EXPECT_FALSE(w.Picture1.Visible());
    EXPECT_EQ(w.Combo4.Text(), "106");
}

TEST_P(FormatEditor, ModifyingDefinedAndBuiltInFormatsAndRestoringTheDefaults) {
    addFormat("101", "O'Brien月报", "20500", "1100", "00000101", "110000");
    addFormat("7", "存好的消费日报", "10000", "0011", "00000100", "111111");
    w.Load();

    w.Grid1.setActive_Cell(10, 1);
    w.cmdModify.click();
    EXPECT_EQ(w.Text1.Text() + w.Text2.Text() + w.Combo4.Text(), "O'Brien月报O'Brien月报101");
    EXPECT_EQ(w.Combo1.Text() + w.Combo2.Text() + w.Combo3.Text(), "月报表卡类型无");
    EXPECT_EQ(w.Check1(1).Value() + w.Check3(1).Value(), 2);
    EXPECT_TRUE(w.Frame4.Visible());
    w.Text1.setText("O'Brien卡类月报");
    pick(w.Combo3, "部门");
    w.Check2(5).setValue(0);
    w.cmd_Add.click();
    EXPECT_TRUE(sv->boxes.empty()) << lastPrompt();
    // The hidden meal-order flag keeps its loaded value; the meals go with consumption.
    EXPECT_EQ(stored("101"), (std::vector<std::string>{"O'Brien卡类月报", "20506", "1100", "00000001", "000000"}));
    EXPECT_EQ(cell(10, 1) + cell(10, 3) + cell(10, 6), "O'Brien卡类月报101部门");

    // A built-in report without a stored row: the first save inserts it, the next updates it.
    w.Grid1.setActive_Cell(2, 1);
    w.cmdModify.click();
    EXPECT_EQ(w.Text1.Text() + w.Combo4.Text() + w.Combo2.Text(), "现金收支月报表2无");
    w.Check2(2).setValue(1);
    w.cmd_Add.click();
    EXPECT_EQ(stored("2"), (std::vector<std::string>{"现金收支月报表", "20009", "1111", "11101000", "000000"}));
    EXPECT_EQ(cell(2, 3) + cell(2, 6), "系统默认无");
    w.cmdModify.click();
    EXPECT_TRUE(w.Text1.Locked());  // a built-in report keeps its name
    w.Text1.setText("现金月报");
    w.cmd_Add.click();
    EXPECT_EQ(stored("2").at(0), "现金收支月报表");
    EXPECT_EQ(cell(2, 1), "现金收支月报表");

    w.Grid1.setActive_Cell(7, 1);  // stored built-in row
    w.cmdModify.click();
    EXPECT_EQ(w.Combo1.Text(), "日报表");
    EXPECT_EQ(w.Check3(5).Value(), 1);

    sv->msgBoxAnswers = {platform::vbCancel};
    w.cmdDefault.click();
    expectBox("恢复默认格式，将会恢复所有的系统报表格式", 33);
    EXPECT_EQ(storedCount(), 3);
    EXPECT_TRUE(w.Picture1.Visible());
    w.cmdDefault.click();
    EXPECT_EQ(storedCount(), 1);
    EXPECT_EQ(stored("101").at(0), "O'Brien卡类月报");
    EXPECT_FALSE(w.Picture1.Visible());
    ASSERT_EQ(w.Grid1.Rows(), 11);
    EXPECT_EQ(cell(2, 1) + cell(7, 1) + cell(10, 1), "现金收支月报表消费统计日报表O'Brien卡类月报");
}

TEST_P(FormatEditor, DeletingOnlyDefinedFormatsAfterConfirmation) {
    addFormat("101", "甲", "10000");
    addFormat("102", "O'Brien", "10000");
    w.Load();
    w.cmdDelete.click();
    expectBox("请选择要删除的报表", 48);
    w.Grid1.setActive_Cell(3, 1);
    w.cmdDelete.click();
    expectBox("系统报表不能删除", 48);

    w.Grid1.setActive_Cell(11, 1);
    sv->msgBoxAnswers = {platform::vbCancel};
    w.cmdDelete.click();
    expectBox("询问：确定要删除[ O'Brien ]报表吗", 33);
    EXPECT_EQ(storedCount(), 2);
    w.cmdDelete.click();
    EXPECT_EQ(storedCount(), 1);
    EXPECT_EQ(stored("101").at(0), "甲");
    ASSERT_EQ(w.Grid1.Rows(), 11);
    EXPECT_EQ(cell(10, 1), "甲");
}

TEST_P(FormatEditor, EachEditorCheckRefusesWithItsMessage) {
    w.Load();
    w.cmdModify.click();
    expectBox("请选择需要修改的报表", 48);
    EXPECT_FALSE(w.Picture1.Visible());

    struct Case {
        std::string type, dim1, dim2;
        std::vector<int> items;
        std::string message;
        int style;
    };
    const std::string kClassMsg = "与小类型不匹配，请重新选择报表格式";
    const std::vector<Case> cases = {
        {"日报表", "收费机", "无", {0, 4}, "[电脑充值与取款]、[ 工本费]" + kCategoryMsg, 0},
        {"日报表", "业主", "无", {4, 5}, "[工本费]" + kCategoryMsg, 0},
        {"日报表", "操作员", "无", {1, 2, 6}, "[消费机充值与取款]、[余额作废]" + kCategoryMsg, 0},
        {"日报表", "操作员", "无", {3, 5}, "[补贴]、[消费]" + kCategoryMsg, 0},
        {"日报表", "部门", "收费点", {4}, "[工本费]" + kClassMsg, 0},
        {"日报表", "卡类型", "操作员", {2, 0}, "[余额作废]" + kClassMsg, 0},
        // The type changed to range summary after the date was chosen as second dimension.
        {"汇  总", "部门", "日期", {5}, "[汇  总]" + kClassMsg, 0},
        {"日报表", "部门", "收费点", {5}, "报表名字不能为空", 48},
    };
    for (const Case& c : cases) {
        define(w, c.style == 0 ? "某报表" : "", c.type, c.dim1, c.dim2, c.items);
        w.cmd_Add.click();
        expectBox(c.message, c.style);
        EXPECT_TRUE(w.Picture1.Visible());
        EXPECT_EQ(storedCount(), 0);
    }
}

TEST_P(FormatEditor, EnglishCaptionsAndTheChangeFlagOnEveryClose) {
    Load_Lan(1);
    w.Load();
    EXPECT_EQ(w.Caption(), "Report format on summary of self-defined consumption");
    EXPECT_EQ(w.Check2(1).Caption(), "Recharge & Withdraw by POS Device");
    EXPECT_EQ(cell(0, 3) + "|" + cell(1, 3), "Self-defined serial No.|系统默认");
    EXPECT_EQ(w.Combo2.Text(), "NO");
    w.cmdDelete.click();
    expectBox("Please select the report to delete", 48);
    w.Grid1.setActive_Cell(1, 1);
    w.cmdModify.click();

    w.setHeight(3000);
    w.Form_Resize();
    EXPECT_NEAR(w.Frame1.Top(), 8200 - 700 - 460, 15);

    w.cmdExit.click();
    EXPECT_FALSE(w.Loaded());
    EXPECT_TRUE(HZ_Format_Changed);
    w.Load();  // the fields outlive the closing; the panel does not
    EXPECT_EQ(w.Sel_Row, 1);
    EXPECT_EQ(w.Edit_Mode, 2);
    EXPECT_FALSE(w.Picture1.Visible());
    EXPECT_EQ(w.Grid1.Rows(), 10);
}

namespace {

// The editor as the summary window opens it, driven by a script once shown.
class ScriptedEditor : public frmHZ_Format {
public:
    std::function<void(frmHZ_Format&)> script;
    void Form_Activate() override {
        if (script) script(*this);
        cmdExit.click();
    }
};

}  // namespace

TEST_P(FormatEditor, RoundTripFromTheSummaryWindowToAnExportedReport) {
    Conn_Main->executeScript("insert into Card_Type(C_LeiBie,C_Name,Del_YN) values (1,'',0),(2,'教师卡',0);");
    registerWindow("frmHZ_Format", [] {
        auto editor = std::make_unique<ScriptedEditor>();
        editor->script = [](frmHZ_Format& e) {
            define(e, "卡类O'消费月报", "月报表", "卡类型", "无", {5});
            e.Check3(0).setValue(1);
            e.cmd_Add.click();
        };
        return editor;
    });

    XF_Cha_HZ summary;
    summary.Load();
    summary.Form_Activate();
    summary.Command3.click();
    EXPECT_TRUE(sv->boxes.empty()) << lastPrompt();
    EXPECT_EQ(stored("101"), (std::vector<std::string>{"卡类O'消费月报", "20509", "0000", "00000100", "100000"}));
    EXPECT_TRUE(HZ_Format_Changed);
    summary.Form_Activate();
    EXPECT_FALSE(HZ_Format_Changed);

    ASSERT_EQ(summary.List1.ListCount(), 13);
    summary.List1.setListIndex(12);
    EXPECT_EQ(summary.St.Rep_Name, "卡类O'消费月报");
    EXPECT_EQ(summary.Label1(0).Caption(), "卡类型：");
    EXPECT_EQ(summary.Combo1.ListCount(), 3);  // 全部 and the two card kinds
    summary.Command1.click();

    sv->fileAnswers = {dir.file("format.xlsx")};
    summary.Command4(0).click();
    EXPECT_TRUE(std::filesystem::exists(dir.file("format.xlsx")));
    EXPECT_EQ(lastPrompt(), "提示:输出成功.");
}

// The office restores a backup while the editor is open: the save is refused
// with the reason, and the restored file keeps exactly what it had. A file's
// own case: a server database is not replaced under its sessions.
class FormatEditorFile : public FormatEditor {};
TOLVENK_ON_FILE_ONLY(FormatEditorFile);

TEST_P(FormatEditorFile, ASaveAfterTheFileWasReplacedIsRefusedAndTheRestoredFileIsUntouched) {
    w.Load();
    const std::string path = dir.file("b.mdb");
    const std::string backup = test::createBusinessDb(dir.file("backup.mdb"));
    test::connect(backup)->executeScript(
        "PRAGMA journal_mode=DELETE; insert into Sys_Para(Para_Name,SubParaName,P1) values('HZ_Rep_Format','101','R');");
    std::filesystem::rename(dir.file("backup.mdb"), path);
    define(w, "新格式", "日报表", "部门", "无", {5});
    try {
        w.cmd_Add.click();
        ADD_FAILURE() << "saved into a replaced file";
    } catch (const std::exception& e) {
        // Told in the window's language, naming the file.
        const std::string told = e.what(), replaced = L(994).substr(L(994).find("%1") + 2);
        EXPECT_NE(told.find(replaced), std::string::npos) << told;
        EXPECT_NE(told.find("b.mdb"), std::string::npos) << told;
    }
    auto restored = test::connect(strCN);
    EXPECT_EQ(restored->openRecordset("PRAGMA integrity_check")->field(0).toString(), "ok");
    EXPECT_EQ(restored->openRecordset("select count(*) from Sys_Para")->field(0).toInt64(), 1);
}

// A defined format may not take a built-in report's title in any language,
// nor a control character; its number and name are settled at the save,
// whatever another editor stored since the panel opened.
TEST_P(FormatEditor, NamesAndNumbersAreSettledWhenTheFormatIsSaved) {
    addFormat("101", "甲", "10000");
    addFormat("102", "乙", "10000");
    addFormat("102", "乙二", "10000");  // a number an earlier fault took twice
    w.Load();
    for (const std::string& name : {std::string("现金收支日报表"), std::string("daily report on cash receipts and payments")}) {
        define(w, name, "日报表", "部门", "无", {5});
        w.cmd_Add.click();
        expectBox("该自定义的报表名称已存在", 48);
    }
    define(w, "日报\t二", "日报表", "部门", "无", {5});
    w.cmd_Add.click();
    expectBox(Lang[902], 48);

    define(w, "丙", "日报表", "部门", "无", {5});
    EXPECT_EQ(w.Combo4.Text(), "103");
    addFormat("103", "别人的", "10000");  // another editor saves first
    w.cmd_Add.click();
    EXPECT_TRUE(sv->boxes.empty()) << lastPrompt();
    EXPECT_EQ(stored("104").at(0), "丙");
    EXPECT_EQ(w.Combo4.Text(), "104");

    define(w, "丁", "日报表", "部门", "无", {5});
    addFormat("105", "丁", "10000");  // and takes the same name
    w.cmd_Add.click();
    expectBox("该自定义的报表名称已存在", 48);
    EXPECT_EQ(storedCount(), 6);
}
