#include "ui/WindowKit.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>

#include "data/Globals.h"
#include "data/OpenDb.h"
#include "data/TableColumns.h"
#include "data/XFService.h"
#include "lang/LangGlobals.h"
#include "platform/Error.h"
#include "platform/MoneyText.h"
#include "platform/VbNumber.h"
#include "platform/VbText.h"
#include "platform/db/Connection.h"
#include "platform/db/SqlText.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/Grid.h"
#include "platform/forms/ProgressBar.h"
#include "platform/ErrorText.h"
#include "platform/services/Services.h"
#include "ui/GridOutput.h"

namespace tolvenk {

db::Connection& Main_Connection() {
    if (!Conn_Main) throw VbError(91, "Object variable or With block variable not set");
    Reopen_Main_If_Lost();
    return *Conn_Main;
}

void Fill_Combo(forms::ComboBox& combo, const DataList& list, const char* textCol, const char* dataCol,
                const std::string* firstText, std::int32_t firstData, const Combo_Entry& entry) {
    combo.Clear();
    if (firstText) {
        combo.AddItem(*firstText);
        combo.setItemData(combo.NewIndex(), firstData);
    }
    if (list.rowUBound() < 1) return;
    const int text = list.col(textCol), data = list.col(dataCol);
    for (int r = 1; r <= list.rowUBound(); ++r) {
        std::string shown = list(r, text);
        if (entry && !entry(r, shown)) continue;
        combo.AddItem(shown);
        combo.setItemData(combo.NewIndex(), vbCLng(vbVal(list(r, data))));
    }
}

std::int32_t Chosen_Data(const forms::ComboBox& combo) {
    const int i = combo.ListIndex();
    return i < 0 ? 0 : combo.ItemData(i);
}

void Wire_Output_Buttons(forms::ControlArray<forms::CommandButton>& buttons, forms::Grid& grid, forms::Form& window,
                         bool withFooter) {
    for (int i = 0; i <= 3; ++i)
        buttons(i).Click = [&grid, &window, withFooter](int index) {
            if (withFooter) Grid_Output(static_cast<std::int16_t>(index), grid, true, window.Caption(), Op_User_Name);
            else Grid_Output(static_cast<std::int16_t>(index), grid, false, window.Caption());
        };
}

Run_Lock::Run_Lock(forms::Form& window, std::vector<forms::Control*> controls, bool& running)
    : window_(window), controls_(std::move(controls)), running_(running) {
    for (forms::Control* c : controls_) {
        saved_.push_back(c->Enabled());
        c->setEnabled(false);
    }
    running_ = true;
}

Run_Lock::~Run_Lock() {
    // A window closed meanwhile is back in its design state: leave it there.
    if (!stopped()) {
        if (bar_) {
            bar_->setVisible(false);
            bar_->setValue(0);
        }
        if (panel_) panel_->setVisible(false);
        if (grid_) grid_->setRedraw(true);
        for (std::size_t i = 0; i < controls_.size(); ++i) controls_[i]->setEnabled(saved_[i]);
    }
    running_ = false;
}

bool Run_Lock::stopped() const { return !window_.Loaded(); }

bool Run_Lock::Go_On() const { return tolvenk::Go_On(window_); }

bool Go_On(const forms::Form& window) {
    platform::Services& sv = platform::services();
    if (sv.yieldDue()) {
        Paint_Held_Grids(window);
        sv.yield();
    }
    return window.Loaded();
}

bool Go_On_Reading(const forms::Form& window) {
    platform::yieldEvery(std::chrono::milliseconds(50), [&window] { Paint_Held_Grids(window); });
    return window.Loaded();
}

bool Wait_Aside(const forms::Form& window, const std::function<bool()>& done) {
    while (!done())
        if (!Go_On_Reading(window)) return false;
    return true;
}

void Paint_Held_Grids(const forms::Form& window) {
    for (forms::Control* c : window.Controls())
        if (auto* grid = dynamic_cast<forms::Grid*>(c)) grid->Paint_Held();
}

void Run_Lock::Show_Progress(forms::ProgressBar& bar, std::int64_t max) {
    bar_ = &bar;
    bar.setValue(0);
    bar.setMax(static_cast<int>(std::clamp<std::int64_t>(max, 0, INT32_MAX)));
    bar.setVisible(true);
}

void Run_Lock::Show_Panel(forms::Control& panel) {
    panel_ = &panel;
    panel.setVisible(true);
}

void Run_Lock::Hold_Redraw(forms::Grid& grid) {
    grid_ = &grid;
    grid.setRedraw(false);
}

void Show_Error(const std::exception& e) {
    platform::services().msgBox(platform::errorText(e), platform::vbCritical, L(112));
}

std::optional<std::int32_t> Card_System(XFService& XF) {
    try {
        return XF.Get_is_IC();
    } catch (const std::exception& e) {
        Show_Error(e);
        return std::nullopt;
    }
}

void Prompt(const std::string& text) { Prompt(text, platform::vbExclamation, L(43)); }
void Prompt(const std::string& text, int style) { Prompt(text, style, L(43)); }
void Prompt(const std::string& text, int style, const std::string& title) {
    platform::services().msgBox(text, style, title);
}

bool Times_Switch_On(const DataList& config) {
    if (config.rowUBound() < 1) return true;
    const auto times = parseNumber(config(1, config.col(col::Sys_Para::P5)));
    return !(times && *times == 0);
}

std::optional<std::int32_t> Typed_Year(const std::string& text) {
    const auto v = parseNumber(vbTrim(text));
    if (!v || *v != std::floor(*v) || *v < 1 || *v > 9999) return std::nullopt;
    return static_cast<std::int32_t>(*v);
}

void Fill_Year_Combo(forms::ComboBox& combo, const DataList& years) {
    combo.Clear();
    for (int r = 1; r <= years.rowUBound(); ++r) combo.AddItem(years(r, 0));
}

std::string Money_Text(std::int64_t fen) { return Money_Sign + centsText(fen); }
std::string Money_Text(const Exact_Sum& sum, bool negated) { return Money_Sign + sum.cents(negated); }

}  // namespace tolvenk
