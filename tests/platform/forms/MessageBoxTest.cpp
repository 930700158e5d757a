// A box with a short text and a long title shows the whole title: the title
// bar needs room for its text and, beside it, the window's icon and three
// buttons (about 24 px each with their margins, 100 px in all at least).
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QMessageBox>

#include "platform/services/Application.h"
#include "platform/services/QtServices.h"

using namespace tolvenk;

namespace {

int boldWidth(const QMessageBox& box, const QString& text) {
    QFont bold = box.font();
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(text);
}

}  // namespace

TEST(MessageBox, IsWideEnoughForItsWholeTitle) {
    platform::ensureApplication();
    for (const char* title : {"出错:ERR_XF_Cha_HZ_2", "Error:ERR_XF_Cha_HZ_2", "出錯:ERR_XF_Cha_HZ_1"}) {
        const auto box = platform::messageBox("Overflow", platform::vbCritical, title);
        box->show();
        EXPECT_GE(box->width(), boldWidth(*box, box->windowTitle()) + 100) << title;
        box->hide();
    }
    // A box handed no title carries the application's.
    EXPECT_EQ(platform::messageBox("x", platform::vbOKOnly, "")->windowTitle().toStdString(), "Tolvenk");
}
