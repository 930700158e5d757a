#include <gtest/gtest.h>

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QImage>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTemporaryDir>
#include <algorithm>
#include <filesystem>
#include <tuple>

#include "platform/Error.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/GridView.h"
#include "support/TestServices.h"

using namespace tolvenk;
using namespace tolvenk::forms;
using grid::CellKind;

namespace {

struct GridWindow : Form {
    Grid Grid1{*this};
    std::vector<std::string> log;

    GridWindow() {
        Grid1.Move(0, 0, 6000, 3000);
        Grid1.setCols(4);
        Grid1.setRows(1);
        Grid1.Cell(0, 1).setText("design");
        Grid1.CellChange = [this](int r, int c) { log.push_back("cell " + rc(r, c)); };
        Grid1.AfterEdit = [this](int r, int c) { log.push_back("edit " + rc(r, c)); };
        Grid1.LeftColChange = [this](int c) { log.push_back("left " + std::to_string(c)); };
    }
    void Form_Load() override {
        Grid1.setRows(1);
        for (int i = 1; i <= 5; ++i) Grid1.Add_Row("a" + std::to_string(i) + "\tb\t0");
    }
    static std::string rc(int r, int c) { return std::to_string(r) + "," + std::to_string(c); }
    QAbstractItemModel* items() const { return Grid1.view()->model(); }
    QModelIndex at(int r, int c) const { return items()->index(r, c); }
};

class GridExports : public ::testing::Test {
protected:
    test::ServicesScope sv;
};

}  // namespace

TEST(Grid, CellsColumnsAndRowsGoToTheModel) {
    GridWindow w;
    w.Load();
    Grid& g = w.Grid1;
    EXPECT_EQ(g.Rows(), 6);
    EXPECT_EQ(g.Cell(2, 1).Text(), "a2");
    EXPECT_EQ(g.Cell(2, 3).Text(), "0");
    EXPECT_EQ(g.Cell(2, 0).Text(), "");

    g.Column(2).setAlignment(14);
    g.Cell(3, 2).setAlignment(10);
    EXPECT_EQ(g.Cell(2, 2).Alignment(), 14);  // the column's
    EXPECT_EQ(g.Cell(3, 2).Alignment(), 10);  // its own
    EXPECT_THROW(g.Cell(1, 1).setAlignment(7), VbError);
    EXPECT_THROW(g.Column(4), VbError);

    g.Column(1).setWidth(0);
    g.setRow_Height(4, 0);
    g.Refresh();
    EXPECT_TRUE(g.view()->isColumnHidden(1));
    EXPECT_TRUE(g.view()->isRowHidden(4));
    EXPECT_EQ(g.model().columnWidth(1), 0);
    EXPECT_EQ(g.view()->model()->rowCount(), 6);
    EXPECT_EQ(g.LeftCol(), 2);  // the hidden column is not the first shown
    EXPECT_NE(std::find(w.log.begin(), w.log.end(), "left 2"), w.log.end());

    g.RemoveRow(1);
    EXPECT_EQ(g.Cell(1, 1).Text(), "a2");
}

// Widths follow the texts as the grid's font draws them: a column too narrow
// for a text widens, a wide one stays, a hidden one stays hidden, and a
// merged head too wide for its columns widens the last one shown.
TEST(Grid, ColumnsWidenToTheirTextsInTheGridsFont) {
    GridWindow w;
    w.Load();
    Grid& g = w.Grid1;
    const QFontMetrics fm(g.view()->font());
    const auto advance = [&](const char* t) { return fm.horizontalAdvance(QString::fromUtf8(t)); };
    for (int c = 0; c < 4; ++c) g.Column(c).setWidth(20);
    g.Column(1).setWidth(400);
    g.Column(3).setWidth(0);
    g.Cell(2, 0).setText("WWWWWWWWWWWWWWWWWWWW");  // wider than the estimate of 7 px a letter
    g.Cell(3, 2).setText("临时人员与访客");
    g.Cell(4, 3).setText("hidden");
    g.setRows(7);
    g.Cell(6, 2).setText("A merged total wider than both columns together, and then some more");
    g.Range(6, 2, 6, 3).Merge();

    g.Widen_To_Text();
    EXPECT_GE(g.Column(0).Width(), advance("WWWWWWWWWWWWWWWWWWWW") + 6);
    EXPECT_GE(g.Column(2).Width(), advance("临时人员与访客") + 6);
    EXPECT_EQ(g.Column(3).Width(), 0);
    const int merged = advance("A merged total wider than both columns together, and then some more") + 6;
    EXPECT_GE(g.Column(2).Width(), merged);
    EXPECT_LT(g.Column(2).Width(), merged + 10);  // only as much as needed
    EXPECT_EQ(g.Column(1).Width(), 400);

    g.Column(0).setWidth(20);
    g.Column(0).AutoFit();
    EXPECT_GE(g.Column(0).Width(), advance("WWWWWWWWWWWWWWWWWWWW") + 6);
}

