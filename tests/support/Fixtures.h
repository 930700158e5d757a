#pragma once
// Base fixtures: each test starts from the module state of a freshly loaded
// library, with test services installed, and leaves it so.
//
// Fixtures over the business database run on both engines: derive from
// DbTest (or WindowTest, WindowOf<W>), write TEST_P and add
// TOLVENK_ON_BOTH_ENGINES(Suite). A test whose subject is the file database
// itself derives from FileDbTest/FileWindowTest, or is a TEST_P of a
// subclass instantiated with TOLVENK_ON_FILE_ONLY.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/Globals.h"
#include "lang/Language.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "support/EngineTest.h"
#include "support/ModuleState.h"
#include "support/TestDb.h"
#include "support/TestServices.h"
#include "support/XfRow.h"

namespace tolvenk::test {

// Clean globals, test services and a fresh folder; for tests that build
// their own databases.
class KitTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    ServicesScope sv;
    TempDir dir;
};

// An empty business database from the schema, open on `con`: on the file
// engine at dir/b.mdb, on the server a fresh database of its own. On the
// server the test is skipped when no test server was named (a run by hand);
// derived SetUps return at once when IsSkipped().
class DbKit : public KitTest {
protected:
    void SetUp() override;
    virtual Engine engine() const = 0;
    bool onServer() const { return engine() == Engine::Server; }

    std::unique_ptr<BusinessDb> server;
    std::string cs;
    std::shared_ptr<db::Connection> con;
};

// The engine is the test's parameter.
class DbTest : public DbKit, public ::testing::WithParamInterface<Engine> {
protected:
    Engine engine() const override { return GetParam(); }
};

// The file engine only.
class FileDbTest : public DbKit {
protected:
    Engine engine() const override { return Engine::File; }
};

// A window's surroundings as a call of the menu sets them: the business
// database on Conn_Main and strCN, DB_Type "Access" for a file and "SQL" for
// a server (as Open_DB sets them from the DB_info row), the default money
// sign and the Simplified Chinese texts.
template <class Db>
class WindowSetUp : public Db {
protected:
    void SetUp() override {
        Db::SetUp();
        if (this->IsSkipped()) return;
        strCN = this->cs;
        Conn_Main = this->con;
        DB_Type = this->onServer() ? "SQL" : "Access";
        Money_Sign = "￥";
        Load_Lan(0);
    }
};
using WindowKit = WindowSetUp<DbKit>;  // the engine chosen by a subclass
using WindowTest = WindowSetUp<DbTest>;
using FileWindowTest = WindowSetUp<FileDbTest>;

// A window fixture that owns the window and closes it before the reset.
template <class W, class Base = WindowTest>
class WindowOf : public Base {
protected:
    void TearDown() override {
        if (w.Loaded()) w.Unload();
        Base::TearDown();
    }

    W w;
};

}  // namespace tolvenk::test

// Runs the suite's TEST_Ps on the file engine only (a subclass of a fixture
// whose other tests run on both).
#define TOLVENK_ON_FILE_ONLY(Suite) \
    INSTANTIATE_TEST_SUITE_P(Engines, Suite, ::testing::Values(::tolvenk::test::Engine::File), ::tolvenk::test::EngineNames())
