// The batch editor's import of amounts or times from a workbook, and the save
// of the imported rows.
#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

#include "data/Globals.h"
#include "data/OpenDb.h"
#include "data/SubsidyBatch.h"
#include "lang/LangGlobals.h"
#include "platform/MoneyText.h"
#include "platform/VbNumber.h"
#include "platform/VbText.h"
#include "platform/db/DbError.h"
#include "platform/db/SqlText.h"
#include "platform/excel/Workbook.h"
#include "platform/services/Services.h"
#include "subsidy/BT_ZhunBei_1.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

// A sheet row number as the range boxes take it: a whole number from 1 on.
std::optional<double> sheetRow(const std::string& text) {
    const auto v = parseNumber(vbTrim(text));
    if (!v || *v != std::floor(*v) || *v < 1) return std::nullopt;
    return *v;
}

// A row past the last one a worksheet holds, in words with both numbers.
void refuseRow(int text, const std::string& row, int mostRows) {
    Prompt(Lf(text, {row, std::to_string(mostRows)}), platform::vbExclamation);
}

int problemText(excel::WorkbookProblem p) {
    switch (p) {
        case excel::WorkbookProblem::Unreadable:
            return 931;
        case excel::WorkbookProblem::NotAWorkbook:
            return 932;
        case excel::WorkbookProblem::Encrypted:
            return 933;
        case excel::WorkbookProblem::NoSheet:
            return 934;
        case excel::WorkbookProblem::Damaged:
            break;
    }
    return 935;
}

// Which employee a refused value belongs to.
std::string ofCode(const std::string& code) { return " (" + L(6) + ": " + code + ")"; }

// A cell as the spreadsheet program names it ("C12"), rows from 1.
std::string cellName(int row, int col) { return std::string(1, static_cast<char>('A' + col)) + std::to_string(row); }

}  // namespace

void BT_ZhunBei_1::Command1_Click() {
    Picture1.setVisible(true);
    Grid1.setEnabled(false);
    Command1.setEnabled(false);
    Text1.setText("");
    Text3.setText("1");
    Text5.setText("100");
}

void BT_ZhunBei_1::Command11_Click() {
    // A cancelled dialog keeps the path typed or chosen before.
    const std::string path = platform::services().openFileName("", "");
    if (!path.empty()) Text1.setText(path);
}

void BT_ZhunBei_1::Command10_Click() {
    Picture1.setVisible(false);
    Grid1.setEnabled(true);
    Command1.setEnabled(true);
}

std::optional<BT_ZhunBei_1::Import_Range> BT_ZhunBei_1::Checked_Range() {
    const std::string path = vbTrim(Text1.Text());
    if (path.empty()) {
        Prompt(L(151), platform::vbInformation);
        Text1.SetFocus();
        return std::nullopt;
    }
    if (vbTrim(Text3.Text()).empty()) {
        Prompt(L(152), platform::vbInformation);
        Text3.SetFocus();
        return std::nullopt;
    }
    if (vbTrim(Text5.Text()).empty()) {
        Prompt(L(153), platform::vbInformation);
        Text5.SetFocus();
        return std::nullopt;
    }
    const auto firstRow = sheetRow(Text3.Text());
    const auto lastRow = sheetRow(Text5.Text());
    if (!firstRow || !lastRow) {
        Prompt(L(936), platform::vbInformation);
        (firstRow ? Text5 : Text3).SetFocus();
        return std::nullopt;
    }
    // Past the last row of any worksheet, whatever the file turns out to be.
    for (const auto& [row, box] : {std::pair{*firstRow, &Text3}, std::pair{*lastRow, &Text5}})
        if (row > excel::kMostSheetRows) {
            refuseRow(1080, vbTrim(box->Text()), excel::kMostSheetRows);
            box->SetFocus();
            return std::nullopt;
        }
    const int first = static_cast<int>(*firstRow), last = static_cast<int>(*lastRow);
    // One row (first = last) is a range too.
    if (last < first) {
        Prompt(L(154), platform::vbInformation);
        Text5.SetFocus();
        return std::nullopt;
    }
    return Import_Range{path, first, last};
}

