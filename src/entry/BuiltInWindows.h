#pragma once

namespace tolvenk {

// Registers the factory of every window the module has built (once).
void registerBuiltInWindows();

}  // namespace tolvenk
