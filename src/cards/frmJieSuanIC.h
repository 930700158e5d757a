#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "data/BaseService.h"
#include "data/IcSettlementRun.h"
#include "data/XFService.h"
#include "platform/forms/Controls.h"
#include "platform/forms/Form.h"
#include "ui/WindowKit.h"

namespace tolvenk {

// IC settlement (menu 7038): per card, the transactions before a cut-off date
// collapse into one settlement row per kind of serial, the older rows going
// to the backup table; the cut-off becomes the settlement date once every
// card is settled.
class frmJieSuanIC : public forms::Form {
public:
    frmJieSuanIC();

    forms::Label Label1{*this};
    forms::DTPicker dtP{*this};
    forms::Label Label2{*this};
    forms::CommandButton Command1{*this};
    forms::CheckBox chk1{*this};
    forms::DTPicker dtP2{*this};
    forms::Label Label11{*this};
    forms::CommandButton Command2{*this};
    forms::ProgressBar pBar{*this};
    forms::Label Label3{*this};
    forms::Label Label9{*this};
    forms::Label Label12{*this};
    forms::Label Label6{*this}, lblNull{*this};
    forms::Label Label10{*this}, lbl1{*this};
    forms::Label Label8{*this}, lbl0{*this};
    forms::Label Label4{*this}, lblCZ{*this};
    forms::Label Label5{*this}, lblQK{*this};
    forms::Label Label7{*this}, lblYC{*this};
    forms::Grid Grid1{*this};
    forms::CommandButton cmdExcell{*this};

    // The window's own connection (card list, settlement row, pruning) and
    // the service that reads the settlement date and the card system.
    BaseService Win_Base;
    XFService XF;
    bool Stop_Flag = false;
    // How the last run ended (a failure leaves it Stopped).
    IC_Settlement::Run_Result Last_Run;

    void Form_Load() override;
    void Form_Unload(int& Cancel) override;

    void dtP_Change();
    void Command1_Click();
    void Command2_Click();
    void cmdExcell_Click();
    void Do_JieSuan();

private:
    void layOut();
    bool Show_Step(const IC_Settlement::Run_Step& s, const Run_Lock& lock);
    void Show_Failure(const std::string& where, const std::string& what);
    // The cards still holding rows before the cut-off, the first few named.
    void Show_Left(const std::vector<std::pair<std::int32_t, std::string>>& left);
    static constexpr std::size_t kListedCards = 20;
    void Give_Back();
    db::Connection& Win_Connection();
    bool running_ = false;
};

}  // namespace tolvenk
