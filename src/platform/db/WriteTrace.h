#pragma once
// What a session's writes do with the write lock, told to whoever listens (a
// benchmark tracing each hold and each gap); nothing is told while none does.
#include <functional>

namespace tolvenk::db {

enum class Write_Event {
    Locked,       // the write transaction holds the lock
    Committing,   // its writes are done, its commit begins
    Committed,    // the commit is through and the lock free
    Copied_Back,  // the pages of the commit copied back to the file, after it
    Gap_Begun,    // a series leaves the lock free for others
    Gap_Ended
};
using Write_Listener = std::function<void(Write_Event)>;

// One listener for the process; an empty one stops the telling.
void listenToWrites(Write_Listener listener);
void tellWrite(Write_Event event);

}  // namespace tolvenk::db
