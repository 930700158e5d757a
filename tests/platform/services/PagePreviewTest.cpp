// The real preview on a long grid, with its own event loop (offscreen): it
// shows at once and draws the pages in view, not the thousands it could.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QPainter>
#include <QPrinter>
#include <QProgressBar>
#include <QTimer>
#include <filesystem>
#include <map>
#include <memory>
#include <string>

#include "platform/grid/PagePainter.h"
#include "platform/services/PagePreview.h"
#include "platform/services/PrintDocument.h"
#include "support/PdfInfo.h"
#include "platform/services/QtServices.h"

using namespace tolvenk;
namespace fs = std::filesystem;

namespace {

// The document as the preview is handed it, counting each page it paints.
class CountingDocument : public platform::PrintDocument {
public:
    explicit CountingDocument(const platform::PrintDocument& doc) : doc_(doc) {}
    bool landscape() const override { return doc_.landscape(); }
    int pageCount(const QPageLayout& layout) const override { return doc_.pageCount(layout); }
    void paintPage(QPainter& p, int index, const QPageLayout& layout) const override {
        ++(dynamic_cast<QPrinter*>(p.device()) ? printed : painted)[index];
        doc_.paintPage(p, index, layout);
    }
    mutable std::map<int, int> painted;  // page -> times drawn on screen
    mutable std::map<int, int> printed;

private:
    const platform::PrintDocument& doc_;
};

// The Qt services, with a look at the preview while it is open.
class LookingServices : public platform::QtServices {
public:
    std::function<void(platform::PagePreview&, CountingDocument&)> look;
    void printPreview(const platform::PrintDocument& doc, int zoomPercent) override {
        CountingDocument counted(doc);
        QTimer::singleShot(0, [&] {
            auto* preview = dynamic_cast<platform::PagePreview*>(QApplication::activeModalWidget());
            if (!preview) {
                ADD_FAILURE() << "no preview open";
                if (QWidget* other = QApplication::activeModalWidget()) other->close();
                return;
            }
            look(*preview, counted);
            preview->reject();
        });
        QtServices::printPreview(counted, zoomPercent);
    }
};

// Runs the event loop until `done`, a bounded number of turns.
template <class Done>
bool spinUntil(Done done) {
    for (int turn = 0; turn < 2000 && !done(); ++turn) QCoreApplication::processEvents();
    return done();
}


}  // namespace

// 200,000 rows, landscape and titled: 680 - 44 - 28 - 22 (the header row)
// leaves 586 px, 26 rows of 22 a page, so 7,693 pages, one across.
TEST(PagePreview, OpensALongGridAtOnceAndDrawsOnlyThePagesInView) {
    grid::GridModel g;
    g.setCols(5);
    g.setRows(200001);
    for (int c = 0; c < 5; ++c) g.setText(0, c, "列" + std::to_string(c));
    for (int r = 1; r <= 200000; ++r) {
        g.setText(r, 0, std::to_string(r));
        g.setText(r, 2, "R" + std::to_string(r));
    }
    grid::PageSetup setup;
    setup.title = "消费明细查询";
    setup.titleOn = true;
    setup.footer = "制表人：admin    制表日期:2026-12-06 10:00:00";
    setup.footerOn = true;
    setup.orientation = 2;

    auto sv = std::make_shared<LookingServices>();
    platform::setServices(sv);
    bool looked = false;
    const fs::path dir = fs::temp_directory_path() / "tolvenk-preview-long";
    fs::remove_all(dir);
    fs::create_directories(dir);
    sv->look = [&](platform::PagePreview& preview, CountingDocument& doc) {
        looked = true;
        EXPECT_TRUE(preview.isVisible());
        EXPECT_EQ(preview.pageCount(), 7693);
        ASSERT_TRUE(spinUntil([&] { return doc.painted.count(0) > 0; }));
        EXPECT_EQ(preview.currentPage(), 0);
        // At 100 % a landscape page is 794 px high: the view holds one or two.
        EXPECT_LE(doc.painted.size(), 2u);

        preview.showPage(5000);
        ASSERT_TRUE(spinUntil([&] { return doc.painted.count(5000) > 0; }));
        EXPECT_EQ(preview.currentPage(), 5000);
        preview.showPage(7692);
        ASSERT_TRUE(spinUntil([&] { return doc.painted.count(7692) > 0; }));
        EXPECT_EQ(preview.currentPage(), 7692);
        EXPECT_LE(doc.painted.size(), 6u);
        for (const auto& [page, times] : doc.painted) EXPECT_EQ(times, 1) << page;  // pages kept, not drawn again

        // Fitting the page redraws only what is in view at the new size.
        preview.setZoom(0);
        const std::size_t before = doc.painted.size();
        spinUntil([&] { return doc.painted[7692] == 2; });
        EXPECT_EQ(doc.painted[7692], 2);
        EXPECT_LE(doc.painted.size(), before + 1);

        // Printing pages 101-130 sends those thirty and no others.
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString((dir / "part.pdf").string()));
        printer.setPageLayout(doc.pageLayout());
        EXPECT_TRUE(preview.printTo(printer, 100, 129));
        EXPECT_EQ(doc.printed.size(), 30u);
        EXPECT_EQ(doc.printed.begin()->first, 100);
        EXPECT_EQ(doc.printed.rbegin()->first, 129);
        // The progress counts the pages sent: a range past the end ends at the last page.
        auto* progress = preview.findChild<QProgressBar*>();
        ASSERT_NE(progress, nullptr);
        EXPECT_EQ(progress->maximum(), 30);
        QPrinter last(QPrinter::HighResolution);
        last.setOutputFormat(QPrinter::PdfFormat);
        last.setOutputFileName(QString::fromStdString((dir / "last.pdf").string()));
        last.setPageLayout(doc.pageLayout());
        EXPECT_TRUE(preview.printTo(last, 7690, 9999));
        EXPECT_EQ(progress->maximum(), 3);
        EXPECT_EQ(doc.printed.rbegin()->first, 7692);
    };
    grid::printPreview(g, setup, 100);
    platform::setServices(nullptr);
    EXPECT_TRUE(looked);
    EXPECT_EQ(test::pdfPages((dir / "part.pdf").string()), 30);
    fs::remove_all(dir);
}
