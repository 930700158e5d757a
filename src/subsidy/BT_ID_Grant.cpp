#include "subsidy/BT_ID_Grant.h"

#include <algorithm>

#include "data/Globals.h"
#include "data/IdGrantRun.h"
#include "data/SubsidyBatch.h"
#include "lang/Language.h"
#include "platform/ErrorText.h"
#include "platform/db/SqlText.h"
#include "platform/services/Services.h"
#include "ui/WindowHelpers.h"
#include "ui/WindowKit.h"

namespace tolvenk {

namespace {

constexpr int kDesignWidth = 5400;
constexpr int kDesignHeight = 3180;

}  // namespace

BT_ID_Grant::BT_ID_Grant(bool regrant) : regrant_(regrant) {
    setBackColor(0x00FFF0E0);
    for (int i = 1; i <= BT_Batches_Per_Month; ++i) Combo2.AddItem(std::to_string(i));
    pBar1.setVisible(false);
    setWidth(kDesignWidth);
    setHeight(kDesignHeight);
    layOut();

    Command1.Click = [this](int) { Command1_Click(); };
    Command2.Click = [this](int) { Command2_Click(); };
}

// Labels and buttons are wide enough for the longest of the three languages.
void BT_ID_Grant::layOut() {
    Label1.Move(240, 300, 1500, 300);
    Combo3.Move(1800, 240, 1200, 345);
    Label2.Move(240, 780, 1500, 300);
    Combo1.Move(1800, 720, 1200, 345);
    Label3.Move(3120, 780, 600, 300);
    Combo2.Move(3720, 720, 600, 345);
    Label4.Move(1800, 1200, 3360, 300);
    Command1.Move(960, 1800, 2880, 420);
    Command2.Move(3960, 1800, 1200, 420);
    pBar1.Move(240, 2400, 4920, 240);
}

void BT_ID_Grant::Form_Load() {
    Set_Lan_Font(*this);
    setCaption(regrant_ ? L(47) : L(55));
    Command1.setCaption(L(48));
    Command2.setCaption(L(2));
    Label1.setCaption(L(14));
    Label2.setCaption(L(15));
    Label3.setCaption(L(16));
    Label4.setCaption(L(17));
    BT = BTService();

    Fill_Year_Combo(Combo3, BT.Get_Year());
    if (Combo3.ListCount() > 0) Combo3.setListIndex(0);
    Fill_Month_Combo(Combo1);
    Combo1.setListIndex(std::stoi(platform::services().clockText().substr(5, 2)) - 1);
}

void BT_ID_Grant::Command2_Click() { Close_Window(*this); }


void BT_ID_Grant::Command1_Click() {
    if (running_) return;
    if (Combo3.Text().empty()) {
        Prompt(L(54));
        return;
    }
    if (Combo2.Text().empty()) {
        Prompt(L(49));
        Combo2.SetFocus();
        return;
    }
    Cur_B_Year = static_cast<std::int32_t>(vbVal(Combo3.Text()));
    Cur_B_Month = Combo1.ListIndex() + 1;
    Cur_B_Times = Combo2.Text();
    ID_Grant::Run run(BT, {Cur_B_Year, Cur_B_Month, Cur_B_Times, regrant_, Op_User_ID});
    switch (run.refusal()) {
        case ID_Grant::Refusal::None: break;
        case ID_Grant::Refusal::No_Waiting_Rows: Prompt(L(54)); return;
        case ID_Grant::Refusal::Nothing_Prepared: Prompt(L(59)); return;
        case ID_Grant::Refusal::Not_An_ID_Batch: Prompt(L(53)); return;
    }

    Credited = Without_Card = Failed = 0;
    Run_Lock lock(*this, {&Combo3, &Combo1, &Combo2, &Command1}, running_);
    lock.Show_Progress(pBar1, std::max(1, run.total()));
    const ID_Grant::Counts counts = run.grant([&](std::int64_t done, std::int64_t) {
        pBar1.setValue(static_cast<int>(done));
        return lock.Go_On();
    });
    Credited = counts.credited;
    Without_Card = counts.withoutCard;
    Failed = counts.failed;
    if (counts.connectionLost) {
        // One box for the run: what was done, the rest left for the next one.
        platform::services().msgBox(
            platform::lostConnectionText(Lf(regrant_ ? 1072 : 1071, {std::to_string(Credited),
                                                                     std::to_string(counts.total),
                                                                     std::to_string(Without_Card)}),
                                         counts.lost),
            platform::vbCritical, L(112));
        return;
    }

    // What was done is told even when the window was closed during the run.
    std::string message = regrant_ ? L(50) + std::to_string(Credited) + L(51) + std::to_string(Without_Card) + L(52)
                                   : L(56) + std::to_string(Credited) + L(57) + std::to_string(Without_Card) + L(58);
    if (Failed > 0) message += L(940) + std::to_string(Failed) + (regrant_ ? L(52) : L(58));
    if (counts.meanwhile > 0) message += Lf(991, {std::to_string(counts.meanwhile)});
    Prompt(message);
    if (!lock.stopped()) Unload();
}

}  // namespace tolvenk
