#include <charconv>
#include <chrono>
#include <cstdio>
#include <exception>
#include <limits>
#include <string>
#include <string_view>

#include "demo_gen/DemoGenerator.h"

namespace {

const char* const kUsage =
    "usage: tolvenk-demo-gen <business.mdb> | --server <text>  [--config <config.mdb>] [--transactions N]\n"
    "                        [--employees N] [--seed S] [--from yyyy-MM-dd] [--until yyyy-MM-dd]\n"
    "                        [--transactions-only] [--dirty]\n"
    "Writes a new business database with demo data and, with --config, the\n"
    "configuration database that points at it. Existing files are never overwritten.\n"
    "The transactions end today at the moment of the run (nothing is written later),\n"
    "or on the --until day (which keeps a file the same from day to day), and start\n"
    "on the first of the month eleven months before,\n"
    "or on the --from day. Besides them it writes what every window reads (ID cards,\n"
    "subsidy batches, meal ordering, a settled past); --transactions-only leaves that out.\n"
    "--dirty adds what a real site's database holds: terminal rows uploaded twice, two\n"
    "cards of one employee whose numbers differ only in case, rows in the same second\n"
    "as the card's row before, card-log fees left NULL, negative subsidies, an employee\n"
    "without a card, a department without employees and a card without transactions\n"
    "(the same seed, the same dirt).\n"
    "--server writes the business database to a PostgreSQL server instead, named by\n"
    "the module's own server text, e.g.\n"
    "  \"Provider=SQLOLEDB.1;Password=pw;Persist Security Info=True;User ID=card;\n"
    "   Initial Catalog=TAM08;Data Source=dbhost,5432\"\n"
    "The database is created when missing and must hold no tables.\n";

int usageError(const std::string& message) {
    std::fprintf(stderr, "tolvenk-demo-gen: %s\n%s", message.c_str(), kUsage);
    return 2;
}

template <class T>
bool parseWhole(std::string_view text, T& out) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
    return ec == std::errc() && end == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
    tolvenk::demo::Options options;
    options.everyWindow = true;
    bool haveBusiness = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (arg == "--transactions-only") {
            options.everyWindow = false;
            continue;
        }
        if (arg == "--dirty") {
            options.dirty = true;
            continue;
        }
        if (arg.starts_with("--")) {
            if (i + 1 >= argc) return usageError(std::string(arg) + " needs a value");
            const std::string_view value = argv[++i];
            if (arg == "--config") {
                options.configPath = value;
            } else if (arg == "--server") {
                options.server = value;
            } else if (arg == "--transactions") {
                if (!parseWhole(value, options.transactions) || options.transactions < 0)
                    return usageError("--transactions needs a whole number of at least 0, not '" + std::string(value) + "'");
            } else if (arg == "--employees") {
                if (!parseWhole(value, options.employees) || options.employees < 1 || options.employees > 9999)
                    return usageError("--employees needs a whole number from 1 to 9999, not '" + std::string(value) + "'");
            } else if (arg == "--seed") {
                if (!parseWhole(value, options.seed))
                    return usageError("--seed needs a whole number from 0 to " +
                                      std::to_string(std::numeric_limits<unsigned>::max()) + ", not '" +
                                      std::string(value) + "'");
            } else if (arg == "--from") {
                options.firstDay = value;
            } else if (arg == "--until") {
                options.lastDay = value;
            } else {
                return usageError("unknown option " + std::string(arg));
            }
        } else if (!haveBusiness) {
            options.businessPath = arg;
            haveBusiness = true;
        } else {
            return usageError("only one business database can be written, '" + std::string(arg) + "' is one too many");
        }
    }
    if (!haveBusiness && options.server.empty()) return usageError("the business database file is missing");
    if (haveBusiness && !options.server.empty())
        return usageError("give either a business database file or --server, not both");

    try {
        const auto started = std::chrono::steady_clock::now();
        const tolvenk::demo::Summary s = tolvenk::demo::generate(options);
        const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();

        std::printf("Business database:      %s\n", s.businessPath.c_str());
        std::printf("  period                %s .. %s (seed %u)\n", s.firstDay.c_str(), s.lastDay.c_str(), options.seed);
        std::printf("  departments           %ld\n", s.departments);
        std::printf("  positions             %ld\n", s.positions);
        std::printf("  employees             %ld (%ld left during the period)\n", s.employees, s.employeesLeft);
        std::printf("  card kinds            %ld\n", s.cardKinds);
        std::printf("  cards                 %ld in use, %ld issued\n", s.cards, s.cardsIssued);
        std::printf("  card log rows         %ld\n", s.cardLogRows);
        std::printf("  terminals             %ld at %ld places of %ld owners\n", s.terminals, s.places, s.owners);
        std::printf("  cashiers, operators   %ld, %ld\n", s.cashiers, s.operators);
        std::printf("  transactions          %ld\n", s.transactions);
        if (s.idHolders > 0) std::printf("  on ID cards           %ld employees more\n", s.idHolders);
        if (options.dirty)
            std::printf("  dirt                  %ld rows uploaded twice, %ld in the same second, %ld negative "
                        "subsidies, %ld card-log rows with a NULL fee\n",
                        s.dirt.duplicates, s.dirt.sameSecond, s.dirt.negativeSubsidies, s.dirt.nullFeeRows);
        if (!s.configPath.empty()) std::printf("Configuration database: %s\n", s.configPath.c_str());
        const double rate = s.transactionSeconds > 0 ? static_cast<double>(s.transactions) / s.transactionSeconds : 0;
        std::printf("Wrote %ld transactions in %.2f s (%.0f per second); %.2f s in all\n", s.transactions,
                    s.transactionSeconds, rate, total);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tolvenk-demo-gen: %s\n", e.what());
        return 1;
    }
}
