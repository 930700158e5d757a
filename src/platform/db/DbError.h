#pragma once
#include "platform/Error.h"

namespace tolvenk::db {

// Any failure of the database layer, carrying the provider's own message.
class DbError : public VbError {
public:
    explicit DbError(const std::string& text, int number = 3146) : VbError(number, text) {}
};

}  // namespace tolvenk::db
