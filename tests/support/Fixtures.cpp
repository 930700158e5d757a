#include "support/Fixtures.h"

namespace tolvenk::test {

void KitTest::SetUp() { resetGlobals(); }

void KitTest::TearDown() {
    resetGlobals();
    resetWindows();
}

void DbTest::SetUp() {
    KitTest::SetUp();
    cs = createBusinessDb(dir.file("b.mdb"));
    con = connect(cs);
}

void WindowTest::SetUp() {
    DbTest::SetUp();
    strCN = cs;
    Conn_Main = con;
    DB_Type = "Access";
    Money_Sign = "￥";
    Load_Lan(0);
}

}  // namespace tolvenk::test
