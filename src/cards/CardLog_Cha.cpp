#include "cards/CardLog_Cha.h"

#include <initializer_list>

#include "data/CardLogLines.h"
#include "data/CardLogStore.h"
#include "data/Globals.h"
#include "data/OpTypeCode.h"
#include "data/TableColumns.h"
#include "lang/Language.h"
#include "platform/MoneyText.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

constexpr int kCols = 15;
// Grid columns of a log line.
enum Col {
    ColName = 1, ColCode, ColDept, ColKind, ColCardNo, ColCardNumber, ColDate, ColOp, ColNewCard, ColMoney, ColTimes,
    ColFee, ColTotal, ColOperator
};

// Caption text of chkType(code).
constexpr int kTypeTexts[Op_Type_Code::Count] = {229, 231, 467, 469, 463, 600, 232, 470};

// Fen as money: the sign, then yuan; NULL shows the sign alone.
std::string money(const Card_Log_Lines::Amount& a) { return a.null ? Money_Sign : Money_Text(a.fen); }

// The kind's name, kind 1 without a name being the common card.
std::string kindName(const std::string& leibie, const std::string& name) {
    return name.empty() && vbVal(leibie) == 1 ? "普通卡" : name;
}

}  // namespace

CardLog_Cha::CardLog_Cha() {
    for (int i = 0; i < Op_Type_Code::Count; ++i) chkType.add(i).setContainer(fraType);
    for (int i = 0; i <= 3; ++i) Command4.add(i).setContainer(Frame1);
    pBar1.setVisible(false);
    Grid1.setFixedRows(1);
    Grid1.setCols(kCols);
    Grid1.setRows(1);
    setWidth(11600);
    setHeight(8200);
    layOut();

    Command1.Click = [this](int) { Command1_Click(); };
    Wire_Output_Buttons(Command4, Grid1, *this, true);
}

void CardLog_Cha::layOut() {
    ucDep1.Move(120, 120, 3255, 7370);
    Label1.Move(3480, 165, 700, 300);
    DT1.Move(4240, 120, 1600, 360);
    DT2.Move(5920, 120, 1600, 360);
    Label2.Move(7640, 165, 1100, 300);
    Combo2.Move(8780, 120, 2500, 360);
    Label3.Move(3480, 585, 1100, 300);
    Combo3.Move(4620, 540, 1800, 360);
    Command1.Move(6600, 520, 1400, 400);
    pBar1.Move(8160, 570, 3120, 300);
    fraType.Move(3480, 960, 7880, 1260);
    for (int i = 0; i < Op_Type_Code::Count; ++i) chkType(i).Move(120 + (i % 3) * 2560, 240 + (i / 3) * 320, 2500, 300);
    Grid1.Move(3480, 2340, 7895, 5100);
    Frame1.Move(3480, 7540, 7880, 560);
    for (int i = 0; i <= 2; ++i) Command4(i).Move(120 + i * 1920, 130, 1800, 375);
    Command4(3).Move(5880, 130, 1400, 375);
}

void CardLog_Cha::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(L(620));
    Label1.setCaption(L(516));
    Label2.setCaption(L(515));
    Label3.setCaption(L(513));
    fraType.setCaption(L(180));
    for (int i = 0; i < Op_Type_Code::Count; ++i) chkType(i).setCaption(L(kTypeTexts[i]));
    Command1.setCaption(L(599));
    Command4(0).setCaption(L(559));
    Command4(1).setCaption(L(561));
    Command4(2).setCaption(L(560));
    Command4(3).setCaption(L(558));

    BT = BTService();
    XF = XFService();
    Card = CardService();
    ucDep1.Init(static_cast<std::int32_t>(BackColor()), ucKelmora::kDepartmentMode, Op_User_Name, strCN, Lan_Type);

    User_List = XF.Get_Sys_User();
    Fill_Combo(Combo2, User_List, col::Sys_User_Info::User_Name, col::Sys_User_Info::User_ID, &L(379), 0);
    Type_List = Card.Get_Type("");
    const int leibie = Type_List.rowUBound() >= 1 ? Type_List.col(col::Card_Type::C_LeiBie) : 0;
    Fill_Combo(Combo3, Type_List, col::Card_Type::C_Name, col::Card_Type::C_LeiBie, &L(379), 0,
               [&](int r, std::string& text) {
                   text = kindName(Type_List(r, leibie), text);
                   return true;
               });
    const std::string now = platform::services().clockText();
    DT1.setValue(now);
    DT2.setValue(now);
    Combo2.setListIndex(0);
    Combo3.setListIndex(0);
    Sys_Config = BT.Is_Ci();
    Set_Log_Head();
}

