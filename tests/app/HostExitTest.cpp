#include <gtest/gtest.h>

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "demo_gen/DemoGenerator.h"
#include "support/ChildRun.h"
#include "support/LocalSockets.h"
#include "support/TestDb.h"

using namespace tolvenk;
using test::ChildRun;
using test::runChild;

namespace {

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

// The whole process, as a person ends it: the summary window opens, the
// format editor is opened from it and left, the summary window is closed, the
// host returns and the process ends normally (the windows must not outlive
// the toolkit they belong to). The configuration file, only read, keeps
// every byte.
TEST(HostProcess, EndsCleanlyAfterTheSummaryWindowAndTheFormatEditor) {
    test::TempDir dir;
    demo::Options options;
    options.firstDay = "2026-09-01";  // a fixed period: the data does not depend on the day
    options.lastDay = "2026-11-30";
    options.businessPath = dir.file("TAM08.mdb");
    options.configPath = dir.file("Config.mdb");
    options.transactions = 200;
    demo::generate(options);
    // As an installation's own file would be: not in the generator's WAL mode.
    test::connect(db::Connection::fileConnectionString(options.configPath))->executeScript("PRAGMA journal_mode=DELETE");
    const std::string config = bytesOf(options.configPath);
    ASSERT_FALSE(config.empty());

    const ChildRun run = runChild("QT_QPA_PLATFORM=offscreen LD_PRELOAD='" TOLVENK_HOST_DRIVER "' '" TOLVENK_HOST
                                  "' '7032;0;7942' admin '" + dir.path().string() + ";Config.mdb;;'");
    ASSERT_TRUE(WIFEXITED(run.status)) << "ended by signal " << (WIFSIGNALED(run.status) ? WTERMSIG(run.status) : 0)
                                       << "\n" << run.output;
    EXPECT_EQ(WEXITSTATUS(run.status), 0) << run.output;
    // The driver did reach both windows.
    EXPECT_NE(run.output.find("定义报表格式: clicked"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("退  出: clicked"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("closing 消费汇总统计"), std::string::npos) << run.output;
    EXPECT_TRUE(bytesOf(options.configPath) == config) << "the host changed the configuration file";
}

// Without a screen the host says in one line what to set and ends with an
// error code of its own, instead of the toolkit aborting it on its first window.
TEST(HostProcess, WithoutAScreenSaysWhatToSetAndEndsWithAnErrorCode) {
    test::TempDir dir;
    demo::Options options;
    options.businessPath = dir.file("TAM08.mdb");
    options.configPath = dir.file("Config.mdb");
    options.transactions = 200;
    options.firstDay = "2026-09-01";
    options.lastDay = "2026-11-30";
    demo::generate(options);

    const ChildRun run = runChild("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM '" TOLVENK_HOST
                                  "' '7032;0;7942' admin '" + dir.path().string() + ";Config.mdb;;'");
    ASSERT_TRUE(WIFEXITED(run.status)) << "ended by signal " << (WIFSIGNALED(run.status) ? WTERMSIG(run.status) : 0)
                                       << "\n" << run.output;
    EXPECT_NE(WEXITSTATUS(run.status), 0) << run.output;
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
    EXPECT_NE(run.output.find("DISPLAY"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("QT_QPA_PLATFORM"), std::string::npos) << run.output;
}

// A display no X server answers at: the toolkit would abort the process on
// its first window (status 134); the host says so in one line instead and
// ends with the status of no screen, whichever form names the display.
TEST(HostProcess, WithADisplayNoServerAnswersSaysSoAndEndsWithStatus3) {
    test::TempDir dir;
    const std::string cn = dir.path().string() + ";Config.mdb;;";
    test::createBusinessDb(dir.file("TAM08.mdb"));
    test::createConfigDb(dir.path().string(), "Config.mdb", "Access", dir.path().string(), "TAM08");
    // No server keeps a socket this high; above where the display check's own
    // test, which may run at the same time, puts a listener.
    int local = 3000;
    while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(local))) ++local;
    const int closed = test::closedPort();
    ASSERT_GT(closed, 6000);
    for (const std::string& display : {":" + std::to_string(local), "unix:" + std::to_string(local) + ".0",
                                       "127.0.0.1:" + std::to_string(closed - 6000)}) {
        SCOPED_TRACE(display);
        const ChildRun run = runChild("env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY='" + display + "' '" TOLVENK_HOST
                                      "' '7032;1;7942' admin '" + cn + "'");
        ASSERT_TRUE(WIFEXITED(run.status)) << "ended by signal " << (WIFSIGNALED(run.status) ? WTERMSIG(run.status) : 0)
                                           << "\n" << run.output;
        EXPECT_EQ(WEXITSTATUS(run.status), 3) << run.output;
        EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << run.output;
        EXPECT_NE(run.output.find("DISPLAY=" + display + ":"), std::string::npos) << run.output;
        EXPECT_NE(run.output.find("tests only"), std::string::npos) << run.output;
    }
}
