#include "support/Fixtures.h"

namespace tolvenk::test {

void KitTest::SetUp() { resetGlobals(); }

void KitTest::TearDown() {
    resetGlobals();
    resetWindows();
}

void DbKit::SetUp() {
    KitTest::SetUp();
    if (onServer()) {
        if (const auto why = whyNoServer()) GTEST_SKIP() << *why;
        server = std::make_unique<BusinessDb>(Engine::Server);
        cs = server->connectionString();
    } else {
        cs = createBusinessDb(dir.file("b.mdb"));
    }
    con = connect(cs);
}

}  // namespace tolvenk::test