void CardLog_Cha::Form_Resize() {
    Keep_Min_Size(*this);
    ucDep1.setHeight(Height() - 830);
    Grid1.setWidth(Width() - ucDep1.Width() - 450);
    Grid1.setHeight(Height() - 3100);
    Frame1.setTop(Grid1.Top() + Grid1.Height() + 100);
}

void CardLog_Cha::Set_Log_Head() {
    Grid1.setRows(1);
    Grid1.setCols(kCols);
    static const char* const heads[kCols] = {"",     "姓名",   "工号",     "部门",     "卡类别",
                                             "卡编号", "卡号",   "日期",     "操作类型", "新卡卡号",
                                             "操作金额", "操作次数", "工本费", "合计",     "操作员"};
    for (int c = 0; c < kCols; ++c) Grid1.Cell(0, c).setText(heads[c]);
    for (int c = 0; c < kCols; ++c) Grid1.Column(c).setLocked(true);
}

std::string CardLog_Cha::Get_OpTypeName(std::int64_t Code) { return Op_Type_Code::name(Code); }

std::string CardLog_Cha::Find_Code_Name(std::int64_t ID) {
    if (User_List.rowUBound() < 1) return {};
    const int id = User_List.col(col::Sys_User_Info::User_ID), name = User_List.col(col::Sys_User_Info::User_Name);
    for (int r = 1; r <= User_List.rowUBound(); ++r)
        if (vbVal(User_List(r, id)) == static_cast<double>(ID)) return User_List(r, name);
    return {};
}

std::string CardLog_Cha::Get_CardType_Name(std::int64_t Kind) {
    if (Type_List.rowUBound() < 1) return {};
    const int leibie = Type_List.col(col::Card_Type::C_LeiBie), name = Type_List.col(col::Card_Type::C_Name);
    for (int r = 1; r <= Type_List.rowUBound(); ++r)
        if (vbVal(Type_List(r, leibie)) == static_cast<double>(Kind))
            return kindName(Type_List(r, leibie), Type_List(r, name));
    return {};
}

void CardLog_Cha::Command1_Click() {
    if (running_) return;
    Run_Lock lock(*this, {&Command1, &Command4(0), &Command4(1), &Command4(2), &Command4(3)}, running_);

    Grid1.setRows(1);
    Card_Log_Store::Conditions c;
    c.From = DT1.Date_Value();
    c.To = DT2.Date_Value() + " 24:00:00";
    std::string dept, name, code, pnum;
    if (ucDep1.Get_Sel(dept, name, code, pnum) == 0) return;
    Emp_List = BT.Get_Emp_Check_All(dept, name, code, "");
    if (Emp_List.rowUBound() < 1) return;
    c.Operator_ID = Chosen_Data(Combo2);
    c.C_LeiBie = Chosen_Data(Combo3);
    for (int i = 0; i < Op_Type_Code::Count; ++i)
        if (chkType(i).Value() >= forms::vbChecked) c.Op_Types.push_back(i);

    Rs_Log.reset();
    Log_Base = BaseService();
    Log_Base.Set_LinkStr(strCN);
    Rs_Log = Card_Log_Store::Operations(Log_Base, c);
    if (Rs_Log->recordCount() == 0) return;

    lock.Show_Progress(pBar1, Rs_Log->recordCount());
    lock.Hold_Redraw(Grid1);
    Name_Maps();
    const bool listed = Card_Log_Lines::Lines(*Rs_Log, Emp_List, [&](const Card_Log_Lines::Line& line, std::int64_t done, std::int64_t) {
        Fill_Row(line);
        pBar1.setValue(static_cast<int>(done));
        return lock.Go_On();
    });
    if (!listed) return;  // closed meanwhile: its grid is back as designed
    Grid1.setRedraw(true);
    Lay_Columns();
}

