#pragma once
#include "platform/Error.h"
#include "platform/ShownText.h"

namespace tolvenk::db {

// Any failure of the database layer, carrying the provider's own message.
class DbError : public VbError {
public:
    explicit DbError(const std::string& text, int number = 3146) : VbError(number, text) {}

    // A failure already told in a clerk's words (a read-only file, a lost
    // file, an amount too large): shown as it is, with no engine detail, in
    // the language loaded when it is shown.
    static DbError told(platform::NumberedText text, int number) {
        DbError e(text.shown(), number);
        e.told_ = std::move(text);
        return e;
    }
    bool told() const { return !told_.empty(); }
    // Its words in the language loaded now.
    std::string toldText() const { return told_.shown(); }

    // A statement named a table the database does not hold (3078): its name,
    // so that a window can say which, not show the statement.
    static DbError missingTable(const std::string& text, const std::string& table) {
        DbError e(text, 3078);
        e.table_ = table;
        return e;
    }
    const std::string& missingTable() const { return table_; }

    // The session with the database ended under the statement (the server
    // went down or ended it) or a new one could not be had: nothing more can
    // run on it, and a run that meets this stops rather than fail row by row.
    static DbError lostConnection(const std::string& text, int number = 3146) {
        DbError e(text, number);
        e.lost_ = true;
        return e;
    }
    bool connectionLost() const { return lost_; }

private:
    std::string table_;
    platform::NumberedText told_;
    bool lost_ = false;
};

// Whether `e` is a database error of a session that was lost.
inline bool connectionLost(const std::exception& e) {
    const auto* db = dynamic_cast<const DbError*>(&e);
    return db && db->connectionLost();
}

// Runs `look`, a read its caller can do without: false when it failed, a lost
// connection passed on (the run cannot go on then).
template <class Look>
bool triedUnlessLost(Look&& look) {
    try {
        look();
        return true;
    } catch (const std::exception& e) {
        if (connectionLost(e)) throw;
        return false;
    }
}

}  // namespace tolvenk::db
