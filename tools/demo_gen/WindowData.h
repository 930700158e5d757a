#pragma once
// The rows beyond the card transactions that the module's windows read: a
// few employees on ID cards with their purses and transactions (meal orders
// among them), subsidy batches in every state, card operations of every kind,
// the meal-ordering tables and a settled past. Written after the
// transactions, from what their simulation recorded, so both tell one story.
#include <string>
#include <vector>

#include "demo_gen/Calendar.h"
#include "platform/db/Value.h"

namespace tolvenk::demo::gen {

// Where rows go: statements with parameters, on a file or a server.
class Sink {
public:
    virtual ~Sink() = default;
    virtual void execute(const std::string& sql, const std::vector<db::Value>& params = {}) = 0;
};

struct Terminal {
    int id;          // Mach_ID
    std::string no;  // Mach_No
    int place, owner;
};

struct Facts {
    unsigned seed = 1;
    bool dirty = false;  // with a real site's dirt
    i64 firstDay = 0, lastDay = 0;  // day numbers of the period
    i64 until = 0;  // the last second a row may carry: the moment of the run when the period ends today
    struct Employee {
        i64 deptId = 0;
        std::string deptNo;
        int leiBie = 1;
        bool left = false;
        i64 leftAt = -1;  // when the card was returned
        i64 monthlySubsidy = -1;  // fen, -1 none
        bool timesPurse = false;
        int subsidyTerminal = 0;  // index into Facts::subsidyTerminals
    };
    std::vector<Employee> employees;  // Pinfo_ID = index + 1
    // A subsidy taken at a subsidy terminal, as the transactions hold it.
    struct Taken {
        int person;  // index into employees
        int month;   // index into months
        i64 time;
        int machId;
        i64 amount, balanceAfter, serial;
    };
    std::vector<Taken> subsidiesTaken;
    struct Month {
        int year, month;
    };
    std::vector<Month> months;  // of the period, in order; subsidies count them from 0
    long cardsIssued = 0;       // Card_Number of the next card is this + 1
    std::vector<Terminal> canteens, subsidyTerminals;
    Terminal desk;
    int deskOperator = 1;
};

// The subsidy terminal (index into Facts::subsidyTerminals) of an employee:
// fixed by the employee, so the terminal that pays him is the one assigned.
inline int subsidyTerminalOf(int person) { return person % 5 < 3 ? 0 : 1; }

// The first day after the settled past, or -1 for a period too short to
// have one: the settlement date then stays at the period's first day.
i64 settledUntil(i64 firstDay, i64 lastDay);

// Writes the rows; the transactions and the card tables are already there.
// Returns how many employees hold ID cards.
long writeWindowData(const Facts& facts, Sink& out);

}  // namespace tolvenk::demo::gen
