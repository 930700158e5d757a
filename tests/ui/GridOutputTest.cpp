#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/Grid.h"
#include "support/Fixtures.h"
#include "ui/GridOutput.h"

using namespace tolvenk;

namespace {
class GridOutputTest : public test::KitTest {
protected:
    void SetUp() override {
        KitTest::SetUp();
        Load_Lan(0);
        grid.setCols(3);
        grid.setRows(3);
        grid.Cell(0, 1).setText("姓名");
        grid.Cell(1, 1).setText("张三");
        grid.Column(0).setWidth(0);
    }
    void widths(int a, int b) {
        grid.Column(1).setWidth(a);
        grid.Column(2).setWidth(b);
    }
    forms::Form window;
    forms::Grid grid{window};
};
}  // namespace

TEST_F(GridOutputTest, ExportsReportTheirResult) {
    sv->fileAnswers = {"", dir.file("out.xlsx"), dir.file("out"), dir.file("out.xml")};
    Grid_Output(0, grid, false);  // cancelled: the person knows, no box
    EXPECT_TRUE(sv->boxes.empty());
    Grid_Output(0, grid, false);
    Grid_Output(1, grid, false);
    Grid_Output(2, grid, false);
    ASSERT_EQ(sv->boxes.size(), 3u);
    for (const auto& box : sv->boxes) {
        EXPECT_EQ(box.prompt, "提示:输出成功.");
        EXPECT_EQ(box.style, 64);
        EXPECT_EQ(box.title, "提示");
    }
    EXPECT_TRUE(std::filesystem::exists(dir.file("out.xlsx")));
    EXPECT_TRUE(std::filesystem::exists(dir.file("out.html")));  // extension added
    EXPECT_TRUE(std::filesystem::exists(dir.file("out.xml")));
    Grid_Output(4, grid, false);
    EXPECT_EQ(sv->boxes.size(), 3u);
}

