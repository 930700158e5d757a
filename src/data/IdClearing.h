#pragma once
// The ID balance clearing of a click: each chosen card voided and set to 0,
// whole or not at all, in sets of cards, a few hundred cards to a
// transaction, and the click logged.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "data/CardService.h"

namespace tolvenk::ID_Clearing {

using Card = CardService::QL_Card;

struct Result {
    std::int64_t cleared = 0;  // cards whose balance was voided
    std::int64_t voided = 0;   // the voids' sum, fen (minus the balances taken)
    int zero = 0;              // cards already at 0
    int failed = 0;            // cards left as they were
    std::string logError;      // why the log row of a click that took no card failed
    std::string lost;          // why the connection was lost, which ended the click there
};

// Told each card's outcome, by its place in the list.
using Card_Done = std::function<void(std::size_t index, const CardService::QL_Result& outcome)>;

// Clears the cards in order, each from its balance as the database holds it
// then, under the lock its void is written under; a card that fails keeps
// its balance. Each outcome is told once it is committed (a failure at
// once). A click that took no card is logged as "0,0"; one that took
// cards was logged with them, those already at 0 counted too.
Result Clear(CardService& service, const std::vector<Card>& cards, std::int32_t operatorId, const std::string& time,
             const Card_Done& done);

}  // namespace tolvenk::ID_Clearing
