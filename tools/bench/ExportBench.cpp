// Times the three grid exports of a transaction-detail grid and measures the
// memory each adds to the process's peak, with the grid model's own size;
// then opens the grid's print preview with a real event loop and tells how
// soon its first page shows and the longest the loop went without turning.
// Usage: tolvenk-bench-export [rows] [folder]   (prints a table)
#include <QApplication>
#include <QPrinter>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "bench/ProcessMemory.h"
#include "platform/forms/Form.h"
#include "platform/forms/Grid.h"
#include "platform/grid/GridExport.h"
#include "platform/grid/GridModel.h"
#include "platform/grid/PagePainter.h"
#include "platform/services/Application.h"
#include "platform/services/PagePreview.h"
#include "platform/services/PrintDocument.h"
#include "platform/services/QtServices.h"

using namespace tolvenk;
using bench::resetPeak;
using bench::statusMb;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

namespace {

double seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }
double millis(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}


std::string money(long fen) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "\xEF\xBF\xA5%ld.%02ld", fen / 100, fen % 100);
    return buf;
}

// The columns of the transaction detail: row number, machine, place, time,
// amount, times, balance, times left, kind, unit, name, code, department, card.
void fill(grid::GridModel& g, int rows) {
    static const char* places[] = {"一食堂", "二食堂", "教工餐厅", "超市", "开水房"};
    static const char* kinds[] = {"消费机消费", "电脑充值", "补贴", "消费机取款"};
    static const char* names[] = {"张三", "李四", "王五", "赵六", "钱七", "孙八"};
    static const char* depts[] = {"后勤处", "财务处", "计算机学院", "外国语学院", "保卫处"};
    const std::vector<std::string> head = {"", "机号", "地点", "时间", "操作金额", "操作次数", "余额",
                                           "剩余次数", "类型", "单位", "姓名", "编号", "所属部门", "卡号"};
    const int widths[] = {60, 40, 80, 140, 80, 60, 80, 60, 90, 60, 60, 60, 100, 70};
    g.setCols(static_cast<int>(head.size()));
    g.setRows(rows + 1);
    for (int c = 0; c < g.cols(); ++c) {
        g.setText(0, c, head[static_cast<std::size_t>(c)]);
        g.setColumnWidth(c, widths[c]);
    }
    std::mt19937 rnd(7);
    char time[32];
    for (int r = 1; r <= rows; ++r) {
        const unsigned x = rnd();
        const int day = 1 + r / 40000 % 28, sec = r % 86400;
        std::snprintf(time, sizeof time, "2026-07-%02d %02d:%02d:%02d", day, sec / 3600, sec / 60 % 60, sec % 60);
        g.setText(r, 0, std::to_string(r));
        g.setText(r, 1, std::to_string(1 + x % 40));
        g.setText(r, 2, places[x % 5]);
        g.setText(r, 3, time);
        g.setText(r, 4, money(100 + x % 3000));
        if (x % 7 == 0) g.setText(r, 5, "1");
        g.setText(r, 6, money(static_cast<long>(x % 200000)));
        if (x % 7 == 0) g.setText(r, 7, std::to_string(x % 30));
        g.setText(r, 8, kinds[x % 4]);
        g.setText(r, 9, "食堂");
        g.setText(r, 10, names[x % 6]);
        char code[8];
        std::snprintf(code, sizeof code, "%04u", x % 3000);  // codes keep their leading zeros
        g.setText(r, 11, code);
        g.setText(r, 12, depts[x % 5]);
        g.setText(r, 13, std::to_string(100000 + x % 5000));
    }
}

// The document as the preview is handed it, noting each page it draws.
class NotedDocument : public platform::PrintDocument {
public:
    explicit NotedDocument(const platform::PrintDocument& doc) : doc_(doc) {}
    bool landscape() const override { return doc_.landscape(); }
    int pageCount(const QPageLayout& layout) const override { return doc_.pageCount(layout); }
    void paintPage(QPainter& p, int index, const QPageLayout& layout) const override {
        doc_.paintPage(p, index, layout);
        drawn.insert(index);
        ++paints;
    }
    mutable std::set<int> drawn;
    mutable int paints = 0;

private:
    const platform::PrintDocument& doc_;
};

struct PreviewFigures {
    int pages = 0, paints = 0;
    double openSeconds = 0, stallMs = 0, printSeconds = 0, printStallMs = 0;
    int printed = 0;
};

// The Qt preview, walked as a person would: wait for the first page, go to
// the middle, to the end, fit the page, back to the start, print a stretch of
// pages to a PDF, close. A timer that fires at every turn of the event loop
// measures the longest stretch between turns, from the moment the preview
// is asked for.
class WalkingServices : public platform::QtServices {
public:
    PreviewFigures figures;
    std::filesystem::path pdf;
    int printPages = 300;

