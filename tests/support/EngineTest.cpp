#include "support/EngineTest.h"

namespace tolvenk::test {

void EngineTest::SetUp() {
    if (onServer() && !testServer())
        GTEST_SKIP() << "No test database server: TOLVENK_PG is not set (scripts/test.sh starts one and sets it).";
    db = std::make_unique<BusinessDb>(engine());
    con = connect(db->connectionString());
}

}  // namespace tolvenk::test
