#pragma once
#include <string>
#include <vector>

#include "ui/WindowRegistry.h"

namespace tolvenk {

// Every window of the module: the menu code that opens it (0 for a window
// only another window opens), its name, and its factory (empty while the
// window is not built yet).
struct MenuEntry {
    int code;
    const char* window;
    WindowFactory factory;
};
const std::vector<MenuEntry>& menuTable();

// The window a menu code opens, or "" for a code without one.
std::string windowForMenuCode(int code);

// Registers the factory of every built window (once).
void registerBuiltInWindows();

}  // namespace tolvenk
