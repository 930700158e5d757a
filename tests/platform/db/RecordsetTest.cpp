#include <gtest/gtest.h>

#include "platform/db/AsciiCase.h"
#include "platform/db/DbError.h"
#include "support/EngineTest.h"

using namespace tolvenk;

namespace {

class RecordsetTest : public test::EngineTest {
protected:
    void SetUp() override {
        EngineTest::SetUp();
        if (IsSkipped()) return;
        con->executeScript(
            "insert into Ren_Per_Info(Pinfo_ID,Dept_No,P_Name,P_Code,P_Num) values"
            " (1,'01','张三','E001','N1'),(2,'0101','Li Si','E002',NULL),(3,'0102','Wang','E003',''),"
            " (4,'02','王五','E004','N4');");
    }
};

}  // namespace

TOLVENK_ON_BOTH_ENGINES(RecordsetTest);

TEST_P(RecordsetTest, MovesThroughRowsWithBofAndEof) {
    auto rs = con->openRecordset("select Pinfo_ID from Ren_Per_Info order by Pinfo_ID");
    ASSERT_EQ(rs->recordCount(), 4);
    EXPECT_FALSE(rs->bof());
    EXPECT_EQ(rs->field(0).toInt64(), 1);
    rs->moveLast();
    EXPECT_EQ(rs->field(0).toInt64(), 4);
    rs->moveNext();
    EXPECT_TRUE(rs->eof());
    EXPECT_THROW(rs->field(0), db::DbError);
    EXPECT_THROW(rs->moveNext(), db::DbError);
    rs->moveFirst();
    rs->movePrevious();
    EXPECT_TRUE(rs->bof());

    auto none = con->openRecordset("select * from Ren_Per_Info where Pinfo_ID=99");
    EXPECT_EQ(none->recordCount(), 0);
    EXPECT_TRUE(none->bof());
    EXPECT_TRUE(none->eof());
}

TEST_P(RecordsetTest, FieldsByPositionAndByNameInAnyCase) {
    auto rs = con->openRecordset("select * from Ren_Per_Info where Pinfo_ID=2");
    EXPECT_EQ(rs->fieldCount(), 27);
    EXPECT_TRUE(equalsNoCase(rs->fieldName(3), "P_Name")) << rs->fieldName(3);
    EXPECT_EQ(rs->field(3).toString(), "Li Si");
    EXPECT_EQ(rs->field("p_name").toString(), "Li Si");
    EXPECT_EQ(rs->field("PINFO_ID").toInt64(), 2);
    EXPECT_THROW(rs->field("No_Such"), db::DbError);
    EXPECT_THROW(rs->field(27), db::DbError);
    // NULL and empty text stay apart in a record set.
    EXPECT_TRUE(rs->field("P_Num").isNull());
    auto empty = con->openRecordset("select P_Num from Ren_Per_Info where Pinfo_ID=3");
    EXPECT_FALSE(empty->field(0).isNull());
    EXPECT_EQ(empty->field(0).toString(), "");
}

TEST_P(RecordsetTest, FilterNarrowsRowsInTheFormsTheWindowsUse) {
    auto rs = con->openRecordset("select * from Ren_Per_Info order by Pinfo_ID");
    rs->setFilter("P_Name='张三'");
    ASSERT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->field("P_Code").toString(), "E001");
    rs->setFilter("Pinfo_Id= 4");
    ASSERT_EQ(rs->recordCount(), 1);
    EXPECT_EQ(rs->field("P_Name").toString(), "王五");
    rs->setFilter("pinfo_id>1 and Dept_No like '01%'");
    ASSERT_EQ(rs->recordCount(), 2);
    EXPECT_EQ(rs->field(0).toInt64(), 2);
    rs->moveNext();
    EXPECT_EQ(rs->field(0).toInt64(), 3);
    rs->setFilter("P_Name='li si'");  // text compares ignore ASCII case
    EXPECT_EQ(rs->recordCount(), 1);
    rs->setFilter("P_Name='O''Brien'");
    EXPECT_EQ(rs->recordCount(), 0);
    EXPECT_TRUE(rs->eof());
    rs->setFilter("");
    EXPECT_EQ(rs->recordCount(), 4);
    // A filter set after the cursor moved starts at its first match, not where the cursor was.
    rs->moveLast();
    rs->setFilter("pinfo_id>1 and Dept_No like '01%'");
    EXPECT_EQ(rs->field(0).toInt64(), 2);
    rs->setFilter("");
    EXPECT_THROW(rs->setFilter("No_Such=1"), db::DbError);
    EXPECT_THROW(rs->setFilter("P_Name='x' and"), db::DbError);
}

