#pragma once
// What the meal-ordering windows read on the main connection themselves.
#include <memory>

namespace tolvenk {

namespace db {
class Connection;
class Recordset;
}  // namespace db

namespace Meal_Store {

// C_Name, C_LeiBie of every card type, deleted ones too, in the database's order.
std::shared_ptr<db::Recordset> Card_Types(db::Connection& conn);

}  // namespace Meal_Store

}  // namespace tolvenk