TEST_F(GridOutputTest, AFailureSaysWhyAndTheCaptionTitlesTheFile) {
    std::ofstream(dir.file("old.html")) << "old";
    std::filesystem::permissions(dir.file("old.html"), std::filesystem::perms::owner_read);
    sv->fileAnswers = {dir.file("old.html"), dir.file("new.html")};
    Grid_Output(1, grid, true, "消费明细查询", "admin");
    Grid_Output(1, grid, true, "消费明细查询", "admin");
    ASSERT_EQ(sv->boxes.size(), 2u);
    // Why in the window's language, then the system's words for support.
    EXPECT_EQ(sv->boxes[0].prompt, "提示:输出失败.\n文件 " + dir.file("old.html") +
                                       " 不允许写入：它只能读取，或者它所在的文件夹不允许写入。请换一个文件名或文件夹。\n" +
                                       dir.file("old.html") + ": " + std::strerror(EACCES));
    EXPECT_EQ(sv->boxes[0].style, 48);
    EXPECT_EQ(sv->boxes[1].prompt, "提示:输出成功.");
    std::ifstream in(dir.file("new.html"));
    const std::string html{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(html.find("<title>消费明细查询</title>"), std::string::npos);
    EXPECT_FALSE(grid.Page_Setup().titleOn);  // the printed page is not changed by an export

    // Without the footer option the export is titled all the same.
    sv->fileAnswers = {dir.file("plain.html")};
    grid.Page_Setup().title.clear();
    Grid_Output(1, grid, false, "余额查询");
    std::ifstream plain(dir.file("plain.html"));
    const std::string titled{std::istreambuf_iterator<char>(plain), std::istreambuf_iterator<char>()};
    EXPECT_NE(titled.find("<title>余额查询</title>"), std::string::npos);
    EXPECT_FALSE(grid.Page_Setup().titleOn);
}

// Every failure is told in the window's language, whatever the system's
// language; its words stay below for support, and only where it gave some.
TEST_F(GridOutputTest, AFailedExportSaysWhyInTheWindowsLanguage) {
    const std::string folder = dir.file("gone") + "/", missing = std::strerror(ENOENT);
    sv->fileAnswers = {folder + "a.xml", folder + "b.xml", folder + "c.xml"};
    for (std::int16_t language : {0, 1, 2}) {
        Load_Lan(language);
        Grid_Output(2, grid, false);
    }
    ASSERT_EQ(sv->boxes.size(), 3u);
    EXPECT_EQ(sv->boxes[0].prompt, "提示:输出失败.\n文件 " + folder + "a.xml 所在的文件夹不存在。请换一个文件夹。\n" + folder +
                                       "a.xml: " + missing);
    EXPECT_EQ(sv->boxes[1].prompt, "Prompt:Fail to output!\nThe folder for the file " + folder +
                                       "b.xml does not exist. Choose another folder.\n" + folder + "b.xml: " + missing);
    EXPECT_EQ(sv->boxes[2].prompt, "提示:輸出失敗.\n文件 " + folder + "c.xml 所在的文件夾不存在。請換一個文件夾。\n" + folder +
                                       "c.xml: " + missing);
    EXPECT_EQ(sv->boxes[2].title, "提示");

    // A grid past what a worksheet holds: nothing of the system's to add.
    grid.setCols(16385);
    sv->fileAnswers = {dir.file("wide.xlsx")};
    Load_Lan(0);
    Grid_Output(0, grid, false);
    ASSERT_EQ(sv->boxes.size(), 4u);
    EXPECT_EQ(sv->boxes[3].prompt, "提示:输出失败.\n表格有 16385 列，超过了一个工作表能容纳的 16384 列，所以没有写出文件 " +
                                       dir.file("wide.xlsx") + "。");
    EXPECT_FALSE(std::filesystem::exists(dir.file("wide.xlsx")));
}

TEST_F(GridOutputTest, PrintOrientationFollowsTheTotalWidth) {
    widths(350, 350);  // 700, the hidden column adds nothing
    Grid_Output(3, grid, false);
    widths(350, 351);
    Grid_Output(3, grid, false);
    ASSERT_EQ(sv->previews.size(), 2u);
    EXPECT_FALSE(sv->previews[0].landscape);
    EXPECT_TRUE(sv->previews[1].landscape);
    EXPECT_EQ(sv->previews[1].zoomPercent, 100);
    EXPECT_FALSE(grid.Page_Setup().titleOn);  // no footer option: no title, no footer
    EXPECT_FALSE(grid.Page_Setup().footerOn);
    // Borders over every cell: four outer edges medium, two inner thin.
    const auto& borders = grid.model().borders();
    ASSERT_GE(borders.size(), 6u);
    EXPECT_EQ(borders[0].range.row2, 2);
    EXPECT_EQ(borders[0].range.col2, 2);
    EXPECT_EQ(borders[0].style, 2);
    EXPECT_EQ(borders[5].edge, 5);
    EXPECT_EQ(borders[5].style, 1);
}

TEST_F(GridOutputTest, PrintWithFooterCarriesCaptionOperatorAndTime) {
    sv->clock = "2026-12-06 10:05:00";
    Grid_Output(3, grid, true, "消费明细查询", "admin");
    const grid::PageSetup& page = grid.Page_Setup();
    EXPECT_TRUE(page.titleOn);
    EXPECT_EQ(page.title, "消费明细查询");
    EXPECT_TRUE(page.footerOn);
    EXPECT_EQ(page.footer, "制表人：admin    制表日期:2026-12-06 10:05:00");
    EXPECT_EQ(sv->previews.size(), 1u);
}

TEST(LimitNum, DigitsAndBackspaceOnly) {
    test::ServicesScope sv;
    Load_Lan(0);
    EXPECT_EQ(LimitNum('5', "0123456789", true), "53");
    EXPECT_EQ(LimitNum(8, "0123456789", true), "8");
    EXPECT_EQ(LimitNum(8, "0123456789", false), "0");
    EXPECT_EQ(LimitNum('a', "0123456789", true), "0");
    EXPECT_EQ(sv->beeps, 2);
    EXPECT_EQ(LimitNum(-1, "0123456789", true), "0");
    EXPECT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].style, 16);
    // A key that is no character is refused as the runtime's error 5, told plainly.
    EXPECT_EQ(sv->boxes[0].prompt, "发生了意外错误，这一步没有完成。\n错误号 5");
    EXPECT_EQ(sv->boxes[0].title, "出错");

    forms::Form w;
    forms::CheckBox CheckAll(w);
    Grid1_Event31(3, CheckAll);
    EXPECT_FALSE(CheckAll.Visible());
    Grid1_Event31(1, CheckAll);
    EXPECT_TRUE(CheckAll.Visible());
}
