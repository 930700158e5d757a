#include "meals/DC_Cha_Sum.h"

#include <exception>
#include <initializer_list>
#include <vector>

#include "data/Globals.h"
#include "data/MealStore.h"
#include "data/TableColumns.h"
#include "lang/Language.h"
#include "platform/DateText.h"
#include "platform/MoneyText.h"
#include "platform/VbNumber.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

constexpr int kMeals = 5;
constexpr int kCols = 31;
const char* const kMealNames[kMeals] = {"早餐", "中餐", "晚餐", "夜餐", "宵夜"};
const char* const kItemNames[5] = {"订餐数", "预扣款", "就餐数", "退回预扣款", "预扣款盈余"};
}  // namespace

DC_Cha_Sum::DC_Cha_Sum() {
    Label1.add(0);
    Label1.add(1);
    for (int i = 0; i <= 3; ++i) Command4.add(i);
    Label2.setContainer(Pic_1);
    Bar1.setContainer(Pic_1);
    Pic_1.setVisible(false);
    DTPicker1.setCustomFormat("yyyy-MM-dd");
    DTPicker2.setCustomFormat("yyyy-MM-dd");
    Grid1.setCols(kCols);
    Grid1.setRows(2);
    Grid1.setFixedRows(2);
    setWidth(11655);
    setHeight(8340);
    layOut();

    Command1.Click = [this](int) { Command1_Click(); };
    Wire_Output_Buttons(Command4, Grid1, *this, true);
}

void DC_Cha_Sum::layOut() {
    Label1(1).Move(120, 180, 1560, 300);
    DTPicker1.Move(1740, 120, 1560, 360);
    DTPicker2.Move(3420, 120, 1560, 360);
    Label1(0).Move(5160, 180, 2160, 300);
    Combo1.Move(7380, 120, 2040, 360);
    Check1.Move(120, 600, 3240, 330);
    Check2.Move(3420, 600, 3600, 330);
    Command1.Move(120, 1080, 1500, 420);
    Command4(0).Move(1740, 1080, 2040, 420);
    Command4(1).Move(3900, 1080, 2040, 420);
    Command4(2).Move(6060, 1080, 2040, 420);
    Command4(3).Move(8220, 1080, 1500, 420);
    Grid1.Move(120, 1620, 11135, 6060);
    Pic_1.Move(3240, 3600, 4800, 1200);
    Label2.Move(240, 180, 4320, 300);
    Bar1.Move(240, 600, 4320, 330);
}

void DC_Cha_Sum::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(L(602));
    Label1(1).setCaption(L(603));
    Label1(0).setCaption(L(352));
    Label2.setCaption(L(127));
    Check1.setCaption(L(604));
    Check2.setCaption(L(605));
    Command1.setCaption(L(84));
    Command4(0).setCaption(L(559));
    Command4(1).setCaption(L(561));
    Command4(2).setCaption(L(560));
    Command4(3).setCaption(L(558));
    Fit_To_Screen(*this);

    DC = DCService();
    const std::string today = platform::services().clockText().substr(0, 10);
    DTPicker1.setValue(today);
    DTPicker2.setValue(today);

    Combo1.Clear();
    Combo1.AddItem(L(379));
    Combo1.setItemData(Combo1.NewIndex(), 0);
    const auto types = Meal_Store::Card_Types(Main_Connection());
    for (; !types->eof(); types->moveNext()) {
        const std::int32_t kind = vbCLng(vbVal(types->field(col::Card_Type::C_LeiBie).toString()));
        Combo1.AddItem(kind == 1 ? L(266) : types->field(col::Card_Type::C_Name).toString());
        Combo1.setItemData(Combo1.NewIndex(), kind);
    }
    Combo1.setListIndex(0);
    Init_Sum_Grid();
}

void DC_Cha_Sum::Form_Resize() {
    Keep_Min_Size(*this);
    Grid1.setWidth(Width() - 400);
    Grid1.setHeight(Height() - Grid1.Top() - 500);
}

void DC_Cha_Sum::Init_Sum_Grid() {
    // Held only while the head is rebuilt: a grid left held is never painted,
    // neither when the window opens nor while a run yields.
    Grid1.setRedraw(false);
    Grid1.setRows(2);
    Grid1.Cell(0, 1).setText("日期");
    Grid1.Range(0, 1, 1, 1).Merge();
    for (int c = 2; c <= 5; ++c) Grid1.Range(0, c, 1, c).Merge();
    for (int m = 1; m <= kMeals; ++m) {
        const int b = 5 * m;
        Grid1.Cell(0, b + 1).setText(kMealNames[m - 1]);
        Grid1.Range(0, b + 1, 0, b + 5).Merge();
        Grid1.Cell(0, b + 1).setAlignment(grid::AlignCenter);
        for (int i = 1; i <= 5; ++i) Grid1.Cell(1, b + i).setText(kItemNames[i - 1]);
    }
    // Every run starts with every column shown: the boxes decide afresh what it hides.
    for (int c = 1; c < kCols; ++c) Grid1.Column(c).setWidth(80);
    Grid1.setRedraw(true);
}

