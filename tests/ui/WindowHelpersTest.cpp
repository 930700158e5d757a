#include "platform/forms/Form.h"
#include "support/Fixtures.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowRegistry.h"

using namespace tolvenk;

namespace {
using WindowHelpers = test::KitTest;

struct Second : forms::Form {
    static inline int loads = 0;
    void Form_Load() override {
        ++loads;
        Unload();
    }
};
}  // namespace

TEST_F(WindowHelpers, FitToScreenTakesNinetyPercentOfLargeScreens) {
    forms::Form w;
    w.setWidth(6000);
    w.setHeight(4500);
    sv->screen = {1280 * 15, 1024 * 15};  // 192 x 154 hundreds of twips
    Fit_To_Screen(w);
    EXPECT_NEAR(w.Width(), 192 * 90 - 100, 15);
    EXPECT_NEAR(w.Height(), 154 * 90 - 740, 15);

    forms::Form small;
    small.setWidth(6000);
    small.setHeight(4500);
    sv->screen = {150 * 100, 100 * 100};  // exactly at the limits: unchanged
    Fit_To_Screen(small);
    EXPECT_NEAR(small.Width(), 6000, 15);
    EXPECT_NEAR(small.Height(), 4500, 15);
}

TEST_F(WindowHelpers, MinimumSizeAndClosing) {
    forms::Form w;
    w.setWidth(5000);
    w.setHeight(12000);
    Keep_Min_Size(w);
    EXPECT_GE(w.Width(), MinWindowWidth);
    EXPECT_NEAR(w.Height(), 12000, 15);
    w.Load();
    Close_Window(w);
    EXPECT_FALSE(w.Loaded());
}

TEST_F(WindowHelpers, OpenModalCreatesOnceAndShows) {
    registerWindow("BT_Cha_DY", [] { return std::make_unique<Second>(); });
    Second::loads = 0;
    EXPECT_TRUE(Open_Modal("BT_Cha_DY"));
    EXPECT_TRUE(Open_Modal("BT_Cha_DY"));
    EXPECT_EQ(Second::loads, 2);
    EXPECT_FALSE(Open_Modal("No_Such_Window"));
}

using FirstTerminalDate = test::DbTest;
TOLVENK_ON_BOTH_ENGINES(FirstTerminalDate);

TEST_P(FirstTerminalDate, IsTheDayBeforeTheEarliestLiveTerminal) {
    Conn_Main = con;
    EXPECT_EQ(Get_First_Mach_Date(), "");
    Conn_Main->executeScript(R"(
insert into Mach_Info(Mach_ID,Mach_Type,Del_YN,New_Date) values
 (1,301,0,'2026-03-01 08:00:00'),(2,300,1,'2025-01-01 00:00:00'),(3,302,0,'2024-01-01 00:00:00'),(4,303,0,'2026-05-01');
)");
    EXPECT_EQ(Get_First_Mach_Date(), "2026-02-28");
    Conn_Main->execute("update Mach_Info set New_Date='2026-01-01' where Mach_ID=4");
    EXPECT_EQ(Get_First_Mach_Date(), "2025-12-31");
}
