#include <sstream>

#include "Host.h"
#include "support/Fixtures.h"

using namespace tolvenk;

using Host = test::KitTest;

TEST_F(Host, RunsTheCallAndReportsFailures) {
    std::ostringstream out;

    // A wrong access code returns at once: nothing opened, nothing shown.
    EXPECT_EQ(host::run({"7034;0;0000", "admin", dir.path().string() + ";cfg.mdb;;"}, out), 0);
    EXPECT_TRUE(sv->boxes.empty());
    EXPECT_EQ(Conn_Main, nullptr);

    // A missing configuration file shows the configuration box and returns.
    EXPECT_EQ(host::run({"7034;1;7942", "admin", dir.path().string() + ";cfg.mdb;;"}, out), 0);
    ASSERT_EQ(sv->boxes.size(), 1u);
    EXPECT_EQ(sv->boxes[0].style, 16);
    // The first call in a process has no texts loaded yet: the title is the
    // one the English table gives the box.
    EXPECT_EQ(sv->boxes[0].title, "Error");

    EXPECT_EQ(host::run({"7034;1", "admin", "x;y;z"}, out), 1);
    EXPECT_NE(out.str().find("Error 9:"), std::string::npos);
    EXPECT_EQ(host::run({"only one"}, out), 2);
}
