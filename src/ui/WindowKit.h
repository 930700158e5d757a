#pragma once
// What every window would otherwise grow for itself: the main connection,
// combos filled from a service list, the output buttons, and the lock a long
// run holds on its controls.
#include <chrono>
#include <cstdint>
#include <future>
#include <memory>
#include <thread>
#include <exception>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "data/DataList.h"
#include "platform/MoneyText.h"

namespace tolvenk {

class XFService;
namespace db {
class Connection;
}
namespace forms {
class ComboBox;
class CommandButton;
class Control;
class Form;
class Grid;
class ProgressBar;
template <class T>
class ControlArray;
}  // namespace forms

// Conn_Main, or error 91 when no call holds it open; a session the server
// ended while it was idle (a restart) is replaced first, never inside a
// transaction.
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
// However the run ends (done, stopped, an error), its end is one path: the
// progress bar and panel go, the grid draws again, the controls come back;
// a window closed meanwhile is left as designed.
class Run_Lock {
public:
    Run_Lock(forms::Form& window, std::vector<forms::Control*> controls, bool& running);
    ~Run_Lock();
    Run_Lock(const Run_Lock&) = delete;
    Run_Lock& operator=(const Run_Lock&) = delete;
    // The window was closed (unloaded) since the run began.
    bool stopped() const;
    // Lets the window's events through when a yield is due; false once the
    // window was closed, where the run ends.
    bool Go_On() const;

    // A bar shown from 0 to `max` for the run.
    void Show_Progress(forms::ProgressBar& bar, std::int64_t max);
    // A panel (a progress frame) shown for the run.
    void Show_Panel(forms::Control& panel);
    // A grid filled without drawing each row, drawn once at the end.
    void Hold_Redraw(forms::Grid& grid);

private:
    forms::Form& window_;
    std::vector<forms::Control*> controls_;
    std::vector<bool> saved_;
    bool& running_;
    forms::ProgressBar* bar_ = nullptr;
    forms::Control* panel_ = nullptr;
    forms::Grid* grid_ = nullptr;
};

// A step of a long fill outside a Run_Lock's scope: lets the window's events
// through when a yield is due; false once the window was closed. A grid of
// the window whose drawing is held shows its rows so far now and then.
bool Go_On(const forms::Form& window);
// The same for a step of a long read that holds nothing open for writing:
// it also yields once 50 ms have passed since it last did, so that with the
// step after it the window is never held a tenth of a second (a due yield
// comes after 100 ms, which write runs keep to between their batches).
bool Go_On_Reading(const forms::Form& window);
// Runs `work` on a thread of its own while the window takes its events (as
// Go_On_Reading lets them through): for a read that holds no connection and
// would freeze the window, a large workbook say. Its exception passes;
// nullopt once the window was closed, the work then left to end by itself.
template <class T>
std::optional<T> Read_Aside(const forms::Form& window, std::function<T()> work);
bool Wait_Aside(const forms::Form& window, const std::function<bool()>& done);
// The window's grids whose drawing a fill holds show their rows so far, when
// they have doubled or a while has passed (Grid::Paint_Held).
void Paint_Held_Grids(const forms::Form& window);

// The box of a handler whose work failed with a database or other error:
// the error's own text, a critical icon and the error title.
void Show_Error(const std::exception& e);

// The installation's card system as XFService::Get_is_IC reads it; nothing,
// its refusal shown, when the setting cannot be read: a window must not take
// such a setting for either system.
std::optional<std::int32_t> Card_System(XFService& XF);

// A notice to the operator: the exclamation icon and the prompt title unless
// told otherwise.
void Prompt(const std::string& text);
void Prompt(const std::string& text, int style);
void Prompt(const std::string& text, int style, const std::string& title);

// The Sys_Config row's times switch (P5): only a value that reads as the
// number 0 turns the times columns and kinds off; no row, or any other
// value, leaves them on. `config` is BTService::Is_Ci()'s list.
bool Times_Switch_On(const DataList& config);

// A typed year: a whole number from 1 to 9999, blanks around it allowed;
// nothing for any other text.
std::optional<std::int32_t> Typed_Year(const std::string& text);
// The years of a list's first column as a combo's items.
void Fill_Year_Combo(forms::ComboBox& combo, const DataList& years);

// An amount in fen as shown: the money sign and the yuan with two decimals.
std::string Money_Text(std::int64_t fen);
// An exact sum as shown the same way (negated when asked), or the sign and
// the overflow mark.
std::string Money_Text(const Exact_Sum& sum, bool negated = false);

template <class T>
std::optional<T> Read_Aside(const forms::Form& window, std::function<T()> work) {
    auto result = std::make_shared<std::future<T>>(std::async(std::launch::async, std::move(work)));
    const bool done = Wait_Aside(window, [&] {
        return result->wait_for(std::chrono::milliseconds(10)) == std::future_status::ready;
    });
    if (!done) {
        // Whoever holds the last reference waits for the work: not the window.
        std::thread([result] { result->wait(); }).detach();
        return std::nullopt;
    }
    return result->get();
}

}  // namespace tolvenk
