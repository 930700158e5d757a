#pragma once
// A till of another maker: the same rows as the terminal, written through the
// engine's own client library alone (sqlite3 with its standard busy timeout,
// or libpq), knowing nothing of the module or of its marks on the file.
#include "terminal/TerminalWriter.h"

namespace tolvenk::terminal {

// Writes to `options.plainFile` or, without one, the server of
// `options.plainServer` (a libpq connection text), as run() does.
Result runPlain(const Options& options, const std::function<bool()>& stop,
                const std::function<void(std::int64_t, std::int64_t)>& onCommit,
                const std::function<void(const std::string&)>& onError);

}  // namespace tolvenk::terminal
