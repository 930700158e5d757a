#pragma once

namespace tolvenk::platform {

// Makes sure a QApplication exists; a host without one gets ours, created on
// first use and kept for the life of the process.
void ensureApplication();

}  // namespace tolvenk::platform