TEST(Grid, MergesGrowAndGoWithTheRowsTheyNeed) {
    GridWindow w;
    w.Load();
    Grid& g = w.Grid1;
    for (int r = 2; r <= 4; ++r) g.Range(r - 1, 1, r, 1).Merge();
    ASSERT_EQ(g.model().merges().size(), 1u);
    EXPECT_EQ(g.model().merges()[0].row2, 4);
    g.Refresh();
    EXPECT_EQ(g.view()->rowSpan(1, 1), 4);

    g.setRows(3);  // cuts through the block
    g.Refresh();
    EXPECT_TRUE(g.model().merges().empty());
    EXPECT_EQ(g.view()->rowSpan(1, 1), 1);
    EXPECT_EQ(g.view()->model()->rowCount(), 3);
    EXPECT_THROW(g.Range(0, 0, 3, 0), VbError);
}

TEST(Grid, RedrawOffHoldsChangesBackUntilItIsOn) {
    GridWindow w;
    w.Load();
    Grid& g = w.Grid1;
    g.Refresh();
    g.setRedraw(false);
    g.setRedraw(false);  // not nested: one "on" is enough
    g.Add_Row("late");
    QCoreApplication::processEvents();
    EXPECT_EQ(g.view()->model()->rowCount(), 6);
    g.setRedraw(true);
    EXPECT_FALSE(g.model().suspended());
    QCoreApplication::processEvents();
    EXPECT_EQ(g.view()->model()->rowCount(), 7);
    EXPECT_EQ(g.Cell(6, 1).Text(), "late");
}

TEST(Grid, BackgroundsAlternateGiveWayToOwnColoursAndTheRowHighlight) {
    GridWindow w;
    w.Load();
    Grid& g = w.Grid1;
    g.setBackColor1(0xFFFFFF);
    g.setBackColor2(0x00FF00);
    g.setSelectionColor(0x0000FF);
    g.Range(3, 2, 3, 3).setBackColor(0xFF0000);
    g.Range(4, 1, 5, 1).setSelected(true);
    g.Refresh();
    const auto back = [&](int r, int c) { return w.items()->data(w.at(r, c), Qt::BackgroundRole).value<QColor>(); };
    EXPECT_EQ(back(1, 1), QColor(255, 255, 255));
    EXPECT_EQ(back(2, 1), QColor(0, 255, 0));  // 0x00BBGGRR
    EXPECT_EQ(back(3, 2), QColor(0, 0, 255));
    EXPECT_EQ(back(3, 1), QColor(255, 255, 255));
    EXPECT_EQ(back(5, 3), QColor(255, 0, 0));
    EXPECT_NE(back(0, 1), back(1, 1));  // the header row looks like one
    EXPECT_TRUE(g.Range(4, 0, 5, 0).Selected());

    g.RemoveRow(1);  // the highlight moves up with its rows
    EXPECT_TRUE(g.Range(3, 0, 4, 0).Selected());
    EXPECT_FALSE(g.Range(2, 0, 2, 0).Selected());
}

