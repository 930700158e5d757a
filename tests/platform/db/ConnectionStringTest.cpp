// A value written into a connection text comes back whole from its own pair,
// whatever marks it holds, and leaves the pairs around it as they were.
#include <gtest/gtest.h>

#include "platform/db/ConnectionString.h"

using tolvenk::db::ConnectionString;

TEST(ConnectionString, EveryValueIsReadBackAsItWasWritten) {
    for (const std::string value : {"plain", "'quoted'", "'", "'lead", "trail'", "in'side", "\"dq\"", "a;b",
                                    " blank ", "''", "x=y", ""}) {
        const ConnectionString cs("Provider=SQLOLEDB.1;Password=" + ConnectionString::quoted(value) +
                                  ";User ID=sa;Initial Catalog=TAM08");
        EXPECT_EQ(cs.get("Password"), value) << value;
        EXPECT_EQ(cs.get("User ID"), "sa") << value;
        EXPECT_EQ(cs.get("Initial Catalog"), "TAM08") << value;
        EXPECT_EQ(cs.kind(), ConnectionString::Kind::Server) << value;
    }
    EXPECT_EQ(ConnectionString::quoted("plain"), "plain");  // written as it is when nothing needs quotes
}
