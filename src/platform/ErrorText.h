#pragma once
#include <exception>
#include <string>

namespace tolvenk::platform {

// What a box tells a clerk about a caught error: a plain sentence in the
// opening's language, then on a line of its own what support people need (the
// engine's message, or the runtime's error number). A failure already told in
// plain words is shown as it is.
std::string errorText(const std::exception& e);

// "The connection to the database was lost." in the opening's language.
std::string connectionLostText();
// What a run that lost its connection tells: `plain`, its own sentence of
// what it did and left, then the engine's reason on a line of its own.
std::string lostConnectionText(const std::string& plain, const std::string& reason);

// The same for a failure known only by the text it left (a statement that
// did not run, a message kept from an earlier step).
std::string databaseErrorText(const std::string& detail);

}  // namespace tolvenk::platform
