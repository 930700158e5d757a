#pragma once
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "reports/summary/HzReportState.h"

namespace tolvenk {

namespace db {
class Connection;
class Recordset;
}

// The figures of one summary run, read with one grouped statement over the
// report's period (one more for the card-log fees): every Record_XF total by
// period, both grouping keys, kind, and meal and validity where the report
// tells them apart. Each group total and each row then adds up the groups its
// conditions select, in memory, giving what the statement per cell would have
// given.
class HzFigures {
public:
    struct Totals {
        std::int64_t rows = 0, money = 0, moneyCnt = 0, times = 0, timesCnt = 0;
    };
    struct Fee_Totals {
        std::int64_t rows = 0, sum = 0, nulls = 0;  // nulls: rows whose fee column is empty
        std::int64_t otherNulls = 0;                 // empty in the other columns the level pass reads
    };

    // Whether a run of this report can be answered this way: every grouping
    // the run meets has a key, and the card-log fees group only by what the
    // card log has (a terminal or place there is the run's own error, which
    // the statements per cell report as they always have).
    static bool Eligible(const HzReportState& st, bool fees);

    HzFigures(db::Connection& conn, const HzReportState& st, bool fees);

    // The groups every selection matches.
    using Lines = std::vector<std::size_t>;
    Lines Select(const std::vector<const Group_Match*>& sel) const;
    Lines Select_Fees(const std::vector<const Group_Match*>& sel) const;
    // Their totals of the kinds (any when empty), the meal (0 any), the valid
    // records only or all.
    Totals Sum(const Lines& lines, const std::vector<int>& kinds, int meal, bool validOnly) const;
    // Fee totals of one card operation: column 0 FaKa_GBF, 1 Huan_GBF, 2 Tui_GBF.
    Fee_Totals Fees(const Lines& lines, int op, int column, bool issueWalk) const;
    bool Has_People() const { return people_; }

private:
    struct Key {
        bool null = true;
        std::string text;
        bool numeric = false;
        double number = 0;
    };
    struct Line {
        std::string period;
        std::size_t key1, key2;  // into keys_[0], keys_[1]
        bool typed, mealed, valid;
        int type;
        double meal;
        std::int64_t rows, money, moneyCnt, times, timesCnt;
    };
    struct Fee_Line {
        std::string period;
        std::size_t key1, key2;
        int op;
        std::int64_t rows, sum[3], cnt[3];
    };

    std::size_t keyIndex(int which, const Key& k);
    // The key of level `which` (0, 1) in the record's column `name`.
    std::size_t Key_Of(int which, const db::Recordset& rs, const char* name);
    void Read_Fees(db::Recordset& rs);
    static bool keyOk(const Group_Match& m, const Key& k);
    using Period_Index = std::map<std::string, std::vector<std::size_t>>;
    template <class L>
    Lines select(const std::vector<L>& lines, const Period_Index& index,
                 const std::vector<const Group_Match*>& sel) const;

    int dim1_, dim2_;
    std::vector<Key> keys_[2];
    std::map<std::string, std::size_t> keyIds_[2];
    std::vector<Line> lines_;
    std::vector<Fee_Line> fees_;
    Period_Index linesByPeriod_, feesByPeriod_;
    bool people_ = false;
};

}  // namespace tolvenk
