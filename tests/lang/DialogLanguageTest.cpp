// Qt's own dialogs (file, print preview) speak the language the host chose.
#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPushButton>

#include "lang/Language.h"
#include "platform/services/Application.h"

using namespace tolvenk;

namespace {

std::string saveButton() {
    QFileDialog d;
    d.setOption(QFileDialog::DontUseNativeDialog);
    d.setAcceptMode(QFileDialog::AcceptSave);
    return d.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save)->text().toStdString();
}

std::string previewTitle() {
    QPrinter printer;
    QPrintPreviewDialog d(&printer);
    return d.windowTitle().toStdString();
}

}  // namespace

TEST(DialogLanguage, QtsOwnDialogsSpeakTheChosenLanguage) {
    Load_Lan(2);  // chosen before the module makes its application
    platform::ensureApplication();
    EXPECT_EQ(saveButton(), "儲存(&S)");
    EXPECT_EQ(previewTitle(), "列印預覽");
    Load_Lan(0);
    EXPECT_EQ(saveButton(), "保存(&S)");
    EXPECT_EQ(previewTitle(), "打印预览");
    Load_Lan(1);
    EXPECT_EQ(saveButton(), "&Save");
    EXPECT_EQ(previewTitle(), "Print Preview");
}
