#include "data/BalanceQuery.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <exception>
#include <limits>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

#include "data/IcCorrection.h"
#include "data/TableColumns.h"
#include "platform/FenMath.h"
#include "platform/VbNumber.h"
#include "platform/db/DbError.h"
#include "platform/db/ReadPieces.h"
#include "platform/db/Recordset.h"
#include "platform/db/SqlText.h"

namespace tolvenk::Balance_Query {

namespace {

// The employees of the choice, each handed to `row` with a Row holding his
// names; stops when the sink says so, or at a lost connection.
template <class Fill>
Result eachEmployee(const DataList& emps, const Row_Sink& sink, Fill&& fill) {
    Result result;
    const int n = emps.rowUBound();
    if (n < 1) return result;
    const int cPerson = emps.col("PInfo_id"), cName = emps.col("P_Name"), cCode = emps.col("P_Code"),
              cDept = emps.col("Dept_Name");
    for (int i = 1; i <= n; ++i) {
        Row row;
        row.name = emps(i, cName);
        row.code = emps(i, cCode);
        row.dept = emps(i, cDept);
        try {
            fill(vbCLng(vbVal(emps(i, cPerson))), row, result);
        } catch (const db::DbError& e) {
            // The employee in hand is not listed; those before him stand.
            if (!e.connectionLost()) throw;
            result.connectionLost = true;
            result.lost = e.what();
            result.listed = i - 1;
            result.employees = n;
            break;
        }
        if (row.counted) result.total.add(row.balance);
        if (sink && !sink(row, i, n)) {
            result.stopped = true;
            break;
        }
    }
    return result;
}

// A choice of most of the company has its ID sums grouped for every
// employee: reading all rows in time order costs less than walking the index
// for each of them.
bool mostOfTheCompany(XFService& XF, const std::vector<std::int64_t>& people) {
    return static_cast<std::int64_t>(people.size()) * 2 >= XF.Count_Employees();
}

// The employees of the choice, as their rows name them.
std::vector<std::int64_t> peopleOf(const DataList& emps) {
    std::vector<std::int64_t> people;
    if (emps.rowUBound() < 1) return people;
    const int cPerson = emps.col("PInfo_id");
    for (int i = 1; i <= emps.rowUBound(); ++i) people.push_back(vbCLng(vbVal(emps(i, cPerson))));
    return people;
}

// An employee's rows summed here, exactly: for a sum the engine cannot give
// as a whole 64-bit number.
void idRows(XFService& XF, std::int32_t person, const std::string& bound, Row& row) {
    for (auto rows = XF.Cha_YeE_ID_Rows(person, bound); !rows->eof(); rows->moveNext()) {
        row.counted = true;
        const std::string when = rows->field("Date_Time").toString();
        if (when > row.date) row.date = when;
        const auto fen = storedFen(rows->field("YuE_Change"));
        if (fen) row.balance.add(*fen);
        else row.balance.addUnknown();
    }
}

// The engine sums an employee's rows; a sum it cannot hold in 64 bits (an
// error on the file, a wider number on the server) is summed here instead,
// exactly, from the rows.
void idBalance(XFService& XF, std::int32_t person, const std::string& bound, Row& row) {
    row.found = true;
    try {
        auto sum = XF.Cha_YeE_ID_2(person, bound);
        if (sum->eof()) return;
        const db::Value& fen = sum->field("YuE_New");
        if (fen.isNull() || fen.isInteger()) {
            row.date = sum->field("Date_Time").toString();
            row.counted = !fen.isNull();
            if (row.counted) row.balance.add(fen.asInteger());
            return;
        }
    } catch (const db::DbError&) {
    }
    idRows(XF, person, bound, row);
}

// The engine's sums of the whole choice, by employee.
struct Id_Sums {
    struct Sum {
        db::Value fen;
        std::string date;
    };
    std::unordered_map<std::int64_t, Sum> sums;
    // Employees asked one by one: the file engine refuses a whole grouped
    // statement when one sum overflows.
    std::unordered_set<std::int64_t> alone;
};

// No partial sum of n amounts between lo and hi leaves 64 bits.
bool cannotOverflow(const db::Value& n, const db::Value& lo, const db::Value& hi) {
    if (n.isNull() || lo.isNull() || hi.isNull()) return true;
    if (!n.isInteger() || !lo.isInteger() || !hi.isInteger()) return false;
    const auto magnitude = [](std::int64_t v) {
        return v < 0 ? static_cast<std::uint64_t>(-(v + 1)) + 1 : static_cast<std::uint64_t>(v);
    };
    const std::uint64_t widest = std::max(magnitude(lo.asInteger()), magnitude(hi.asInteger()));
    const auto most = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    return n.asInteger() <= 0 || widest == 0 || static_cast<std::uint64_t>(n.asInteger()) <= most / widest;
}

Id_Sums idSums(XFService& XF, const std::vector<std::int64_t>& people, const std::string& bound) {
    Id_Sums s;
    if (people.empty()) return s;
    const auto take = [&](const std::vector<std::int64_t>& ids, bool everyone) {
        for (auto rs = XF.Cha_YeE_ID_All(ids, bound, everyone); !rs->eof(); rs->moveNext())
            s.sums[rs->field("Pinfo_id").toInt64()] = {rs->field("YuE_New"), rs->field("Date_Time").toString()};
    };
    try {
        take(people, mostOfTheCompany(XF, people));
        return s;
    } catch (const db::DbError&) {
    }
    s.sums.clear();
    std::vector<std::int64_t> together;
    for (auto rs = XF.Cha_YeE_ID_Spread(people, bound); !rs->eof(); rs->moveNext()) {
        const std::int64_t person = rs->field("Pinfo_id").toInt64();
        if (cannotOverflow(rs->field("N"), rs->field("Lo"), rs->field("Hi"))) together.push_back(person);
        else s.alone.insert(person);
    }
    if (together.empty()) return s;
    try {
        take(together, false);
    } catch (const db::DbError&) {  // rows written since the spread was read
        s.sums.clear();
        s.alone.insert(together.begin(), together.end());
    }
    return s;
}

// The correction rows the chosen employees' cards want, read ahead a piece
// of employees at a time on one session of its own. Read one by one, each
// employee's few short statements opened a session apiece and, on a file
// with a rollback journal, each waited for the terminals' commits to let it
// in; there a piece is now one read transaction, kept short (shorter still
// while others commit). Nothing is written here: each row is checked again
// under the write lock as it is written.
class Mends_Ahead {
public:
    Mends_Ahead(XFService& XF, std::vector<std::int64_t> people, std::string cutoff)
        : XF_(XF), people_(std::move(people)), cutoff_(std::move(cutoff)), read_(people_.size()) {}

