#include "platform/services/Application.h"

#include <QApplication>

#include <exception>
#include <string>

#include "platform/Error.h"
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
        } catch (const VbError& e) {
            report("Error " + std::to_string(e.number()) + ": " + e.what());
        } catch (const std::exception& e) {
            report(e.what());
        }
        return false;
    }

private:
    static void report(const std::string& text) { services().msgBox(text, vbCritical, "Tolvenk"); }
};

}  // namespace

void ensureApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "tolvenk";
    static char* argv[] = {name, nullptr};
    new GuardedApplication(argc, argv);  // lives as long as the process
}

void atApplicationEnd(void (*cleanup)()) { qAddPostRoutine(cleanup); }

bool handlerErrorsGuarded() { return dynamic_cast<GuardedApplication*>(QCoreApplication::instance()) != nullptr; }

}  // namespace tolvenk::platform
