#pragma once
// The module keeps its state in globals for as long as the library is loaded;
// a test starts and ends with them as a freshly loaded library has them, so
// that no test depends on what ran before it.

#include <cstdint>

namespace tolvenk::test {

// Every global of data/Globals.h and lang/LangGlobals.h back to its start
// value: connections and record set released, texts empty.
void resetGlobals();

// Window objects dropped and every window's own factory registered again, in
// place of any a test installed.
void resetWindows();

// Write batches of `items` employees or cards each, never ended by the
// clock: a test's batch boundaries then do not depend on the machine's speed.
void batchesOf(std::int64_t items);

}  // namespace tolvenk::test