TEST(Grid, TickBoxesAndListsAreEditedThroughTheView) {
    GridWindow w;
    w.Load();
    Grid& g = w.Grid1;
    g.Column(3).setCellType(CellKind::TickBox);
    g.Column(2).setCellType(CellKind::DropDown);
    g.Column(2).setList({"lunch", "supper"});
    g.Refresh();
    QAbstractItemModel* m = w.items();

    EXPECT_EQ(m->data(w.at(1, 3), Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_FALSE(m->data(w.at(1, 3), Qt::DisplayRole).isValid());  // no "0" beside the box
    EXPECT_TRUE(m->setData(w.at(1, 3), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(g.Cell(1, 3).Text(), "1");
    m->setData(w.at(1, 3), Qt::Unchecked, Qt::CheckStateRole);
    EXPECT_EQ(g.Cell(1, 3).Text(), "0");
    EXPECT_FALSE(m->flags(w.at(0, 3)) & Qt::ItemIsUserCheckable);  // the header cell is text

    // A person's click anywhere in the cell ticks it.
    w.widget()->show();
    g.Refresh();
    const QPoint centre = g.view()->visualRect(w.at(2, 3)).center();
    for (QEvent::Type t : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent e(t, centre, g.view()->viewport()->mapToGlobal(centre), Qt::LeftButton,
                      t == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(g.view()->viewport(), &e);
    }
    EXPECT_EQ(g.Cell(2, 3).Text(), "1");

    g.Column(3).setLocked(true);
    EXPECT_FALSE(m->setData(w.at(3, 3), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(g.Cell(3, 3).Text(), "0");

    QAbstractItemDelegate* d = g.view()->itemDelegateForIndex(w.at(1, 2));
    QStyleOptionViewItem option;
    QWidget* editor = d->createEditor(g.view()->viewport(), option, w.at(1, 2));
    auto* combo = dynamic_cast<QComboBox*>(editor);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->count(), 2);
    combo->setCurrentIndex(1);
    d->setModelData(editor, m, w.at(1, 2));
    EXPECT_EQ(g.Cell(1, 2).Text(), "supper");
    delete editor;

    EXPECT_EQ(w.log, (std::vector<std::string>{"edit 1,3", "edit 1,3", "cell 2,3", "edit 2,3", "edit 1,2"}));
}

TEST(Grid, ActiveCellMovesFromCodeAndByAPerson) {
    GridWindow w;
    w.Load();
    Grid& g = w.Grid1;
    g.setActive_Cell(2, 1);
    g.setActive_Cell(2, 1);  // no move, no event
    EXPECT_EQ(g.view()->currentIndex(), w.at(2, 1));
    g.view()->setCurrentIndex(w.at(3, 2));
    EXPECT_EQ(g.Active_Cell().Row(), 3);
    EXPECT_EQ(g.Active_Cell().Col(), 2);
    g.Active_Cell().setCol(1);
    EXPECT_THROW(g.setActive_Cell(6, 0), VbError);

    g.Add_Row("more");  // Qt's model is reset: the current cell stays
    g.Refresh();
    EXPECT_EQ(g.view()->currentIndex(), w.at(3, 1));
    g.RemoveRow(1);  // and moves up with its row
    EXPECT_EQ(g.Active_Cell().Row(), 2);
    EXPECT_EQ(w.log, (std::vector<std::string>{"cell 2,1", "cell 3,2", "cell 3,1"}));
}

TEST(Grid, FixedRowsStayOnTopWhileTheDataRowsScroll) {
    GridWindow w;
    Grid& g = w.Grid1;
    g.setFixedRows(2);
    g.setCols(20);
    g.setRows(2);
    for (int i = 0; i < 60; ++i) g.Add_Row(std::to_string(i));
    w.widget()->resize(500, 300);
    w.widget()->show();
    g.Refresh();
    GridTable* strip = static_cast<GridView*>(g.view())->frozen();
    EXPECT_TRUE(strip->isVisible());
    EXPECT_EQ(strip->model()->rowCount(), 2);
    const int stripHeight = strip->height();
    EXPECT_EQ(stripHeight, g.Row_Height(0) + g.Row_Height(1));

    g.view()->verticalScrollBar()->setValue(20 * g.Row_Height(2));
    g.view()->setCurrentIndex(w.at(21, 1));  // just scrolled under the strip
    EXPECT_GE(g.view()->rowViewportPosition(21), stripHeight);

    g.view()->horizontalScrollBar()->setValue(2);
    EXPECT_EQ(strip->horizontalScrollBar()->value(), 2);  // headers move sideways with the data
}

TEST(Grid, ScrollingSidewaysReportsTheFirstColumnShown) {
    GridWindow w;
    Grid& g = w.Grid1;
    g.setCols(20);
    w.widget()->resize(400, 300);
    w.widget()->show();
    g.Refresh();
    w.log.clear();
    EXPECT_EQ(g.LeftCol(), 1);  // beside the fixed column 0
    g.view()->horizontalScrollBar()->setValue(g.view()->columnViewportPosition(3) - g.view()->columnViewportPosition(1));
    EXPECT_EQ(g.LeftCol(), 3);
    g.view()->horizontalScrollBar()->setValue(0);
    EXPECT_EQ(w.log, (std::vector<std::string>{"left 3", "left 1"}));
}

TEST(Grid, UnloadBringsTheGridBackAsBuilt) {
    GridWindow w;
    w.Load();
    w.Grid1.Range(1, 1, 2, 1).Merge();
    w.Grid1.Range(1, 1, 1, 1).setSelected(true);
    w.Grid1.Page_Setup().title = "Report";
    ASSERT_TRUE(w.Unload());
    EXPECT_EQ(w.Grid1.Rows(), 1);
    EXPECT_EQ(w.Grid1.Cell(0, 1).Text(), "design");
    EXPECT_TRUE(w.Grid1.model().merges().empty());
    EXPECT_EQ(w.Grid1.Page_Setup().title, "");
    EXPECT_EQ(w.Grid1.view()->model()->rowCount(), 1);
    w.Load();
    w.Grid1.Cell(1, 1).setText("again");  // still wired to its view
    QCoreApplication::processEvents();
    EXPECT_EQ(w.items()->data(w.at(1, 1), Qt::DisplayRole).toString(), "again");
}

TEST_F(GridExports, AnEmptyNameAsksForAPathAndACancelExportsNothing) {
    GridWindow w;
    w.Load();
    sv->fileAnswers = {"", "", ""};
    EXPECT_FALSE(w.Grid1.Export_Excel("", true));
    EXPECT_FALSE(w.Grid1.Export_HTML(""));
    EXPECT_FALSE(w.Grid1.Export_XML(""));
    EXPECT_EQ(sv->saveFilters, (std::vector<std::string>{"Excel|*.xlsx", "HTML|*.html", "XML|*.xml"}));
}

TEST_F(GridExports, AnAnsweredPathIsWrittenWithItsExtension) {
    GridWindow w;
    w.Load();
    const QTemporaryDir tmp;
    const std::filesystem::path dir = tmp.path().toStdString();
    sv->fileAnswers = {(dir / "report").string(), (dir / "page.HTM").string()};
    const bool excel = w.Grid1.Export_Excel("", false);
    const bool html = w.Grid1.Export_HTML("");
    EXPECT_TRUE(sv->fileAnswers.empty());
    // The writers may not be finished; where they write, the names must be right.
    if (excel) {
        EXPECT_TRUE(std::filesystem::exists(dir / "report.xlsx"));
    }
    if (html) {
        EXPECT_TRUE(std::filesystem::exists(dir / "page.HTM"));
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "page.HTM.html"));

    w.Grid1.Export_XML((dir / "given.xml").string());  // a name from the window: nothing asked
    EXPECT_EQ(sv->saveFilters.size(), 2u);
}

TEST(Grid, ChineseTextIsDrawnOnScreen) {
    GridWindow w;
    w.setCaption("消费明细");
    Grid& g = w.Grid1;
    g.setCols(3);
    g.setRows(1);
    g.Cell(0, 1).setText("部门");
    g.Cell(0, 2).setText("金额");
    g.Add_Row("食堂一楼\t12.50");
    g.Add_Row("开水房\t0.80");
    g.Column(1).setWidth(120);
    w.widget()->resize(420, 200);
    w.widget()->show();
    g.Refresh();
    if (QFontDatabase::families().contains("WenQuanYi Micro Hei")) {
        EXPECT_EQ(QFontInfo(g.view()->font()).family(), "WenQuanYi Micro Hei");
    }

    const QImage shot = g.view()->grab().toImage();
    const QString file = QDir::temp().filePath("tolvenk-grid-cjk.png");
    EXPECT_TRUE(shot.save(file));
    // Dark text pixels inside the cells of the Chinese texts.
    const QRect cells = g.view()->visualRect(w.at(1, 1)).united(g.view()->visualRect(w.at(2, 1)));
    int ink = 0;
    for (int y = cells.top(); y <= cells.bottom(); ++y)
        for (int x = cells.left(); x <= cells.right(); ++x)
            if (qGray(shot.pixel(x + g.view()->viewport()->x(), y + g.view()->viewport()->y())) < 128) ++ink;
    EXPECT_GT(ink, 40);
}

// The borders a print puts on the grid show on screen too: a line along every
// cell edge but none across a merged block, which shows as one cell as on the
// printed page. Blocks in the fixed rows ("日期" over two rows, "早餐" over two
// columns) and in the data rows; the edges beside them keep their lines.
TEST(Grid, BorderLinesGoAroundMergedBlocks) {
    GridWindow w;
    Grid& g = w.Grid1;
    g.setCols(4);
    g.setRows(2);
    g.setFixedRows(2);
    for (int c = 0; c < 4; ++c) g.Column(c).setWidth(80);
    for (const auto& [r, c, text] : std::vector<std::tuple<int, int, std::string>>{
             {0, 1, "日期"}, {1, 1, "日期"}, {0, 2, "早餐"}, {0, 3, "早餐"}, {1, 2, "份数"}, {1, 3, "金额"}})
        g.Cell(r, c).setText(text);
    g.Add_Row("2026-12-01\t1\t5.00");
    g.Add_Row("2026-12-01\t2\t8.00");
    g.Range(0, 1, 1, 1).Merge();
    g.Range(0, 2, 0, 3).Merge();
    g.Range(2, 1, 3, 1).Merge();
    for (int r = 0; r < 4; ++r) g.setRow_Height(r, 40);  // room for a line beside a glyph's stroke
    const auto all = g.Range(0, 0, g.Rows() - 1, g.Cols() - 1);
    for (int edge = 0; edge <= 3; ++edge) all.setBorders(edge, 2);
    all.setBorders(4, 1);
    all.setBorders(5, 1);
    w.widget()->resize(420, 240);
    w.widget()->show();
    g.Refresh();

    QTableView* v = g.view();
    const QImage shot = v->grab().toImage();
    const QPoint origin = v->viewport()->pos();
    const auto dark = [&](int x, int y) { return qGray(shot.pixel(origin + QPoint(x, y))) < 128; };
    // The longest run of dark pixels along the edge under row r (in column c)
    // or right of column c (in row r), as a share of the edge's length.
    const auto under = [&](int r, int c) {
        const int y = v->rowViewportPosition(r) + v->rowHeight(r) - 1, x0 = v->columnViewportPosition(c);
        int run = 0, longest = 0;
        for (int x = x0; x < x0 + v->columnWidth(c); ++x) longest = std::max(longest, run = dark(x, y) ? run + 1 : 0);
        return double(longest) / v->columnWidth(c);
    };
    const auto rightOf = [&](int r, int c) {
        const int x = v->columnViewportPosition(c) + v->columnWidth(c) - 1, y0 = v->rowViewportPosition(r);
        int run = 0, longest = 0;
        for (int y = y0; y < y0 + v->rowHeight(r); ++y) longest = std::max(longest, run = dark(x, y) ? run + 1 : 0);
        return double(longest) / v->rowHeight(r);
    };
    EXPECT_LT(under(0, 1), 0.6);    // through 日期
    EXPECT_LT(rightOf(0, 2), 0.6);  // down the middle of 早餐
    EXPECT_LT(under(2, 1), 0.6);    // through the merged day
    EXPECT_GT(under(0, 0), 0.9);
    EXPECT_GT(under(0, 2), 0.9);
    EXPECT_GT(rightOf(1, 2), 0.9);
    EXPECT_GT(under(2, 2), 0.9);
}

// A grid held during a long read still paints when its window is resized or
// something that covered it goes away: the screen shows the grid as it is,
// not what lay there before.
TEST(Grid, AHeldGridRepaintsWhenResizedOrUncovered) {
    GridWindow w;
    Grid& g = w.Grid1;
    g.setCols(4);
    for (int r = 0; r < 40; ++r) g.Add_Row("row " + std::to_string(r) + "\tx\ty");
    w.widget()->resize(600, 400);
    w.widget()->show();
    g.Refresh();
    QApplication::processEvents();
    QWidget* view = g.view();
    const auto screenMatchesTheGrid = [&] {
        QApplication::processEvents();
        const QPoint at = view->mapTo(view->window(), QPoint(0, 0));
        const QImage onScreen =
            w.widget()->screen()->grabWindow(w.widget()->winId(), at.x(), at.y(), view->width(), view->height())
                .toImage()
                .convertToFormat(QImage::Format_RGB32);
        const QImage fresh = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
        return onScreen == fresh;
    };
    ASSERT_TRUE(screenMatchesTheGrid());
    g.setRedraw(false);
    for (const char* how : {"resized", "uncovered"}) {
        SCOPED_TRACE(how);
        if (std::string(how) == "resized") {
            g.Move(0, 0, 8000, 5000);
        } else {
            QWidget cover(w.widget());
            cover.setAutoFillBackground(true);
            QPalette p = cover.palette();
            p.setColor(QPalette::Window, Qt::red);
            cover.setPalette(p);
            cover.setGeometry(g.view()->geometry());
            cover.show();
            cover.raise();
            QApplication::processEvents();
            cover.hide();
        }
        EXPECT_TRUE(screenMatchesTheGrid());
    }
    g.setRedraw(true);
}
