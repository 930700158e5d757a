#include "support/EngineTest.h"

namespace tolvenk::test {

void EngineTest::SetUp() {
    if (onServer()) {
        if (const auto why = whyNoServer()) GTEST_SKIP() << *why;
    }
    db = std::make_unique<BusinessDb>(engine());
    con = connect(db->connectionString());
}

}  // namespace tolvenk::test
