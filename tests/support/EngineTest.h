#pragma once
#include <gtest/gtest.h>

#include <memory>

#include "support/TestDb.h"

namespace tolvenk::test {

// A fixture run once per engine: each test gets a fresh business database and
// an open connection to it. On the server it is skipped, saying why, only
// when no test server was named (a run by hand); a named server that does not
// answer fails the test.
class EngineTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override;
    Engine engine() const { return GetParam(); }
    bool onServer() const { return GetParam() == Engine::Server; }

    std::unique_ptr<BusinessDb> db;
    std::shared_ptr<db::Connection> con;
};

struct EngineNames {
    std::string operator()(const ::testing::TestParamInfo<Engine>& info) const { return engineName(info.param); }
};

}  // namespace tolvenk::test

// Runs the suite's TEST_Ps on both engines.
#define TOLVENK_ON_BOTH_ENGINES(Suite)                                                                          \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite,                                                                     \
                             ::testing::Values(::tolvenk::test::Engine::File, ::tolvenk::test::Engine::Server), \
                             ::tolvenk::test::EngineNames())

namespace tolvenk::test {
inline void PrintTo(Engine engine, std::ostream* os) { *os << engineName(engine); }
}  // namespace tolvenk::test
