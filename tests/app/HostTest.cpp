#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "Host.h"
#include "support/Fixtures.h"
#include "support/LocalSockets.h"

using namespace tolvenk;

using Host = test::KitTest;

TEST_F(Host, RunsTheCallAndReportsFailures) {
    std::ostringstream out;

    // A wrong access code returns at once: nothing opened, nothing shown.
    EXPECT_EQ(host::run({"7034;0;0000", "admin", dir.path().string() + ";cfg.mdb;;"}, out), 0);
    EXPECT_TRUE(sv->boxes.empty());
    EXPECT_EQ(Conn_Main, nullptr);

    // A missing configuration file shows the configuration box and returns.
    EXPECT_EQ(host::run({"7034;1;7942", "admin", dir.path().string() + ";cfg.mdb;;"}, out), 1);
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].style, 16);
    // The first call in a process has no texts loaded yet: the box speaks the
    // language the call asks for (1, English) all the same.
    EXPECT_EQ(sv->boxes[0].title, "Error");
    const std::string& text = sv->boxes[0].prompt;
    EXPECT_EQ(text.rfind("Error Reason:The database could not be opened.\n", 0), 0u) << text;
    const std::string tail = "\r\n\r\nLocal database connection error.Please check whether it is connected correctly!";
    EXPECT_EQ(text.substr(text.size() - std::min(text.size(), tail.size())), tail) << text;

    // Whatever database cannot be opened, the host's caller reads the box's
    // words too, as lines, and the status says it failed.
    std::ofstream(dir.file("text.mdb")) << "neither a database nor empty\n";
    test::createConfigDb(dir.path().string(), "nobusiness.mdb", "Access", dir.path().string(), "missing");
    for (const auto& [file, last] :
         std::vector<std::pair<std::string, std::string>>{
             {"cfg.mdb", "Local database connection error.Please check whether it is connected correctly!"},
             {"text.mdb", "Local database connection error.Please check whether it is connected correctly!"},
             {"nobusiness.mdb", "Database connection error: the business database that the configuration names "
                                "could not be opened."}}) {
        SCOPED_TRACE(file);
        sv->boxes.clear();
        out.str("");
        EXPECT_EQ(host::run({"7034;1;7942", "admin", dir.path().string() + ";" + file + ";;"}, out), 1);
        ASSERT_EQ(sv->boxes.size(), 1u);
        const std::string told = out.str();
        EXPECT_EQ(told.rfind("Error Reason:", 0), 0u) << told;
        EXPECT_EQ(told.find('\r'), std::string::npos) << told;
        EXPECT_EQ(told.find("\n\n"), std::string::npos) << told;
        EXPECT_EQ(told.substr(told.size() - std::min(told.size(), last.size() + 1)), last + "\n") << told;
        // Whichever button the box had, the terminal is not asked to press one.
        EXPECT_EQ(told.find("Click"), std::string::npos) << told;
    }
    out.str("");

    EXPECT_EQ(host::run({"7034;1", "admin", "x;y;z"}, out), 1);
    EXPECT_NE(out.str().find("Error 9:"), std::string::npos);
    EXPECT_EQ(host::run({"only one"}, out), 2);
}

// A display is refused only when nothing listens where the X client library
// would connect; a form it cannot judge is left to the toolkit.
TEST(HostDisplay, AnswersWhereAServerListens) {
    test::Listener tcp;
    ASSERT_GT(tcp.port(), 6000);
    const std::string onTcp = std::to_string(tcp.port() - 6000);
    const int closed = test::closedPort();
    ASSERT_GT(closed, 6000);
    int local = 1000;
    while (std::filesystem::exists("/tmp/.X11-unix/X" + std::to_string(local))) ++local;
    test::Listener abstract("/tmp/.X11-unix/X" + std::to_string(local));
    ASSERT_TRUE(abstract.listening());
    const std::string onUnix = std::to_string(local), none = std::to_string(local + 1);
    ASSERT_FALSE(std::filesystem::exists("/tmp/.X11-unix/X" + none));

    struct Case {
        std::string display;
        bool answers;
    };
    for (const Case& c : std::vector<Case>{{"127.0.0.1:" + onTcp, true},
                                           {"127.0.0.1:" + onTcp + ".0", true},
                                           {"tcp/127.0.0.1:" + onTcp, true},
                                           {"127.0.0.1:" + std::to_string(closed - 6000), false},
                                           {":" + onUnix, true},
                                           {"unix:" + onUnix + ".1", true},
                                           {":" + none, false},
                                           {"/tmp/launch-x/org.xquartz:0", true},
                                           {"node::0", true},
                                           {"screen", true}}) {
        EXPECT_EQ(host::xServerAnswers(c.display), c.answers) << c.display;
    }
}
