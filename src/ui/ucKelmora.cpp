#include "ui/ucKelmora.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <map>

#include "data/LookupStore.h"
#include "data/TableColumns.h"
#include "lang/LangGlobals.h"
#include "platform/Error.h"
#include "platform/VbText.h"
#include "platform/db/SqlText.h"

namespace tolvenk {

namespace {

// Captions of the name, code and employee-number filters and of select-all, in
// the language the module was opened in: a window may hand the picker another
// language (the employee picker always gets Simplified), yet one opening shows one.
std::array<std::string, 4> captions() { return {L(5), L(6), L(992), L(69)}; }

// The frame takes the window's colour when the frame control can carry one.
template <class F>
void applyColour(F& frame, std::int32_t colour) {
    if constexpr (requires { frame.setBackColor(colour); }) frame.setBackColor(colour);
}

// Twips.
constexpr int kPad = 60;
constexpr int kGap = 60;
constexpr int kRow = 300;
constexpr int kLabelWidth = 1260;

}  // namespace

ucKelmora::ucKelmora(forms::Form& form)
    : Frame1(form), tvDept(form), lblName(form), lblCode(form), lblNum(form), txtName(form), txtCode(form),
      txtNum(form), chkAll(form), lstEmp(form) {
    for (forms::Control* c : std::initializer_list<forms::Control*>{&tvDept, &lblName, &lblCode, &lblNum, &txtName,
                                                                      &txtCode, &txtNum, &chkAll, &lstEmp})
        c->setContainer(Frame1);
    tvDept.NodeClick = [this](const std::string& key) { deptChosen(key); };
    chkAll.Click = [this](int) {
        if (!quietAll_) tickAll(chkAll.Value() == forms::vbChecked);
    };
    setCaptions();
    showMode();
    Move(0, 0, 3000, 4500);
}

void ucKelmora::Init(std::int32_t colour, std::int16_t mode, const std::string& opUserName, const std::string& strCN,
                     std::int16_t language) {
    applyColour(Frame1, colour);
    mode_ = mode;
    opUserName_ = opUserName;
    strCN_ = strCN;
    (void)language;
    setCaptions();
    showMode();
    layout();

    tvDept.Clear();
    lstEmp.Clear();
    clearSelectAll();
    setFilters("", "", "");

    const DataList d = Lookup_Store::Live_Depts(strCN_);
    const int noCol = d.col(col::Ren_Dept_Info::Dept_No), nameCol = d.col(col::Ren_Dept_Info::Dept_Name);
    std::map<std::string, std::string> names;
    for (int r = 1; r <= d.rowUBound(); ++r)
        if (!d(r, noCol).empty()) names.emplace(d(r, noCol), d(r, nameCol));
    // A parent is the longest proper prefix that is itself live; adding it
    // first keeps the tree whole whatever order the rows came in.
    std::function<void(const std::string&)> add = [&](const std::string& no) {
        if (tvDept.Exists(no)) return;
        std::string parent;
        for (std::size_t len = no.size() - 1; len > 0 && parent.empty(); --len)
            if (names.count(no.substr(0, len))) parent = no.substr(0, len);
        if (!parent.empty()) add(parent);
        tvDept.AddNode(no, parent, names.at(no));
    };
    for (int r = 1; r <= d.rowUBound(); ++r)
        if (!d(r, noCol).empty()) add(d(r, noCol));
}

std::int16_t ucKelmora::Get_Sel(std::string& DeptNo, std::string& Name, std::string& Code, std::string& PNum) {
    if (tvDept.SelectedKey().empty()) return 0;
    DeptNo = tvDept.SelectedKey();
    Name = trimChars(txtName.Text(), " \t\r\n");
    Code = trimChars(txtCode.Text(), " \t\r\n");
    PNum = trimChars(txtNum.Text(), " \t\r\n");
    return 1;
}

// A large site ticks more people than a 16-bit count holds: the count is 64-bit.
std::int64_t ucKelmora::Get_Sel_IDs(std::vector<std::int32_t>& ids) {
    ids.clear();
    for (int i = 0; i < lstEmp.ListCount(); ++i)
        if (lstEmp.Checked(i)) ids.push_back(lstEmp.ItemData(i));
    return static_cast<std::int64_t>(ids.size());
}

void ucKelmora::selectDepartment(const std::string& deptNo) { tvDept.setSelectedKey(deptNo); }

void ucKelmora::setFilters(const std::string& name, const std::string& code, const std::string& pnum) {
    txtName.setText(name);
    txtCode.setText(code);
    txtNum.setText(pnum);
}

void ucKelmora::setTicked(std::int32_t pinfoId, bool ticked) {
    for (int i = 0; i < lstEmp.ListCount(); ++i)
        if (lstEmp.ItemData(i) == pinfoId) return lstEmp.setChecked(i, ticked);
    throw VbError(5, "Invalid procedure call or argument");
}

void ucKelmora::tickAll(bool ticked) {
    for (int i = 0; i < lstEmp.ListCount(); ++i) lstEmp.setChecked(i, ticked);
}

void ucKelmora::deptChosen(const std::string& deptNo) {
    if (mode_ == kEmployeeMode) listEmployees(deptNo);
    if (Dept_Changed) Dept_Changed(deptNo);
}

void ucKelmora::listEmployees(const std::string& deptNo) {
    lstEmp.Clear();
    clearSelectAll();
    namespace P = col::Ren_Per_Info;
    const DataList d = Lookup_Store::Dept_Employees(strCN_, deptNo);
    const int id = d.col(P::Pinfo_ID), name = d.col(P::P_Name), code = d.col(P::P_Code);
    for (int r = 1; r <= d.rowUBound(); ++r) {
        lstEmp.AddItem(d(r, code) + " " + d(r, name));
        lstEmp.setItemData(lstEmp.NewIndex(), static_cast<std::int32_t>(std::stoll(d(r, id))));
    }
}

void ucKelmora::setCaptions() {
    const auto text = captions();
    lblName.setCaption(text[0]);
    lblCode.setCaption(text[1]);
    lblNum.setCaption(text[2]);
    chkAll.setCaption(text[3]);
}

// Resetting the box is not a person's choice, so it must not touch the ticks.
void ucKelmora::clearSelectAll() {
    quietAll_ = true;
    chkAll.setValue(forms::vbUnchecked);
    quietAll_ = false;
}

void ucKelmora::showMode() {
    const bool filters = mode_ != kEmployeeMode;
    for (forms::Control* c : std::initializer_list<forms::Control*>{&lblName, &lblCode, &lblNum, &txtName, &txtCode, &txtNum})
        c->setVisible(filters);
    chkAll.setVisible(!filters);
    lstEmp.setVisible(!filters);
}

void ucKelmora::Move(int left, int top, int width, int height) {
    Frame1.Move(left, top, width, height);
    layout();
}

void ucKelmora::layout() {
    const int w = Frame1.Width() - 2 * kPad;
    const int h = Frame1.Height() - 2 * kPad;
    if (mode_ == kEmployeeMode) {
        const int treeH = std::max(0, (h - kRow - 2 * kGap) * 2 / 5);
        tvDept.Move(kPad, kPad, w, treeH);
        chkAll.Move(kPad, kPad + treeH + kGap, w, kRow);
        const int listTop = kPad + treeH + kGap + kRow + kGap;
        lstEmp.Move(kPad, listTop, w, Frame1.Height() - kPad - listTop);
        return;
    }
    const int rowsTop = kPad + h - 3 * kRow - 2 * kGap;
    chkAll.Move(kPad, rowsTop, w, kRow);  // hidden here, yet sized for its caption
    tvDept.Move(kPad, kPad, w, rowsTop - kGap - kPad);
    forms::Label* labels[] = {&lblName, &lblCode, &lblNum};
    // As wide as the longest caption needs, up to half the frame.
    int labelW = std::min(kLabelWidth, w / 3);
    for (const forms::Label* l : labels) labelW = std::max(labelW, l->CaptionWidth());
    labelW = std::min(labelW, w / 2);
    forms::TextBox* boxes[] = {&txtName, &txtCode, &txtNum};
    for (int i = 0; i < 3; ++i) {
        const int top = rowsTop + i * (kRow + kGap);
        labels[i]->Move(kPad, top, labelW, kRow);
        boxes[i]->Move(kPad + labelW, top, w - labelW, kRow);
    }
}

}  // namespace tolvenk