void BT_ZhunBei_1::Command9_Click() {
    if (running_) return;
    const auto range = Checked_Range();
    if (!range) return;

    Pic_1.setVisible(true);
    Label_1.setCaption(L(155));
    Bar_1.setMax(range->last - range->first);
    Bar_1.setValue(0);
    Pic_1.Refresh();
    const std::vector<forms::Control*> locked{&Command9, &Command10, &Command11, &Com_Zao, &CheckAll, &Command6,
                                              &Command3, &Command2,  &Command4,  &Command12, &Command5, &Command8};
    std::optional<excel::Sheet> sheet;
    try {
        // A full sheet takes seconds to read: the window stays alive meanwhile.
        Run_Lock lock(*this, locked, running_);
        const std::string path = range->path;
        sheet = Read_Aside<excel::Sheet>(*this, [path] { return excel::readWorkbook(path); });
        if (!sheet) return;  // the window was closed
    } catch (const excel::WorkbookError& e) {
        Pic_1.setVisible(false);
        Prompt(L(problemText(e.problem())), platform::vbExclamation);
        return;
    }
    // An older workbook holds fewer rows than the boxes allow.
    if (range->last > sheet->mostRows()) {
        Pic_1.setVisible(false);
        refuseRow(1081, std::to_string(range->last), sheet->mostRows());
        Text5.SetFocus();
        return;
    }
    // The rows below the sheet's last one holding a value match nobody: a
    // range up to the sheet's end would walk a million of them for nothing.
    const int last = std::min(range->last, sheet->usedRows());
    Bar_1.setMax(std::max(last - range->first, 0));
    {
        Run_Lock lock(*this, locked, running_);
        if (!Import_Rows(*sheet, range->first, last, lock)) return;
    }
    Command12.setVisible(true);
    Command10_Click();
    Pic_1.setVisible(false);
    Prompt(L(156) + "\n" + L(157), platform::vbInformation);
}

bool BT_ZhunBei_1::Import_Rows(const excel::Sheet& sheet, int first, int last, const Run_Lock& lock) {
    const bool times = !isMoney();
    for (int r = first; r <= last; ++r) {
        // A cell left without a value would pass for blank: the row would be skipped or refused wrongly.
        for (int c = 0; c <= 2; ++c)
            if (sheet.at(r - 1, c).noResult) {
                Prompt(Lf(988, {cellName(r, c)}), platform::vbExclamation);
                return true;
            }
        const std::string code = vbTrim(sheet.text(r - 1, 1));
        // Blank rows inside the range carry no employee.
        if (!code.empty()) {
            const std::string name = vbTrim(sheet.text(r - 1, 0));
            const std::string value = vbTrim(sheet.text(r - 1, 2));
            bool checked = false;
            for (int g = kFirstRow; g < Grid1.Rows(); ++g) {
                if (Grid1.Cell(g, colCode).Text() != code) continue;
                if (Grid1.Cell(g, colName).Text() != name) {
                    platform::services().msgBox("工号为:" + code + "的员工姓名错误.", platform::vbOKOnly,
                                                platform::kApplicationTitle);
                    return true;
                }
                // The checks of a typed value, before the row is marked.
                if (!checked) {
                    // A date's serial number would pass for an amount or a count of times.
                    if (sheet.at(r - 1, 2).date) {
                        Prompt(Lf(989, {cellName(r, 2)}) + ofCode(code), platform::vbExclamation);
                        return true;
                    }
                    if (const auto problem = BT_Check_Value(value, times)) {
                        Prompt(Value_Message(static_cast<int>(*problem), times) + ofCode(code),
                               platform::vbExclamation);
                        return true;
                    }
                    checked = true;
                }
                Grid1.Cell(g, times ? colCi : colJinE).setText(value);
                Grid1.Cell(g, colMark).setText(L(21));
                Grid1.Cell(g, colMark).setForeColor(0x0000FF);
            }
        }
        // The bar draws itself when it moves by a step one can see, and the
        // yield shows it: a repaint of its own per row would cost more than the row.
        if (Bar_1.Max() > Bar_1.Value()) Bar_1.setValue(Bar_1.Value() + 1);
        if (!lock.Go_On()) return false;
    }
    return true;
}

void BT_ZhunBei_1::Command12_Click() {
    if (running_) return;
    const bool times = !isMoney();
    std::vector<int> marked;
    std::vector<BTService::BtValue> rows;
    for (int g = kFirstRow; g < Grid1.Rows(); ++g) {
        if (Grid1.Cell(g, colMark).Text() != L(21)) continue;
        // The grid may have been changed since the import: the same checks.
        const std::string text = Grid1.Cell(g, times ? colCi : colJinE).Text();
        if (const auto problem = BT_Check_Value(text, times)) {
            Prompt(Value_Message(static_cast<int>(*problem), times) + ofCode(Grid1.Cell(g, colCode).Text()),
                   platform::vbExclamation);
            return;
        }
        const double v = *parseNumber(vbTrim(text));
        // Yuan to fen as the typed amount: 12.34 is stored as 1230 fen.
        // Times as typed ones: halves away from zero.
        const std::int32_t value = times ? static_cast<std::int32_t>(std::lround(v)) : BT_Yuan_To_Fen(v);
        marked.push_back(g);
        rows.push_back({Grid1.Cell(g, colID).Text(), value});
    }
    if (!Store_Values(marked, rows, times)) return;
    Sum_Grid();
    Grid1.Cell(0, colJinE).setText(Sum_JinE.cents());
    Grid1.Cell(0, colMark).setText(Sum_Ci.whole());
    Prompt(L(133), platform::vbExclamation);
}

}  // namespace tolvenk
