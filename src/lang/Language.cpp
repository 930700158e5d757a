#include "lang/Language.h"

#include <map>
#include <string>

#include "lang/LangData.h"
#include "lang/LangGlobals.h"
#include "lang/LangTable.h"
#include "platform/Error.h"
#include "platform/ShownText.h"
#include "platform/db/Connection.h"
#include "platform/db/ConnectionString.h"
#include "platform/forms/ListControl.h"
#include "platform/services/Application.h"

namespace tolvenk {

namespace {

constexpr int kLastText = 644;

const std::map<int, std::string>& simplified() {
    static const auto texts = parseLangTable(langdata::Simplified);
    return texts;
}

struct BuiltIn {
    const std::map<int, std::string>& texts;
    bool writes459;     // only English writes 459 (as an empty text)
};

BuiltIn builtIn(std::int16_t code) {
    static const auto english = parseLangTable(langdata::English);
    static const auto traditional = parseLangTable(langdata::Traditional);
    if (code == 1) return {english, true};
    if (code == 2) return {traditional, false};
    return {simplified(), false};
}

std::string overrideConnectionString() {
    const bool endsInSeparator = !Home_Path.empty() && Home_Path.back() == '\\';
    const std::string file = Home_Path + (endsInSeparator ? "" : "\\") + "data\\sLan_Sendral.mdb";
    return "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=" + db::ConnectionString::quoted(file) +
           (endsInSeparator ? "; Jet OLEDB;" : ";Jet OLEDB;");
}

constexpr int kOwnTexts = 900;

std::int16_t toInt16(std::int64_t v) {
    if (v < INT16_MIN || v > INT16_MAX) throw VbError(6, "Overflow");
    return static_cast<std::int16_t>(v);
}

}  // namespace

void Load_Lan(std::int16_t code) {
    // A text the language lacks is shown in Simplified Chinese, never empty,
    // whatever language an earlier call loaded.
    const BuiltIn lang = builtIn(code);
    for (int i = 0; i <= kLastText; ++i) {
        if (i == 459 && !lang.writes459) continue;
        std::string& text = Lang[static_cast<std::size_t>(i)];
        if (auto own = lang.texts.find(i); own != lang.texts.end()) text = own->second;
        else if (auto s = simplified().find(i); s != simplified().end()) text = s->second;
        else text.clear();
    }
    // The module's own texts beyond the classic table (from 900 on).
    for (const auto& [n, text] : lang.texts)
        if (n >= kOwnTexts && n < static_cast<int>(Lang.size())) Lang[static_cast<std::size_t>(n)] = text;
    Lan_Charset = 0;
    platform::setTextLookup(&L);
    platform::setDialogLanguage(code == 1 ? "" : code == 2 ? "zh_TW" : "zh_CN");

    // Any failure from here on ends the override quietly; what is applied stays.
    try {
        db::Connection con;
        con.open(overrideConnectionString());
        auto rs = con.openRecordset("select * from Lan where F1=1 and N>0 and N<=644");
        for (; !rs->eof(); rs->moveNext()) {
            // N held as text passes the query's range as text; an index outside the table is
            // the classic subscript error, which ends the override like any other.
            const double at = rs->field("N").toDouble();
            if (!(at >= 0 && at < static_cast<double>(kOverridableTexts))) throw VbError(9, "Subscript out of range");
            const auto n = rs->field("N").toInt64();
            Lang[static_cast<std::size_t>(n)] = rs->field("CN").toString();
        }
        rs = con.openRecordset("select * from Lan where N=-1");
        if (!rs->eof()) Lan_Charset = toInt16(rs->field("F1").toInt64());
    } catch (const std::exception&) {
    }
}

std::string Built_In_Text(std::int16_t code, int n) {
    const BuiltIn lang = builtIn(code);
    const auto it = lang.texts.find(n);
    return it == lang.texts.end() ? std::string() : it->second;
}

void Set_Lan_Font(forms::Form& window) {
    (void)window;
    if (Lan_Charset == 0) return;
    // Qt picks glyphs by Unicode; the character set needs no font change.
}

void Fill_Month_Combo(forms::ListControl& list) {
    list.Clear();
    for (int n = 445; n <= 456; ++n) list.AddItem(Lang[static_cast<std::size_t>(n)]);
}

}  // namespace tolvenk