// "field=number" filters look rows up by number; they must find what a scan
// of every row finds, before and after rows change.
TEST_P(RecordsetTest, NumberFiltersFindWhatAScanFinds) {
    auto rs = con->openRecordset("select * from Ren_Per_Info order by Pinfo_ID");
    const auto ids = [&](const std::string& filter) {
        rs->setFilter(filter);
        std::vector<std::int64_t> out;
        for (; !rs->eof(); rs->moveNext()) out.push_back(rs->field("Pinfo_ID").toInt64());
        return out;
    };
    using I = std::vector<std::int64_t>;
    EXPECT_EQ(ids("Pinfo_ID=2"), I{2});
    EXPECT_EQ(ids("Pinfo_ID=2.0 and P_Name like 'li%'"), I{2});
    EXPECT_EQ(ids("Pinfo_ID=2 and P_Name like 'w%'"), I{});
    EXPECT_EQ(ids("Pinfo_ID=-1"), I{});
    // Text read as its number; a text that is none counts as 0; NULL never matches.
    EXPECT_EQ(ids("Dept_No=101"), I{2});
    EXPECT_EQ(ids("P_Code=0"), (I{1, 2, 3, 4}));
    EXPECT_EQ(ids("P_Num=0"), (I{1, 3, 4}));
    EXPECT_EQ(ids("Dept_No='0101' and Pinfo_ID=2"), I{2});

    ASSERT_TRUE(rs->updatable());
    rs->setFilter("Pinfo_ID=4");
    rs->setField("Dept_No", db::Value("101"));
    EXPECT_EQ(ids("Dept_No=101"), (I{2, 4}));
    rs->addNew();
    rs->setField("Pinfo_ID", db::Value(std::int64_t{9}));
    rs->setField("Dept_No", db::Value("101"));
    EXPECT_EQ(ids("Dept_No=101"), (I{2, 4, 9}));
    EXPECT_EQ(ids("Pinfo_ID=9"), I{9});
}

TEST_P(RecordsetTest, AddNewWritesByPhysicalPositionWithBoundValues) {
    auto rs = con->openRecordset("select top 1 * from Card_Type");
    ASSERT_TRUE(rs->updatable());
    rs->addNew();
    rs->setField(1, db::Value("5"));
    rs->setField(2, db::Value("O'Brien卡"));
    rs->setField(4, db::Value("+500"));  // the provider turns text into the column's type
    rs->setField(22, db::Value("0"));
    rs->updateBatch();
    auto back = con->openRecordset("select ID,C_LeiBie,C_Name,C_F_Money,C_F_Money,C_T_Money from Card_Type");
    ASSERT_EQ(back->recordCount(), 1);
    EXPECT_EQ(back->field(0).toInt64(), 1);  // key numbered by the database
    EXPECT_EQ(back->field(1).toInt64(), 5);
    EXPECT_EQ(back->field(2).toString(), "O'Brien卡");
    EXPECT_EQ(back->field(3).toInt64(), 500);
    EXPECT_TRUE(back->field(4).isInteger());
    EXPECT_TRUE(back->field(5).isNull());
}

TEST_P(RecordsetTest, UpdateChangesOnlyTheCurrentRow) {
    auto rs = con->openRecordset("select * from Ren_Per_Info where Dept_No like '01%' order by Pinfo_ID");
    ASSERT_TRUE(rs->updatable());
    rs->moveNext();  // Pinfo_ID 2
    rs->setField(5, db::Value("N2"));
    rs->update();
    auto back = con->openRecordset("select Pinfo_ID,P_Num from Ren_Per_Info order by Pinfo_ID");
    std::vector<std::string> nums;
    for (; !back->eof(); back->moveNext()) nums.push_back(back->field(1).isNull() ? "<null>" : back->field(1).toString());
    EXPECT_EQ(nums, (std::vector<std::string>{"N1", "N2", "", "N4"}));

    // The same row written again through the same record set, and a new row
    // after rows written with their keys takes the next key.
    rs->setField("P_Name", db::Value("Li Si 2"));
    rs->update();
    EXPECT_EQ(con->openRecordset("select P_Name from Ren_Per_Info where Pinfo_ID=2")->field(0).toString(), "Li Si 2");
    EXPECT_EQ(con->execute("insert into Ren_Per_Info(P_Name) values('new')"), 1);
    EXPECT_EQ(con->openRecordset("select Pinfo_ID from Ren_Per_Info where P_Name='NEW'")->field(0).toInt64(), 5);
}

TEST_P(RecordsetTest, RefusesWritesItCannotPlace) {
    auto join = con->openRecordset("select * from Ren_Per_Info, Ren_Dept_Info where Ren_Per_Info.Dept_No=Ren_Dept_Info.Dept_No");
    EXPECT_FALSE(join->updatable());
    EXPECT_THROW(join->addNew(), db::DbError);
    auto empty = con->openRecordset("select * from Card_Type where ID = 9 ");
    EXPECT_THROW(empty->setField(1, db::Value("1")), db::DbError);  // no current record
    auto rs = con->openRecordset("select top 1 * from Card_Type");
    rs->addNew();
    rs->setField(1, db::Value("not a number"));
    EXPECT_THROW(rs->updateBatch(), db::DbError);  // strict tables refuse bad values
    EXPECT_EQ(con->openRecordset("select count(*) from Card_Type")->field(0).toInt64(), 0);
}
