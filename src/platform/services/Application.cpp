#include "platform/services/Application.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

#include <exception>
#include <string>

#include "platform/ErrorText.h"
#include "platform/services/Services.h"

namespace tolvenk::platform {

namespace {

// An error that leaves a window's handler while a person works the window
// must not take the host down: it is shown and the window stays usable.
class GuardedApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            report(errorText(e));
        }
        return false;
    }

private:
    static void report(const std::string& text) { services().msgBox(text, vbCritical, kApplicationTitle); }
};

// The language Qt's own dialogs should speak, and the one they speak now.
std::string wantedLanguage, shownLanguage;
QTranslator* dialogTexts = nullptr;

// Qt's catalogue for the language, when the machine has it; English needs none.
void applyDialogLanguage() {
    auto* app = QCoreApplication::instance();
    if (!app || wantedLanguage == shownLanguage) return;
    if (dialogTexts) {
        QCoreApplication::removeTranslator(dialogTexts);
        delete dialogTexts;
        dialogTexts = nullptr;
    }
    shownLanguage = wantedLanguage;
    if (wantedLanguage.empty()) return;
    auto* texts = new QTranslator(app);
    if (texts->load(QString::fromStdString("qt_" + wantedLanguage), QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
        QCoreApplication::installTranslator(texts))
        dialogTexts = texts;
    else
        delete texts;
}

}  // namespace

void ensureApplication() {
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "tolvenk";
        static char* argv[] = {name, nullptr};
        new GuardedApplication(argc, argv);  // lives as long as the process
    }
    applyDialogLanguage();  // also in a host's own application
}

void setDialogLanguage(const std::string& locale) {
    wantedLanguage = locale;
    applyDialogLanguage();
}

void atApplicationEnd(void (*cleanup)()) { qAddPostRoutine(cleanup); }

bool handlerErrorsGuarded() { return dynamic_cast<GuardedApplication*>(QCoreApplication::instance()) != nullptr; }

}  // namespace tolvenk::platform
