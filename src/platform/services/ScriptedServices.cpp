#include "platform/services/ScriptedServices.h"

#include "platform/services/PrintDocument.h"

namespace tolvenk::platform {

namespace {
int firstButton(int style) {
    switch (style & 7) {
    case vbAbortRetryIgnore: return vbAbort;
    case vbYesNoCancel:
    case vbYesNo: return vbYes;
    case vbRetryCancel: return vbRetry;
    default: return vbOK;
    }
}

std::string next(std::deque<std::string>& q) {
    if (q.empty()) return {};
    std::string s = q.front();
    q.pop_front();
    return s;
}
}  // namespace

int ScriptedServices::msgBox(const std::string& prompt, int style, const std::string& title) {
    boxes.push_back({prompt, style, title});
    if (msgBoxAnswers.empty()) return firstButton(style);
    const int a = msgBoxAnswers.front();
    msgBoxAnswers.pop_front();
    return a;
}

std::string ScriptedServices::inputBox(const std::string&, const std::string&, const std::string&) {
    return next(inputAnswers);
}

std::string ScriptedServices::openFileName(const std::string&, const std::string&) { return next(fileAnswers); }

std::string ScriptedServices::saveFileName(const std::string&, const std::string&, const std::string&) {
    return next(fileAnswers);
}

void ScriptedServices::printPreview(const PrintDocument& doc, int zoomPercent) {
    previews.push_back({doc.landscape(), zoomPercent, doc.pageCount()});
    if (!previewPdf.empty()) writePdf(doc, previewPdf);
}

}  // namespace tolvenk::platform
