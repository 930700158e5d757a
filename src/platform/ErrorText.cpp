#include "platform/ErrorText.h"

#include <new>

#include "platform/ShownText.h"
#include "platform/db/DbError.h"

namespace tolvenk::platform {

namespace {

std::string withDetail(const std::string& plain, const std::string& detail) {
    return detail.empty() ? plain : plain + "\n" + detail;
}

std::string databaseText(const db::DbError& e) {
    if (e.told()) return e.toldText();
    if (!e.missingTable().empty())
        return withDetail(shownText(1041, "The database has no table %1, which this step needs.", {e.missingTable()}),
                          e.what());
    switch (e.number()) {
    case 3024:  // no such file or database
    case 3049:  // the engine or server refused to open it
    case 3704:  // no connection open
    case 3706:  // no engine for the connection
        return withDetail(shownText(1042, "The database could not be opened.", {}), e.what());
    default:
        if (e.connectionLost()) return withDetail(connectionLostText(), e.what());
        return databaseErrorText(e.what());
    }
}

// The classic runtime's errors: its English text says little to a clerk and
// nothing more to support than the number.
std::string runtimeText(const VbError& e) {
    std::string plain;
    switch (e.number()) {
    case 6: plain = shownText(1043, "A figure is too large to be shown.", {}); break;
    case 13: plain = shownText(1044, "A value is not of the kind needed here.", {}); break;
    case 94: plain = shownText(1048, "A value needed here is empty in the database.", {}); break;
    case 7: plain = shownText(1047, "There was not enough memory to finish this step.", {}); break;
    default: plain = shownText(1045, "An unexpected error stopped this step.", {}); break;
    }
    return withDetail(plain, shownText(1046, "Error number %1", {std::to_string(e.number())}));
}

}  // namespace

std::string connectionLostText() {
    return shownText(1070, "The connection to the database was lost.", {});
}

std::string lostConnectionText(const std::string& plain, const std::string& reason) {
    return withDetail(plain, reason);
}

std::string databaseErrorText(const std::string& detail) {
    return withDetail(shownText(1040, "The database could not carry out this step.", {}), detail);
}

std::string errorText(const std::exception& e) {
    if (const auto* db = dynamic_cast<const db::DbError*>(&e)) return databaseText(*db);
    if (const auto* vb = dynamic_cast<const VbError*>(&e)) return runtimeText(*vb);
    if (dynamic_cast<const std::bad_alloc*>(&e))
        return shownText(1047, "There was not enough memory to finish this step.", {});
    return withDetail(shownText(1045, "An unexpected error stopped this step.", {}), e.what());
}

}  // namespace tolvenk::platform