void CardLog_Cha::Name_Maps() {
    userNames_.clear();
    kindNames_.clear();
    if (User_List.rowUBound() >= 1) {
        const int id = User_List.col(col::Sys_User_Info::User_ID), name = User_List.col(col::Sys_User_Info::User_Name);
        for (int r = 1; r <= User_List.rowUBound(); ++r) userNames_.try_emplace(vbVal(User_List(r, id)), User_List(r, name));
    }
    if (Type_List.rowUBound() >= 1) {
        const int leibie = Type_List.col(col::Card_Type::C_LeiBie), name = Type_List.col(col::Card_Type::C_Name);
        for (int r = 1; r <= Type_List.rowUBound(); ++r)
            kindNames_.try_emplace(vbVal(Type_List(r, leibie)), kindName(Type_List(r, leibie), Type_List(r, name)));
    }
    namespace P = col::Ren_Per_Info;
    nameCol_ = Emp_List.col(P::P_Name);
    codeCol_ = Emp_List.col(P::P_Code);
    deptCol_ = Emp_List.col(col::Ren_Dept_Info::Dept_Name);
}

void CardLog_Cha::Fill_Row(const Card_Log_Lines::Line& line) {
    const int r = Grid1.Rows();
    Grid1.setRows(r + 1);
    auto cell = [&](int col) { return Grid1.Cell(r, col); };
    const auto named = [](const std::unordered_map<double, std::string>& names, std::int64_t key) {
        const auto it = names.find(static_cast<double>(key));
        return it == names.end() ? std::string() : it->second;
    };
    cell(ColName).setText(Emp_List(line.emp, nameCol_));
    cell(ColCode).setText(Emp_List(line.emp, codeCol_));
    cell(ColDept).setText(Emp_List(line.emp, deptCol_));
    cell(ColKind).setText(named(kindNames_, line.kind));
    cell(ColCardNo).setText(line.cardNo);
    cell(ColCardNumber).setText(line.cardNumber);
    cell(ColDate).setText(line.date);
    cell(ColOp).setText(Get_OpTypeName(line.op));
    if (line.newCard) cell(ColNewCard).setText(*line.newCard);
    if (line.money) cell(ColMoney).setText(money(*line.money));
    if (line.times) cell(ColTimes).setText(*line.times);
    if (line.fee) cell(ColFee).setText(money(*line.fee));
    if (line.total) cell(ColTotal).setText(money(*line.total));
    cell(ColOperator).setText(named(userNames_, line.operatorId));
}

void CardLog_Cha::Lay_Columns() {
    for (int c = 1; c < Grid1.Cols(); ++c) {
        Grid1.Column(c).AutoFit();
        Grid1.Column(c).setAlignment(grid::AlignCenter);
    }
    for (int c : {ColMoney, ColFee, ColTotal}) Grid1.Column(c).setAlignment(grid::AlignRight);
    auto ticked = [this](int i) { return chkType(i).Value() >= forms::vbChecked; };
    namespace O = Op_Type_Code;
    if (!ticked(O::Issue) && !ticked(O::Change) && !ticked(O::Return) && !ticked(O::ForceReturn))
        for (int c : {ColFee, ColMoney, ColTimes}) Grid1.Column(c).setWidth(0);
    if (!ticked(O::Issue) && !ticked(O::Return) && !ticked(O::ForceReturn)) Grid1.Column(ColTotal).setWidth(0);
    if (!ticked(O::Change)) Grid1.Column(ColNewCard).setWidth(0);
    if (!Times_Switch_On(Sys_Config)) Grid1.Column(ColTimes).setWidth(0);
    Grid1.Column(ColCardNo).setWidth(0);
    Grid1.Refresh();
}

}  // namespace tolvenk