    void printPreview(const platform::PrintDocument& doc, int zoomPercent) override {
        NotedDocument noted(doc);
        const auto asked = Clock::now();
        auto last = asked;
        QTimer tick;
        tick.setInterval(0);
        int step = 0, waitFor = 0;
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const auto now = Clock::now();
            figures.stallMs = std::max(figures.stallMs, millis(last, now));
            last = now;
            auto* preview = dynamic_cast<platform::PagePreview*>(QApplication::activeModalWidget());
            if (!preview || !noted.drawn.count(waitFor)) return;
            const int end = preview->pageCount() - 1;
            switch (step++) {
            case 0:
                figures.openSeconds = seconds(asked);
                figures.pages = preview->pageCount();
                preview->showPage(waitFor = end / 2);
                break;
            case 1: preview->showPage(waitFor = end); break;
            case 2:
                noted.drawn.clear();
                preview->setZoom(0);
                break;
            case 3: preview->showPage(waitFor = 0); break;
            default: {
                QPrinter printer(QPrinter::HighResolution);
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(QString::fromStdString(pdf.string()));
                printer.setPageLayout(noted.pageLayout());
                const int before = noted.paints;
                // Printing turns the event loop itself, which this timer's
                // own turn does not see: another one measures there.
                QTimer printTick;
                printTick.setInterval(0);
                auto printLast = Clock::now();
                QObject::connect(&printTick, &QTimer::timeout, [&] {
                    const auto at = Clock::now();
                    figures.printStallMs = std::max(figures.printStallMs, millis(printLast, at));
                    printLast = at;
                });
                printTick.start();
                const auto printing = Clock::now();
                preview->printTo(printer, 0, printPages - 1);
                figures.printSeconds = seconds(printing);
                figures.printStallMs = std::max(figures.printStallMs, millis(printLast, Clock::now()));
                figures.printed = noted.paints - before;
                figures.paints = before;
                tick.stop();
                preview->accept();
            }
            }
        });
        tick.start();
        QtServices::printPreview(noted, zoomPercent);
    }
};

// The detail window's grid, at the window's size.
struct DetailWindow : forms::Form {
    forms::Grid Grid1{*this};
    DetailWindow() {
        Move(0, 0, 13760, 9610);
        Grid1.Move(3255, 120, 10200, 8900);
    }
};

}  // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::stoi(argv[1]) : 1000000;
    const fs::path folder = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path() / "tolvenk-bench-export";
    fs::create_directories(folder);

    // The grid lives in a window, as the detail window's does, for the preview below.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) setenv("QT_QPA_PLATFORM", "offscreen", 0);
    platform::ensureApplication();
    DetailWindow window;
    grid::GridModel& g = window.Grid1.model();

    const double before = statusMb("VmRSS");
    const auto filling = Clock::now();
    g.suspend();
    fill(g, rows);
    g.resume();
    const double fillSeconds = seconds(filling);
    const double model = statusMb("VmRSS") - before;
    std::printf("rows %d, columns %d: model filled in %.2f s, model size %.0f MB (%.0f bytes a row)\n\n", rows,
                g.cols(), fillSeconds, model, model * 1024 * 1024 / rows);

    struct Export {
        const char* name;
        bool (*write)(const grid::GridModel&, const std::string&, const grid::ExportOptions&, grid::ExportFailure*);
        const char* file;
    };
    const Export exports[] = {{".xlsx", grid::exportXlsx, "detail.xlsx"},
                              {"HTML", grid::exportHtml, "detail.html"},
                              {"XML", grid::exportXml, "detail.xml"}};
    std::printf("%-6s %10s %12s %16s  %s\n", "export", "seconds", "file MB", "added peak MB", "result");
    for (const Export& e : exports) {
        const fs::path file = folder / e.file;
        resetPeak();
        const double base = statusMb("VmRSS");
        grid::ExportFailure why;
        const auto start = Clock::now();
        const bool ok = e.write(g, file.string(), {"消费明细查询"}, &why);
        const double took = seconds(start);
        const double added = statusMb("VmHWM") - base;
        std::error_code ec;
        const double size = ok ? static_cast<double>(fs::file_size(file, ec)) / 1e6 : 0;
        std::printf("%-6s %10.2f %12.1f %16.1f  %s\n", e.name, took, size, added,
                    ok ? "ok" : (why.told.shown() + " " + why.system).c_str());
        fs::remove(file, ec);
    }

    // The preview as the output button sets it up (titled, with the footer,
    // borders, landscape for a grid this wide), from the window showing its rows.
    auto walk = std::make_shared<WalkingServices>();
    walk->pdf = folder / "preview-part.pdf";
    platform::setServices(walk);
    double added = 0;
    QMetaObject::invokeMethod(
        qApp,
        [&] {
            QApplication::processEvents();  // the window shows its rows first
            grid::PageSetup& setup = window.Grid1.Page_Setup();
            setup.title = "消费明细查询";
            setup.titleOn = true;
            setup.footer = "制表人：admin    制表日期:2026-12-06 10:00:00";
            setup.footerOn = true;
            setup.orientation = 2;
            resetPeak();
            const double base = statusMb("VmRSS");
            auto all = window.Grid1.Range(0, 0, g.rows() - 1, g.cols() - 1);
            for (int edge = 0; edge <= 3; ++edge) all.setBorders(edge, 2);
            all.setBorders(4, 1);
            all.setBorders(5, 1);
            window.Grid1.Print_Preview(100);
            added = statusMb("VmHWM") - base;
            window.Hide();
        },
        Qt::QueuedConnection);
    window.Show();
    platform::setServices(nullptr);
    const PreviewFigures& f = walk->figures;
    std::printf("\nprint preview: %d pages; first page shown %.3f s after it was asked for; longest stretch of "
                "the event loop %.1f ms (opening, to the middle, to the end, fit page, back to the start: %d "
                "pages drawn); added peak %.1f MB\n",
                f.pages, f.openSeconds, f.stallMs, f.paints, added);
    std::printf("printing %d pages to PDF from the preview: %.2f s, longest stretch of the event loop %.1f ms\n",
                f.printed, f.printSeconds, f.printStallMs);
    std::error_code ec;
    fs::remove(walk->pdf, ec);
    return 0;
}
