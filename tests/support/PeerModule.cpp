#include "support/PeerModule.h"

#include "data/Globals.h"
#include "lang/Language.h"
#include "support/ModuleState.h"
#include "support/TestDb.h"

namespace tolvenk::test {

PeerModule::PeerModule(const std::string& cs) : scope_(std::make_unique<ServicesScope>()) {
    resetGlobals();
    strCN = cs;
    Conn_Main = connect(cs);
    DB_Type = cs.find("SQLOLEDB") != std::string::npos ? "SQL" : "Access";
    Money_Sign = "￥";
    Load_Lan(0);
}

PeerModule::~PeerModule() {
    resetGlobals();
    resetWindows();
}

}  // namespace tolvenk::test
