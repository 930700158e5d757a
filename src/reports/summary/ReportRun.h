#pragma once
#include <string>

#include "reports/summary/RowValues.h"

namespace tolvenk {

class XF_Cha_HZ;

// The run of the summary-report window: pressing "汇  总" fills Grid1 with
// the selected report, group by group, with its "其他" rows, subtotals,
// total and balance line.
class HzReportRun : public RowValues {
public:
    explicit HzReportRun(XF_Cha_HZ& window);

    // Grid1's row count when the current outer / middle entry began.
    std::string Start_Row1, Start_Row2;

    // The run; traps every error that reaches it in a box.
    void Run();
    // Subtotal rows of the middle ("小计:") and the outer entry ("小计：").
    void Add_SubTotal2();
    void Add_SubTotal1();
    void Unlock_Run_Controls();

private:
    class Run_Lock;
    void Run_Report();
    void Closing_A();
    void Closing_B();
    void Balance_Line(const std::string& label);

    XF_Cha_HZ& w;
    bool running_ = false;
};

}  // namespace tolvenk
