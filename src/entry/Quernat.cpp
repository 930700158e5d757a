#include "tolvenk/Quernat.h"

#include <cctype>
#include <vector>

#include "data/Globals.h"
#include "data/LookupStore.h"
#include "data/OpenDb.h"
#include "entry/MenuTable.h"
#include "ui/WindowRegistry.h"
#include "lang/Language.h"
#include "platform/Error.h"
#include "platform/VbNumber.h"
#include "platform/VbText.h"
#include "platform/db/SqlText.h"
#include "platform/db/Utf8.h"
#include "platform/forms/Form.h"

namespace tolvenk {

namespace {

const char* const kAccessCode = "7942";

// Why the last call opened no window for a right access code: the words of
// the box its databases' failure showed.
std::string openFailure;

const std::string& field(const std::vector<std::string>& fields, std::size_t i) {
    if (i >= fields.size()) throw VbError(9, "Subscript out of range");
    return fields[i];
}

std::string homePathOf(const std::string& folder) {
    // A trailing separator, '/' or '\', does not hide a closing "data".
    std::string named = folder;
    while (!named.empty() && (named.back() == '/' || named.back() == '\\')) named.pop_back();
    const std::size_t n = utf8Length(named);
    if (n > 4) {
        std::string tail = utf8Substr(named, n - 4, 4);
        for (char& c : tail) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (tail == "DATA") return utf8Substr(named, 0, n - 4);
    }
    return folder;
}

void releaseConnections() {
    if (Conn_Local) Conn_Local->close();
    Conn_Local.reset();
    if (Conn_Main) Conn_Main->close();
    Conn_Main.reset();
}

void openWindow(const std::vector<std::string>& para, const std::string& sUser, const std::string& sCN) {
    const std::int16_t menuCode = vbCInt(vbVal(field(para, 0)));
    Lan_Type = vbCInt(vbVal(field(para, 1)));
    Op_User_Name = sUser;
    if (field(para, 2) != kAccessCode) return;

    std::vector<std::string> cn = vbSplit(sCN, ';');
    const auto opened = [&cn] {
        if (Open_DB(field(cn, 0), field(cn, 1), field(cn, 2))) return true;
        openFailure = Open_DB_Failure();
        return false;
    };
    if (!opened()) return;
    Home_Path = homePathOf(cn[0]);
    Load_Lan(Lan_Type);
    Money_Sign = cn.size() >= 5 ? cn[4] : "\xEF\xBF\xA5";  // U+FFE5 full-width yen/yuan sign
    cn = vbSplit(sCN, ';');
    if (!opened()) return;
    Op_User_ID = Quernat().Get_UserID(sUser);

    const std::string name = windowForMenuCode(menuCode);
    if (name.empty()) return;
    registerBuiltInWindows();
    if (forms::Form* window = windowObject(name)) window->Show();
}

}  // namespace

void Quernat::mnuLoad(const std::string& sPara, const std::string& sUser, const std::string& sCN) {
    openFailure.clear();
    // Whatever happens, both connections are released before returning.
    try {
        openWindow(vbSplit(sPara, ';'), sUser, sCN);
    } catch (const VbError& e) {
        releaseConnections();
        throw TolvenkError(e.number(), e.what());
    } catch (const std::exception& e) {
        releaseConnections();
        throw TolvenkError(440, e.what());
    }
    releaseConnections();
}

std::string Quernat::Open_Failure() const { return openFailure; }

std::int32_t Quernat::Get_UserID(const std::string& SysUserName) {
    if (!Conn_Main || !Conn_Main->isOpen()) return 0;
    auto rs = Lookup_Store::Operator_Id(*Conn_Main, SysUserName);
    if (rs->recordCount() < 1) return 0;
    rs->moveFirst();
    const db::Value& id = rs->field("User_ID");
    if (id.isNull()) throw VbError(94, "Invalid use of Null");
    return vbCLng(id.toDouble());
}

}  // namespace tolvenk