    // The rows the n-th employee's cards want (from 0, in the order given);
    // what failed reading them passes from here, at him.
    const std::vector<IC_Correction::Mend>& of(std::size_t n) {
        if (n >= readUpTo_) readFrom(n);
        if (read_[n].error) std::rethrow_exception(std::exchange(read_[n].error, nullptr));
        return read_[n].mends;
    }

private:
    using Clock = std::chrono::steady_clock;
    // As long as a piece of a long read (db::ReadPieces).
    static constexpr std::chrono::milliseconds kPiece = db::ReadPieces::kAim,
                                               kPieceBesideWriters = kPiece / db::ReadPieces::kBesideWriters;

    void readFrom(std::size_t n) {
        constexpr std::size_t kNobody = static_cast<std::size_t>(-1);
        std::size_t reading = n;
        const auto start = Clock::now();
        try {
            // A session the server ended while it sat between two pieces
            // is opened anew, as each read on a session of its own would be.
            if (!session_) session_ = XF_.Open_Session();
            else session_->reopenIfLost();
            db::Connection& con = *session_;
            const bool together = con.readsKeepWritersOut();
            const auto piece = together && con.giveWayToWriters(last_) ? Clock::duration(kPieceBesideWriters)
                                                                        : Clock::duration(kPiece);
            if (together) con.beginTrans();
            do {
                readEmployee(con, reading);
                readUpTo_ = ++reading;
            } while (reading < people_.size() && Clock::now() - start < piece);
            reading = kNobody;
            if (together) con.commitTrans();
        } catch (...) {
            // Only reads: a transaction left open goes with its session.
            session_.reset();
            if (reading != kNobody) {
                read_[reading] = {{}, std::current_exception()};
                readUpTo_ = reading + 1;
            }
        }
        last_ = Clock::now() - start;
    }

