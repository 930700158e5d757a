// Times the three grid exports of a transaction-detail grid and measures the
// memory each adds to the process's peak, with the grid model's own size.
// Usage: tolvenk-bench-export [rows] [folder]   (prints a table)
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "bench/ProcessMemory.h"
#include "platform/grid/GridExport.h"
#include "platform/grid/GridModel.h"

using namespace tolvenk;
using bench::resetPeak;
using bench::statusMb;
using Clock = std::chrono::steady_clock;
namespace fs = std::filesystem;

namespace {

double seconds(Clock::time_point from) { return std::chrono::duration<double>(Clock::now() - from).count(); }


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

}  // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::stoi(argv[1]) : 1000000;
    const fs::path folder = argc > 2 ? fs::path(argv[2]) : fs::temp_directory_path() / "tolvenk-bench-export";
    fs::create_directories(folder);

    const double before = statusMb("VmRSS");
    const auto filling = Clock::now();
    grid::GridModel g;
    fill(g, rows);
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
    return 0;
}
