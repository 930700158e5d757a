#pragma once
// The ID grant of one batch: its rows credited straight to the employees' ID
// cards, a few hundred employees to a transaction, each whole or not at all.
// The grant takes the prepared rows, the re-grant the rows that waited for a
// usable card.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/DataList.h"

namespace tolvenk {

class BTService;
class Write_Batch;
namespace db {
class Connection;
}

namespace ID_Grant {

struct Batch {
    std::int32_t year = 0;
    std::int32_t month = 0;
    std::string times;  // the n-th subsidy
    bool regrant = false;
    std::int32_t operatorId = 0;
};

// Why a batch is not granted: no row waits for a card (re-grant), no row is
// prepared (grant), or it is no ID batch.
enum class Refusal { None, No_Waiting_Rows, Nothing_Prepared, Not_An_ID_Batch };

// Credited, without a usable card, failed (left as they were, for a later
// run), taken meanwhile by another grant of the batch; whether the progress
// stopped the run. A run whose connection was lost stops there: the rows of
// its open batch went back with it, and `lost` holds the engine's reason.
struct Counts {
    int total = 0;  // the rows the run takes
    int credited = 0;
    int withoutCard = 0;
    int failed = 0;
    int meanwhile = 0;
    bool stopped = false;
    bool connectionLost = false;
    std::string lost;
};

// Rows walked and their count after a row, told where the run holds no lock
// (after each row, or each batch when yields are rarer); false stops the run
// after the row in hand.
using Progress = std::function<bool(std::int64_t done, std::int64_t total)>;

class Run {
public:
    // Reads the batch: its kind and booking from the first row, and the rows
    // to walk.
    Run(BTService& bt, const Batch& batch);
    Refusal refusal() const { return refusal_; }
    int total() const { return rows_.rowUBound(); }
    // Grants the rows still in the state the run takes; errors of one row
    // are counted, not passed, but a lost connection ends the run. Each row
    // is stamped with the database's time.
    Counts grant(const Progress& progress);

private:
    struct Cols {
        int id, pinfo, state;
    };
    void grantRow(Write_Batch& batch, db::Connection& reads, int r, const Cols& cols, Counts& counts);
    void grantSet(Write_Batch& batch, db::Connection& reads, const std::vector<int>& set, const Cols& cols,
                  Counts& counts);

    BTService& bt_;
    Batch batch_;
    Refusal refusal_ = Refusal::None;
    DataList rows_;
    std::int16_t kind_ = 0;
    std::int16_t xfType_ = 0;
};

}  // namespace ID_Grant

}  // namespace tolvenk
