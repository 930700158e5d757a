#include "data/MealStore.h"

#include "platform/db/Connection.h"

namespace tolvenk::Meal_Store {

std::shared_ptr<db::Recordset> Card_Types(db::Connection& conn) {
    return conn.openRecordset("Select C_Name,C_LeiBie From Card_Type ");
}

}  // namespace tolvenk::Meal_Store
