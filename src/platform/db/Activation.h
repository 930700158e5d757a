#pragma once

namespace tolvenk::db {

// Counts window activations. An open file connection looks at its file again
// on the first read after one: while a window was in the background, the file
// may have been restored from a backup.
void noteWindowActivated();
unsigned activationCount();

}  // namespace tolvenk::db
