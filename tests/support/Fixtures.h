#pragma once
// Base fixtures: each test starts from the module state of a freshly loaded
// library, with test services installed, and leaves it so.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "data/Globals.h"
#include "lang/Language.h"
#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
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

// An empty business database from the schema at dir/b.mdb, open on `con`.
class DbTest : public KitTest {
protected:
    void SetUp() override;

    std::string cs;
    std::shared_ptr<db::Connection> con;
};

// A window's surroundings as a call of the menu sets them for a file
// database: that database on Conn_Main and strCN, DB_Type "Access", the
// default money sign and the Simplified Chinese texts.
class WindowTest : public DbTest {
protected:
    void SetUp() override;
};

// A window fixture that owns the window and closes it before the reset.
template <class W>
class WindowOf : public WindowTest {
protected:
    void TearDown() override {
        if (w.Loaded()) w.Unload();
        WindowTest::TearDown();
    }

    W w;
};

}  // namespace tolvenk::test
