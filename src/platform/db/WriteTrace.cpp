#include "platform/db/WriteTrace.h"

#include <utility>

namespace tolvenk::db {

namespace {
Write_Listener& listener() {
    static Write_Listener l;
    return l;
}
}  // namespace

void listenToWrites(Write_Listener l) { listener() = std::move(l); }

void tellWrite(Write_Event event) {
    if (const Write_Listener& l = listener()) l(event);
}

}  // namespace tolvenk::db
