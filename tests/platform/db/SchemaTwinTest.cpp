// The server schemas are twins of the file schemas: the same tables, columns
// in the same order, keys, defaults and indexes, with the types mapped, as the
// two engines themselves describe what the scripts made.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>
#include <set>
#include <sstream>

#include "Schemas.h"
#include "support/TestDb.h"

using namespace tolvenk;

namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
    return s;
}

std::vector<std::string> column(db::Connection& con, const std::string& sql, int field = 0) {
    std::vector<std::string> out;
    for (auto rs = con.openRecordset(sql); !rs->eof(); rs->moveNext()) out.push_back(rs->field(field).toString());
    return out;
}

// One line per column and per index, in the engines' common words.
std::vector<std::string> describeFile(db::Connection& con) {
    std::vector<std::string> out;
    for (const std::string& table :
         column(con, "select name from sqlite_master where type='table' and name not like 'sqlite_%' order by name")) {
        const std::string ddl =
            column(con, "select sql from sqlite_master where type='table' and name='" + table + "'").front();
        for (auto rs = con.openRecordset("select name, type, dflt_value, pk from pragma_table_info('" + table + "')");
             !rs->eof(); rs->moveNext()) {
            const std::string name = rs->field(0).toString(), type = rs->field(1).toString();
            std::string kind = type == "INTEGER" ? "whole" : type == "TEXT" ? "text" : type;
            if (type == "TEXT")
                kind += std::regex_search(ddl, std::regex("\\b" + name + " TEXT COLLATE NOCASE\\b")) ? " nocase" : " bytes";
            if (rs->field(3).toInt64() > 0) kind += " key";
            if (std::regex_search(ddl, std::regex("\\b" + name + " INTEGER PRIMARY KEY AUTOINCREMENT\\b")))
                kind += " numbered";
            if (!rs->field(2).isNull()) kind += " default " + rs->field(2).toString();
            out.push_back(lower(table) + "." + lower(name) + ": " + kind);
        }
    }
    std::vector<std::string> indexes;
    for (auto rs = con.openRecordset("select name, tbl_name from sqlite_master where type='index' and sql is not null");
         !rs->eof(); rs->moveNext()) {
        std::string cols;
        for (const std::string& c : column(con, "select name from pragma_index_info('" + rs->field(0).toString() +
                                                    "') order by seqno"))
            cols += (cols.empty() ? "" : ",") + lower(c);
        indexes.push_back("index " + lower(rs->field(0).toString()) + " on " + lower(rs->field(1).toString()) + "(" +
                          cols + ")");
    }
    std::sort(indexes.begin(), indexes.end());
    out.insert(out.end(), indexes.begin(), indexes.end());
    return out;
}

std::vector<std::string> describeServer(db::Connection& con, const std::string& schema) {
    std::vector<std::string> out;
    const std::string in = " table_schema='" + schema + "' ";
    for (const std::string& table : column(con, "select table_name from information_schema.tables where" + in +
                                                    "and table_type='BASE TABLE' order by table_name")) {
        const std::vector<std::string> keys =
            column(con, "select a.attname from pg_index i join pg_attribute a on a.attrelid=i.indrelid and "
                        "a.attnum=any(i.indkey) where i.indisprimary and i.indrelid='" +
                            schema + "." + table + "'::regclass");
        for (auto rs = con.openRecordset("select column_name, data_type, udt_name, collation_name, column_default, "
                                         "is_identity from information_schema.columns where" +
                                         in + "and table_name='" + table + "' order by ordinal_position");
             !rs->eof(); rs->moveNext()) {
            const std::string name = rs->field(0).toString(), udt = rs->field(2).toString();
            const std::string collation = rs->field(3).toString();
            std::string kind = udt == "int8"                          ? "whole"
                               : udt == "citext" && collation == "C" ? "text nocase"
                               : udt == "text" && collation == "C"   ? "text bytes"
                                                                     : udt + " " + collation;
            if (std::find(keys.begin(), keys.end(), name) != keys.end()) kind += " key";
            if (rs->field(5).toString() == "YES") kind += " numbered";
            if (!rs->field(4).isNull()) kind += " default " + rs->field(4).toString();
            out.push_back(table + "." + name + ": " + kind);
        }
    }
    std::vector<std::string> indexes;
    for (auto rs = con.openRecordset("select indexname, tablename, indexdef from pg_indexes where schemaname='" + schema +
                                     "' and indexname not like '%_pkey'");
         !rs->eof(); rs->moveNext()) {
        const std::string def = rs->field(2).toString();
        std::string list = def.substr(def.rfind('(') + 1);
        list = list.substr(0, list.find(')'));
        // NULL is the smallest value on both engines, so every server index
        // column is NULLS FIRST; one that is not keeps its words and differs.
        std::string cols;
        std::istringstream in(list);
        for (std::string col; std::getline(in >> std::ws, col, ',');) {
            const std::string first = " NULLS FIRST";
            if (col.ends_with(first)) col.resize(col.size() - first.size());
            else col += " (nulls not first)";
            cols += (cols.empty() ? "" : ",") + col;
        }
        indexes.push_back("index " + rs->field(0).toString() + " on " + rs->field(1).toString() + "(" + cols + ")");
    }
    std::sort(indexes.begin(), indexes.end());
    out.insert(out.end(), indexes.begin(), indexes.end());
    return out;
}

}  // namespace

TEST(SchemaTwin, ServerSchemasMatchTheFileSchemas) {
    if (const auto why = test::whyNoServer()) GTEST_SKIP() << *why;
    test::BusinessDb server(test::Engine::Server);
    auto onServer = test::connect(server.connectionString());
    test::TempDir dir;
    auto business = test::connect(test::createBusinessDb(dir.file("b.mdb")));
    const auto fileSide = describeFile(*business);
    EXPECT_GT(fileSide.size(), 350u);  // the description really covers the schema
    EXPECT_EQ(describeServer(*onServer, "public"), fileSide);

    // The configuration twin, in a schema of its own beside the business tables.
    onServer->executeScript("CREATE SCHEMA cfg; SET search_path = cfg, public;");
    onServer->executeScript(schema::ConfigServer);
    test::createConfigDb(dir.path().string(), "c.mdb", "", "", "");
    auto config = test::connect(db::Connection::fileConnectionString(dir.file("c.mdb")));
    const auto configSide = describeFile(*config);
    EXPECT_EQ(configSide.size(), 8u);
    EXPECT_EQ(describeServer(*onServer, "cfg"), configSide);
}
