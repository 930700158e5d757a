// What a person sees of a scrolled grid: the label columns and header rows
// stay in view, and a new fill starts at the top left.
#include <gtest/gtest.h>

#include <QColor>
#include <QHeaderView>
#include <QPointer>
#include <QImage>
#include <QScrollBar>
#include <QTableView>
#include <utility>

#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/GridView.h"
#include "platform/services/ScriptedServices.h"
#include "support/Screen.h"

using namespace tolvenk;
using namespace tolvenk::forms;

namespace {

constexpr int kFixed = 2;

struct ScrollWindow : Form {
    Grid Grid1{*this};
    ScrollWindow() {
        setWidth(6600);
        setHeight(3600);
        Grid1.Move(0, 0, 6000, 3000);
        Grid1.setCols(20);
        Grid1.setFixedRows(kFixed);
        Grid1.setFixedCols(kFixed);
    }
    void fill() {
        Grid1.setRedraw(false);
        Grid1.model().setRows(kFixed);  // as a report run starts its rows again
        for (int r = kFixed; r < 60; ++r) Grid1.model().addRow("");
        for (int r = 0; r < 60; ++r)
            for (int c = 0; c < 20; ++c) Grid1.Cell(r, c).setText(std::to_string(r) + "," + std::to_string(c));
        Grid1.setRedraw(true);
        Grid1.Refresh();
    }
};

// The cell whose text a person sees at a point of the grid's viewport.
std::pair<int, int> seenAt(const Grid& g, QPoint p) {
    const QPoint global = g.view()->viewport()->mapToGlobal(p);
    QWidget* hit = QApplication::widgetAt(global);
    auto* table = hit ? qobject_cast<QTableView*>(hit->parentWidget()) : nullptr;
    if (!table) return {-1, -1};
    const QModelIndex i = table->indexAt(table->viewport()->mapFromGlobal(global));
    return {i.row(), i.column()};
}

}  // namespace

TEST(GridScrolling, LabelsAndHeadersStayInViewAndANewFillStartsAtTheTopLeft) {
    platform::setServices(std::make_shared<platform::ScriptedServices>());
    ScrollWindow w;
    test::whileShown(w, [&] {
        Grid& g = w.Grid1;
        w.fill();
        QTableView* v = g.view();
        const int labels = g.model().columnWidth(0) + g.model().columnWidth(1);
        const int headers = g.Row_Height(0) + g.Row_Height(1);
        const int right = v->viewport()->width() - 4, bottom = v->viewport()->height() - 4;
        EXPECT_EQ(seenAt(g, {labels + 2, headers + 2}), std::make_pair(2, 2));

        v->horizontalScrollBar()->setValue(v->horizontalScrollBar()->maximum());
        v->verticalScrollBar()->setValue(v->verticalScrollBar()->maximum());
        QApplication::processEvents();
        const auto data = seenAt(g, {right, bottom});
        EXPECT_GT(data.first, 40);
        EXPECT_GT(data.second, 10);
        EXPECT_EQ(seenAt(g, {2, 2}), std::make_pair(0, 0));                      // the corner
        EXPECT_EQ(seenAt(g, {labels - 2, bottom}), std::make_pair(data.first, 1));  // the row's own labels
        EXPECT_EQ(seenAt(g, {right, headers - 2}), std::make_pair(1, data.second));  // the column's own header
        EXPECT_EQ(g.LeftCol(), seenAt(g, {labels + 1, bottom}).second);

        // A cell moved to from code is not left behind the labels.
        g.setActive_Cell(data.first, 2);
        QApplication::processEvents();
        EXPECT_EQ(seenAt(g, v->visualRect(v->model()->index(data.first, 2)).center()), std::make_pair(data.first, 2));

        // The next run shows its first rows and columns.
        w.fill();
        QApplication::processEvents();
        EXPECT_EQ(seenAt(g, {labels + 2, headers + 2}), std::make_pair(2, 2));
        EXPECT_EQ(g.LeftCol(), 2);
    });
    platform::setServices(nullptr);
}

// The printed look's row lines, laid over every row of a long grid, show on
// the rows in view wherever the grid is scrolled (drawn for those rows only).
TEST(GridScrolling, RowLinesOfALongGridShowWhereverItIsScrolled) {
    platform::setServices(std::make_shared<platform::ScriptedServices>());
    ScrollWindow w;
    Grid& g = w.Grid1;
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.setCols(4);
    g.setRows(20001);
    g.Range(0, 0, 20000, 3).setBorders(5, 1);
    test::whileShown(w, [&] {
        QTableView* v = g.view();
        const int x = v->columnViewportPosition(2) + 10;
        for (int at : {0, 1, 2}) {
            v->verticalScrollBar()->setValue(v->verticalScrollBar()->maximum() * at / 2);
            QApplication::processEvents();
            const QImage seen = v->viewport()->grab().toImage();
            const int first = v->rowAt(0) + 1, last = v->rowAt(v->viewport()->height() - 1) - 1;
            ASSERT_GT(last, first) << at;
            for (int r : {first, (first + last) / 2, last}) {
                const int y = v->rowViewportPosition(r) + v->rowHeight(r) - 1;
                EXPECT_EQ(seen.pixelColor(x, y), QColor(Qt::black)) << at << " row " << r;
                EXPECT_NE(seen.pixelColor(x, y - v->rowHeight(r) / 2), QColor(Qt::black)) << at << " row " << r;
            }
        }
    });
    platform::setServices(nullptr);
}

// Qt's row header keeps room for every row it has had. A grid cut from a
// long answer to a few rows gets fresh headers, for the table and its label
// strip, laid out as the rows want; one that stays long keeps its own.
TEST(GridScrolling, AGridCutFromALongAnswerGetsFreshRowHeadersWithItsLook) {
    platform::setServices(std::make_shared<platform::ScriptedServices>());
    ScrollWindow w;
    Grid& g = w.Grid1;
    g.setFixedRows(1);
    g.setFixedCols(1);
    g.setCols(4);
    g.setRows(70001);
    test::whileShown(w, [&] {
        auto* v = static_cast<GridView*>(g.view());
        QApplication::processEvents();
        const QPointer<QHeaderView> table = v->verticalHeader(), labels = v->frozenColumns()->verticalHeader();
        g.setRows(60000);
        QApplication::processEvents();
        EXPECT_EQ(v->verticalHeader(), table.data());
        g.setRows(6);
        g.setRow_Height(2, 40);
        g.setRow_Height(3, 0);
        QApplication::processEvents();
        EXPECT_TRUE(table.isNull());
        EXPECT_TRUE(labels.isNull());
        for (QTableView* t : {static_cast<QTableView*>(v), static_cast<QTableView*>(v->frozenColumns())}) {
            EXPECT_FALSE(t->verticalHeader()->isVisible());
            EXPECT_EQ(t->rowHeight(1), g.Row_Height(1));
            EXPECT_EQ(t->rowHeight(2), 40);
            EXPECT_TRUE(t->isRowHidden(3));
            EXPECT_FALSE(t->isRowHidden(4));
        }
    });
    platform::setServices(nullptr);
}
