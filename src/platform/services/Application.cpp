#include "platform/services/Application.h"

#include <QApplication>

namespace tolvenk::platform {

void ensureApplication() {
    if (QCoreApplication::instance()) return;
    static int argc = 1;
    static char name[] = "tolvenk";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);  // lives as long as the process
}

}  // namespace tolvenk::platform
