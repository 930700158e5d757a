#include "ui/WindowKit.h"

#include "data/Globals.h"
#include "platform/Error.h"
#include "platform/VbNumber.h"
#include "platform/db/Connection.h"
#include "platform/db/SqlText.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "platform/forms/Grid.h"
#include "ui/GridOutput.h"

namespace tolvenk {

db::Connection& Main_Connection() {
    if (!Conn_Main) throw VbError(91, "Object variable or With block variable not set");
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
            else Grid_Output(static_cast<std::int16_t>(index), grid, false);
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
    if (!stopped())
        for (std::size_t i = 0; i < controls_.size(); ++i) controls_[i]->setEnabled(saved_[i]);
    running_ = false;
}

bool Run_Lock::stopped() const { return !window_.Loaded(); }

}  // namespace tolvenk
