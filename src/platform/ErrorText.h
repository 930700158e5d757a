#pragma once
#include <exception>
#include <string>

namespace tolvenk::platform {

// What a box tells a clerk about a caught error: a plain sentence in the
// opening's language, then the engine's or runtime's own message on a line of
// its own, which support people need. A failure already told in plain words
// is shown as it is.
std::string errorText(const std::exception& e);

// The same for a failure known only by the text it left (a statement that
// did not run, a message kept from an earlier step).
std::string databaseErrorText(const std::string& detail);

}  // namespace tolvenk::platform