void DC_Cha_Sum::Command1_Click() {
    if (running_) return;
    auto& sv = platform::services();
    const auto first = readDate(DTPicker1.Date_Value());
    const auto last = readDate(DTPicker2.Date_Value());
    if (!first || !last || DTPicker1.Date_Value() > DTPicker2.Date_Value()) {
        sv.msgBox("提示:汇总日期选择错误!", platform::vbExclamation, platform::kApplicationTitle);
        return;
    }

    const Run_Lock lock(*this, {&Grid1, &Command1, &Command4(0), &Command4(1), &Command4(2), &Command4(3)}, running_);
    Pic_1.setVisible(true);
    Bar1.setValue(0);
    Refresh();
    try {
        Init_Sum_Grid();
        const std::int32_t k = Chosen_Data(Combo1);
        // Every day and meal from two grouped statements, before the first row.
        const std::vector<Meal_Order_Meals> figures =
            Meal_Order_Days(DC, formatDate(*first), formatDate(*last), k);
        const int days = static_cast<int>(figures.size());
        Bar1.setMax(days);
        Total_Sum = {};
        for (int i = 0; i < days; ++i) {
            const std::string d = formatDate(addDays(*first, i));
            Bar1.setValue(i);
            for (int m = 1; m <= kMeals; ++m) {
                Day_Sum[static_cast<std::size_t>(m - 1)] = {};
                Sum_Meal(m, figures[static_cast<std::size_t>(i)][static_cast<std::size_t>(m - 1)]);
                if (!lock.Go_On()) return;
            }
            // The day's row only once all its figures are in: an error leaves no half row.
            Grid1.Add_Row("", false);
            for (int m = 1; m <= kMeals; ++m) Write_Meal(m, Day_Sum[static_cast<std::size_t>(m - 1)], d);
            if (Bar1.Max() > Bar1.Value()) {
                Bar1.setValue(Bar1.Value() + 1);
                if (Bar1.Value() % 10 == 0) Bar1.Refresh();
            }
        }
        Grid1.Add_Row("", false);
        for (int m = 1; m <= kMeals; ++m) Write_Meal(m, Total_Sum[static_cast<std::size_t>(m - 1)], "合计：");
        Show_Columns();
    } catch (const std::exception& e) {
        // The rows so far stay; the window is ready for the next run.
        Show_Error(e);
    }
    Grid1.setRedraw(true);
    Grid1.Refresh();
    Pic_1.setVisible(false);
}

void DC_Cha_Sum::Sum_Meal(int meal, const Meal_Order& day_figures) {
    const auto m = static_cast<std::size_t>(meal - 1);
    Day_Sum[m] += day_figures;
    Total_Sum[m] += day_figures;
}

void DC_Cha_Sum::Write_Meal(int meal, const Meal_Order& R, const std::string& t) {
    const int row = Grid1.Rows() - 1, b = 5 * meal;
    Grid1.Cell(row, 1).setText(t);
    Grid1.Cell(row, b + 1).setText(std::to_string(R.orders - R.cancellations));
    Grid1.Cell(row, b + 2).setText(Money_Text(R.held()));
    Grid1.Cell(row, b + 3).setText(std::to_string(R.taken));
    Grid1.Cell(row, b + 4).setText(Money_Text(R.returned));
    Grid1.Cell(row, b + 5).setText(Money_Text(R.surplus()));
}

void DC_Cha_Sum::Show_Columns() {
    if (Check1.Value() != forms::vbChecked)
        for (int m = 1; m <= kMeals; ++m)
            for (int c : {5 * m + 2, 5 * m + 4, 5 * m + 5}) Grid1.Column(c).setWidth(0);
    if (Check2.Value() != forms::vbChecked)
        for (int c = 21; c <= 30; ++c) Grid1.Column(c).setWidth(0);
    for (int c = 2; c <= 5; ++c) Grid1.Column(c).setWidth(0);
    for (int c = 1; c < kCols; ++c)
        if (Grid1.Column(c).Width() != 0) {
            Grid1.Column(c).AutoFit();
            Grid1.Column(c).setAlignment(grid::AlignCenter);
        }
    Grid1.Widen_To_Text();  // the meals' merged heads
}

}  // namespace tolvenk
