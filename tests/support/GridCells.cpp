#include "support/GridCells.h"

#include <QFontMetrics>
#include <QStyle>
#include <QWidget>

namespace tolvenk::test {

std::vector<std::string> cutCells(const forms::Grid& g) {
    std::vector<std::string> out;
    const grid::GridModel& m = g.model();
    const QWidget* view = g.widget();
    const QFontMetrics fm(view->font());
    // The item delegate keeps this margin on each side of a cell's text.
    const int margin = view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, view) + 1;
    for (int r = 0; r < m.rows(); ++r) {
        if (m.rowHeight(r) == 0) continue;
        for (int c = 0; c < m.cols(); ++c) {
            const std::string& text = m.text(r, c);
            if (text.empty()) continue;
            int first = c, last = c;
            if (const auto block = m.mergeAt(r, c)) {
                if (block->row1 != r || block->col1 != c) continue;  // drawn by its first cell
                last = block->col2;
            }
            int room = 0;
            for (int k = first; k <= last; ++k) room += m.columnWidth(k);
            if (m.columnWidth(c) == 0 && room == 0) continue;
            const int needed = fm.horizontalAdvance(QString::fromStdString(text)) + 2 * margin;
            if (room < needed)
                out.push_back("(" + std::to_string(r) + "," + std::to_string(c) + ") " + text + ": " +
                              std::to_string(room) + " < " + std::to_string(needed));
        }
    }
    return out;
}

std::vector<std::string> cutCells(const forms::Form& w) {
    std::vector<std::string> out;
    for (const forms::Control* c : w.Controls()) {
        const auto* g = dynamic_cast<const forms::Grid*>(c);
        if (!g || !g->widget()->isVisibleTo(w.widget())) continue;
        for (const std::string& cut : cutCells(*g))
            out.push_back("grid at x " + std::to_string(g->widget()->x()) + " " + cut);
    }
    return out;
}

}  // namespace tolvenk::test