    void readEmployee(db::Connection& con, std::size_t i) {
        auto& mends = read_[i].mends;
        for (auto cards = XFService::Cha_KaNo(con, static_cast<std::int32_t>(people_[i])); !cards->eof();
             cards->moveNext()) {
            auto more = IC_Correction::Mends_Wanted(con, static_cast<std::int32_t>(cards->field("Pinfo_Id").toInt64()),
                                                    cards->field("Card_No").toString(), cutoff_);
            mends.insert(mends.end(), std::make_move_iterator(more.begin()), std::make_move_iterator(more.end()));
        }
    }

    struct Employee {
        std::vector<IC_Correction::Mend> mends;
        std::exception_ptr error;
    };
    XFService& XF_;
    const std::vector<std::int64_t> people_;
    const std::string cutoff_;
    std::vector<Employee> read_;
    std::size_t readUpTo_ = 0;
    std::shared_ptr<db::Connection> session_;
    Clock::duration last_{};
};

}  // namespace

std::string Correction_Cutoff(BTService& BT) {
    const DataList terminal = BT.Cha_Time();
    return terminal.rowUBound() >= 1 ? terminal(1, terminal.col(col::Mach_Info::New_Date)) : std::string();
}

Result IC_Balances(XFService& XF, BTService& BT, const Who& who, const std::string& day,
                   const std::optional<std::string>& correctionCutoff, const Row_Sink& sink) {
    const std::string bound = day + " 24:00:00";
    const DataList emps = BT.Get_Emp_Check_All(who.deptNo, who.name, who.code, "");
    // Each one's last record: of several at his last time, the one written
    // last, as his own statement met them, backwards along the index.
    struct Last {
        std::string date, times;
        db::Value balance;
    };
    std::unordered_map<std::int64_t, Last> lasts;
    if (const auto people = peopleOf(emps); !people.empty())
        for (auto rs = XF.Cha_YeE_All(people, bound); !rs->eof(); rs->moveNext())
            lasts[rs->field("Pinfo_id").toInt64()] = {rs->field("Date_Time").toString(),
                                                      rs->field("YuCi_New").toString(), rs->field("YuE_New")};
    std::optional<Mends_Ahead> toMend;
    if (correctionCutoff) toMend.emplace(XF, peopleOf(emps), *correctionCutoff);
    std::size_t at = 0;
    return eachEmployee(emps, sink, [&](std::int32_t person, Row& row, Result& result) {
        const std::size_t n = at++;
        if (const auto last = lasts.find(person); last != lasts.end()) {
            row.found = row.counted = true;
            row.date = last->second.date;
            // As stored; one that is no whole number of fen makes it and the total inexact.
            const auto balance = storedFen(last->second.balance);
            if (balance) row.balance.add(*balance);
            else row.balance.addUnknown();
            row.times = last->second.times;
        }
        if (!toMend) return;
        result.failedCorrections += IC_Correction::Write_Mends(BT, toMend->of(n), result.firstError);
    });
}

Result ID_Balances(XFService& XF, BTService& BT, const Who& who, const std::string& day, const Row_Sink& sink) {
    // "Z" sorts after every time of the day, so the whole day counts.
    const std::string bound = day + "Z";
    const DataList emps = BT.Get_Emp_Check_All_ID(who.deptNo, who.name, who.code, "");
    const Id_Sums sums = idSums(XF, peopleOf(emps), bound);
    return eachEmployee(emps, sink, [&](std::int32_t person, Row& row, Result&) {
        if (sums.alone.count(person)) return idBalance(XF, person, bound, row);
        row.found = true;
        const auto sum = sums.sums.find(person);
        if (sum == sums.sums.end()) return;  // no row counted
        const db::Value& fen = sum->second.fen;
        if (!fen.isNull() && !fen.isInteger()) return idRows(XF, person, bound, row);
        row.date = sum->second.date;
        row.counted = !fen.isNull();
        if (row.counted) row.balance.add(fen.asInteger());
    });
}

}  // namespace tolvenk::Balance_Query
