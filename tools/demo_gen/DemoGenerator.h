#pragma once
#include <string>

namespace tolvenk::demo {

struct Options {
    std::string businessPath;  // new file, e.g. demo/TAM08.mdb (the module appends ".mdb" itself)
    std::string configPath;    // new file, e.g. demo/Config.mdb; empty = none
    // Instead of a file: the module's server text (Provider=SQLOLEDB.1;...) of a
    // database to fill; it is created when missing and must hold no tables.
    std::string server;
    long transactions = 200000;
    int employees = 300;  // 1..9999: codes are E0001..E9999
    unsigned seed = 1;
    // Inclusive period of the transactions, "yyyy-MM-dd". Without a last day
    // the period ends today; without a first day it starts on the first of
    // the month eleven months before the last day's. Tests and benchmarks
    // name both, so that their data does not depend on the day they run.
    std::string firstDay;
    std::string lastDay;
    // The moment of the run, "yyyy-MM-dd hh:mm:ss"; empty: the computer's
    // clock. A period that ends on its day ends at it: no row is later.
    std::string now;
    // Also the rows every window reads beyond the transactions: ID card
    // holders with their purses, transactions and meal orders, subsidy
    // batches in every state, card operations of every kind, the meal-
    // ordering tables and, for a period of five months or more, a settled past.
    bool everyWindow = false;
    // Also what a real site's database holds beside clean rows: terminal rows
    // uploaded twice, two cards of one employee whose numbers differ only in
    // case, rows in the same second as the card's or the employee's row
    // before, card-log fees left NULL, negative subsidies, an employee
    // without a card, a department without employees and a card without
    // transactions. The same seed gives the same dirt; without it the rows
    // are those of a clean run.
    bool dirty = false;
};

// What the dirt of a dirty run added or changed.
struct Dirt {
    long duplicates = 0;         // Record_XF rows uploaded a second time
    long sameSecond = 0;         // rows in the same second as the card's or employee's row before
    long negativeSubsidies = 0;  // XF_Type 11 rows that take money off the card
    long nullFeeRows = 0;        // Card_Log rows with a fee column NULL
};

struct Summary {
    std::string businessPath;  // absolute; on a server "<catalog> on server <data source>"
    std::string configPath;    // absolute, empty when none was written
    std::string firstDay;
    std::string lastDay;
    long departments = 0;
    long positions = 0;
    long employees = 0;  // with a card or not
    long employeesLeft = 0;  // Del_YN 1, card returned during the period
    long cardKinds = 0;
    long cards = 0;        // Card_Info rows: one per employee with a card, two for the dirt's twin cards
    long cardsIssued = 0;  // issue rows of Card_Log, replaced cards included
    long cardLogRows = 0;
    long terminals = 0;
    long places = 0;
    long owners = 0;
    long cashiers = 0;
    long operators = 0;
    long transactions = 0;  // Record_XF rows of the card simulation, the dirt's included
    long idHolders = 0;  // employees on ID cards, with everyWindow
    double transactionSeconds = 0;  // building and inserting Record_XF, commit included
    Dirt dirt;
};

// Writes the demo databases. Throws std::invalid_argument for unusable
// options, std::runtime_error when an output file already exists or the
// server database already holds tables, and db::DbError when the database
// layer fails; nothing is left behind then.
Summary generate(const Options& options);

}  // namespace tolvenk::demo
