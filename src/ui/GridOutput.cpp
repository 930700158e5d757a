#include "ui/GridOutput.h"

#include "lang/LangGlobals.h"
#include "platform/forms/Grid.h"
#include "platform/Error.h"
#include "platform/ErrorText.h"
#include "platform/services/Services.h"

namespace tolvenk {

void Grid_Output(std::int16_t Index, forms::Grid& grid, bool WithFooter, const std::string& caption,
                 const std::string& opUserName, const std::function<void(int page, int pages)>& pageDone) {
    if (Index >= 0 && Index <= 2) {
        // The caption titles the file, with or without a printed footer.
        if (!caption.empty()) grid.Page_Setup().title = caption;
        bool ok = false;
        if (Index == 0) ok = grid.Export_Excel("", true);
        else if (Index == 1) ok = grid.Export_HTML("");
        else ok = grid.Export_XML("");
        if (!ok && grid.ExportCancelled()) return;  // the person chose not to save
        std::string prompt = ok ? Lang[391] : Lang[392];
        // Why, in the window's language; the system's own words below it for support.
        if (!ok && !grid.ExportError().told.empty()) prompt += "\n" + grid.ExportError().told.shown();
        if (!ok && !grid.ExportError().system.empty()) prompt += "\n" + grid.ExportError().system;
        platform::services().msgBox(prompt, ok ? platform::vbInformation : platform::vbExclamation, Lang[43]);
        return;
    }
    if (Index != 3) return;

    grid::PageSetup& page = grid.Page_Setup();
    if (WithFooter) {
        page.title = caption;
        page.titleOn = true;
        page.footer = "制表人：" + opUserName + "    制表日期:" + platform::services().clockText();
        page.footerOn = true;
    }
    page.switch1 = page.switch2 = true;
    page.setting1 = page.setting2 = 1.0;
    auto all = grid.Range(0, 0, grid.Rows() - 1, grid.Cols() - 1);
    for (int edge = 0; edge <= 3; ++edge) all.setBorders(edge, 2);
    all.setBorders(4, 1);
    all.setBorders(5, 1);
    int total = 0;
    for (int c = 0; c < grid.Cols(); ++c) total += grid.Column(c).Width();
    page.orientation = total > 700 ? 2 : 1;
    grid.Print_Preview(100, pageDone);
}

std::string LimitNum(int Keyin, const std::string& ValibleStr, bool isBackspace) {
    if (Keyin < 0 || Keyin > 255) {
        // A key that is no character at all: refused like an error would be.
        platform::services().msgBox(platform::errorText(VbError(5, "Invalid procedure call or argument")), platform::vbCritical,
                                    Lang[112]);
        return "0";
    }
    const std::string allowed = ValibleStr + (isBackspace ? std::string(1, '\b') : std::string());
    if (Keyin != 0 && allowed.find(static_cast<char>(Keyin)) != std::string::npos)
        return std::to_string(Keyin);  // the key code as text: it becomes the key again
    platform::services().beep();
    return "0";
}

void Grid1_Event31(int leftCol, forms::Control& CheckAll) { CheckAll.setVisible(leftCol < 2); }

}  // namespace tolvenk
