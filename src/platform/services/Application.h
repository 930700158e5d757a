#pragma once
#include <string>

namespace tolvenk::platform {

// Makes sure a QApplication exists; a host without one gets ours, created on
// first use and kept for the life of the process. Ours shows an error that
// escapes a window's event handler in a box instead of ending the process.
void ensureApplication();

// The language of Qt's own dialogs (open, save, print, the standard
// buttons): a locale such as "zh_CN" or "zh_TW", or "" for Qt's English.
// Taken up when an application exists, now or once it is made.
void setDialogLanguage(const std::string& locale);

// True when the application in use is ours.
bool handlerErrorsGuarded();

// Runs `cleanup` once when the application in use is destroyed, while its
// widgets can still be deleted (a host that owns and ends its application).
// Ours lives until the process ends and never runs it.
void atApplicationEnd(void (*cleanup)());

}  // namespace tolvenk::platform
