#pragma once
#include <functional>
#include <memory>
#include <string>

namespace tolvenk {

namespace forms {
class Form;
}

using WindowFactory = std::function<std::unique_ptr<forms::Form>()>;

// Each window is made by its factory; the window issues register theirs.
// Registering again replaces the factory (tests install their own windows).
void registerWindow(const std::string& name, WindowFactory factory);
// Registers the module's own factory unless one is registered already.
void registerDefaultWindow(const std::string& name, WindowFactory factory);

// The window object of that name: created on first use and kept until the
// process ends (or the host's own application, when it ends first). nullptr
// when no window of that name is built.
forms::Form* windowObject(const std::string& name);

// Drops every window object (tests only: a fresh library state).
void resetWindowObjects();

}  // namespace tolvenk
