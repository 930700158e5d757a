#pragma once
// What every window would otherwise grow for itself: the main connection,
// combos filled from a service list, the output buttons, and the lock a long
// run holds on its controls.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/DataList.h"

namespace tolvenk {

namespace db {
class Connection;
}
namespace forms {
class ComboBox;
class CommandButton;
class Control;
class Form;
class Grid;
template <class T>
class ControlArray;
}  // namespace forms

// Conn_Main, or error 91 when no call holds it open.
db::Connection& Main_Connection();

// Fills a combo with the list's `textCol` texts and their `dataCol` numbers
// as item data, after an optional first entry (text, data). `entry` may
// leave a record out (false) or change the text shown for it.
using Combo_Entry = std::function<bool(int row, std::string& text)>;
void Fill_Combo(forms::ComboBox& combo, const DataList& list, const char* textCol, const char* dataCol,
                const std::string* firstText = nullptr, std::int32_t firstData = 0, const Combo_Entry& entry = {});
// The chosen entry's item data; 0 while nothing is chosen.
std::int32_t Chosen_Data(const forms::ComboBox& combo);

// The four output buttons (0 Excel, 1 HTML, 2 XML, 3 print) send the grid
// through Grid_Output; with a footer, the window's caption and the operator
// go on the printed page.
void Wire_Output_Buttons(forms::ControlArray<forms::CommandButton>& buttons, forms::Grid& grid, forms::Form& window,
                         bool withFooter);

// Held while a long run lets the window process events: its controls are
// disabled (and given back as they were), a second run cannot start inside
// it, and `stopped` tells the run when the window was closed meanwhile.
class Run_Lock {
public:
    Run_Lock(forms::Form& window, std::vector<forms::Control*> controls, bool& running);
    ~Run_Lock();
    Run_Lock(const Run_Lock&) = delete;
    Run_Lock& operator=(const Run_Lock&) = delete;
    // The window was closed (unloaded) since the run began.
    bool stopped() const;

private:
    forms::Form& window_;
    std::vector<forms::Control*> controls_;
    std::vector<bool> saved_;
    bool& running_;
};

}  // namespace tolvenk
