#pragma once
// What the IC and ID balance windows share: the department picker, the day,
// the query button, the output buttons, the grid with its progress panel,
// and the run that fills the grid with a row per employee and the total.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/BTService.h"
#include "data/BalanceQuery.h"
#include "data/XFService.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "ui/ucKelmora.h"

namespace tolvenk {

class Balance_Query_Part {
public:
    explicit Balance_Query_Part(forms::Form& window);
    Balance_Query_Part(const Balance_Query_Part&) = delete;
    Balance_Query_Part& operator=(const Balance_Query_Part&) = delete;

    ucKelmora ucDep1;
    forms::Label Label1;
    forms::DTPicker DTPicker1;
    forms::CommandButton Command1;
    forms::Frame Frame1;
    forms::ControlArray<forms::CommandButton> Command4;
    forms::Line Line1;
    forms::Grid Grid1;
    // Built after the grid so the progress panel lies above it.
    forms::PictureBox Pic_1;
    forms::Label Label2;
    forms::ProgressBar Bar1;

    XFService XF;
    BTService BT;

    // Captions, the picker and the services; the grid's heads come after.
    void Load();
    void Set_Heads(const std::vector<std::string>& heads);
    void Resize();
    bool Busy() const { return running_; }
    // The grid emptied; false when the picker has nothing chosen.
    bool Start(Balance_Query::Who& who);

    using Query = std::function<Balance_Query::Result(const Balance_Query::Row_Sink&)>;
    // Cells a window adds to an employee's grid row beside the shared ones.
    using Own_Cells = std::function<void(int row, const Balance_Query::Row&)>;
    // Runs the query with the controls locked (`own` beside them) and the
    // panel shown, a grid row per employee and the total row; nothing when
    // the window was closed meanwhile, or when the connection was lost: then
    // the rows so far stay, without a total, and one box says so in text
    // `lostText` (listed, of employees).
    std::optional<Balance_Query::Result> Run(forms::Control& own, const Query& query, const Own_Cells& cells,
                                             int lostText);

private:
    void layOut();
    void setAlignments();
    void addRow(const Balance_Query::Row& row, const Own_Cells& cells);
    void addTotal(const Exact_Sum& total);

    forms::Form& window_;
    bool running_ = false;
};

}  // namespace tolvenk
