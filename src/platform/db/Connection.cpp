#include "platform/db/Connection.h"

#include "platform/db/AsciiCase.h"
#include "platform/db/ConnectionString.h"
#include "platform/db/DbError.h"
#include "platform/db/PgProvider.h"
#include "platform/db/SqlTranslator.h"
#include "platform/db/SqliteProvider.h"

namespace tolvenk::db {

namespace {

// "select [top N] * from T [where ...|order ...]" on one table: the shape that
// can be updated. Splits it into the part before '*', the table and the rest.
bool splitSingleTableSelect(const std::string& sql, std::string& head, std::string& table, std::string& tail) {
    const std::vector<SqlToken> toks = tokenizeSql(sql);
    std::vector<std::size_t> idx;  // indices of non-space tokens
    for (std::size_t i = 0; i < toks.size(); ++i)
        if (toks[i].kind != SqlToken::Kind::Space) idx.push_back(i);
    std::size_t k = 0;
    auto word = [&](std::size_t at, const char* w) {
        return at < idx.size() && equalsNoCase(toks[idx[at]].text, w);
    };
    if (!word(k, "select")) return false;
    ++k;
    if (word(k, "top")) {
        if (k + 1 >= idx.size() || toks[idx[k + 1]].kind != SqlToken::Kind::Number) return false;
        k += 2;
    }
    if (!(k < idx.size() && toks[idx[k]].text == "*")) return false;
    const std::size_t star = idx[k++];
    if (!word(k, "from")) return false;
    ++k;
    if (k >= idx.size() || toks[idx[k]].kind != SqlToken::Kind::Word) return false;
    const std::size_t tableTok = idx[k++];
    if (k < idx.size() && !word(k, "where") && !word(k, "order") && toks[idx[k]].text != ";") return false;
    head.clear();
    for (std::size_t i = 0; i < star; ++i) head += toks[i].text;
    table = toks[tableTok].text;
    tail.clear();
    for (std::size_t i = tableTok + 1; i < toks.size(); ++i) tail += toks[i].text;
    return true;
}

std::function<void(const std::string&)>& observer() {
    static std::function<void(const std::string&)> f;
    return f;
}

void observe(const std::string& sql) {
    if (observer()) observer()(sql);
}

}  // namespace

void setStatementObserver(std::function<void(const std::string&)> f) { observer() = std::move(f); }

Connection::~Connection() = default;

std::shared_ptr<Provider> Connection::makeProvider(const std::string& connectionString) const {
    const ConnectionString cs(connectionString);
    std::shared_ptr<Provider> p;
    switch (cs.kind()) {
    case ConnectionString::Kind::FileDatabase: p = std::make_shared<SqliteProvider>(cs.filePath(), timeout_); break;
    case ConnectionString::Kind::Server: p = std::make_shared<PgProvider>(serverTarget(cs), timeout_); break;
    default: throw DbError("Provider cannot be found. It may not be properly installed.", 3706);
    }
    p->setCommandTimeout(timeout_);
    return p;
}

void Connection::open(const std::string& connectionString) {
    close();
    provider_ = makeProvider(connectionString);
    text_ = connectionString;
}

void Connection::close() {
    provider_.reset();
    begun_ = false;
}

bool Connection::reopenIfLost() {
    if (!provider_ || inTransaction() || begun_ || !provider_->lost()) return false;
    provider_ = makeProvider(text_);
    return true;
}

Provider& Connection::live() const {
    if (!provider_) throw DbError("Operation is not allowed when the object is closed.", 3704);
    return *provider_;
}

void Connection::setCommandTimeout(int seconds) {
    timeout_ = seconds;
    if (provider_) provider_->setCommandTimeout(seconds);
}

long long Connection::execute(const std::string& sql, const std::vector<Value>& params) {
    observe(sql);
    return live().execute(sql, params);
}

std::shared_ptr<Recordset> Connection::openRecordset(const std::string& sql) {
    observe(sql);
    Provider& p = live();
    std::string head, table, tail;
    QueryResult result;
    if (splitSingleTableSelect(sql, head, table, tail) && p.queryForUpdate(table, head, tail, result))
        return std::make_shared<Recordset>(provider_, std::move(result), table);
    return std::make_shared<Recordset>(provider_, p.query(sql, {}), std::string());
}

std::shared_ptr<Recordset> Connection::openLockedRecordset(const std::string& sql) {
    observe(sql);
    Provider& p = live();
    return std::make_shared<Recordset>(provider_, p.query(p.lockingRead(sql), {}), std::string());
}

std::unique_ptr<RowCursor> Connection::openCursor(const std::string& sql) {
    observe(sql);
    std::vector<std::string> columns;
    auto source = live().openCursor(sql, columns);
    return std::make_unique<RowCursor>(provider_, std::move(columns), std::move(source));
}

namespace {

// The pieces of a read one after another, each read to its end before the
// next is opened.
class PieceAfterPiece : public CursorSource {
public:
    PieceAfterPiece(std::shared_ptr<Provider> session, ReadPieces pieces,
                    std::function<std::string(const std::string&)> statement, std::unique_ptr<CursorSource> first,
                    Clock::duration opening)
        : session_(std::move(session)), pieces_(std::move(pieces)), statement_(std::move(statement)),
          piece_(std::move(first)), busy_(opening) {}
    void fetch(std::vector<std::vector<Value>>& rows, std::size_t most) override {
        for (auto since = Clock::now(); rows.size() < most && !pause(rows.size(), since);) {
            if (!piece_) {
                // A piece's opening is the engine's longest step: rows in
                // hand go first, so one fetch never takes two pieces' time.
                if (!rows.empty()) return;
                // Finding where the piece ends walks its rows too: a server
                // takes about as long over it as over the piece's statement.
                const auto start = Clock::now();
                const std::optional<std::string> next = pieces_.next();
                if (!next) return;
                const std::string sql = statement_(*next);
                observe(sql);
                std::vector<std::string> columns;
                piece_ = session_->openCursor(sql, columns, forPiece());
                if (forPiece()) piece_->setWaiting(waiting_);
                busy_ = Clock::now() - start;
            }
            // Into a batch of its own, where none is the piece's end.
            more_.clear();
            const auto start = Clock::now();
            piece_->fetch(more_, most - rows.size());
            busy_ += Clock::now() - start;
            if (more_.empty()) {
                piece_.reset();
                pieces_.took(busy_);
                busy_ = {};
            }
            for (auto& row : more_) rows.push_back(std::move(row));
        }
    }
    // A server's pieces are told it too: they let it in while the server
    // works on them. A file's piece works on the reader's own time, between
    // two of whose steps it is told.
    void setWaiting(std::function<bool()> waiting) override {
        waiting_ = waiting;
        if (piece_ && forPiece()) piece_->setWaiting(waiting);
        CursorSource::setWaiting(std::move(waiting));
    }

private:
    std::function<bool()> forPiece() const {
        return session_->waitsWhileWorking() ? waiting_ : std::function<bool()>();
    }
    std::function<bool()> waiting_;
    std::shared_ptr<Provider> session_;
    ReadPieces pieces_;
    std::function<std::string(const std::string&)> statement_;
    std::unique_ptr<CursorSource> piece_;
    std::vector<std::vector<Value>> more_;
    Clock::duration busy_{};  // the engine's time over the piece so far
};

}  // namespace

std::unique_ptr<RowCursor> Connection::openCursor(std::function<std::string(const std::string& piece)> statement,
                                                  const Pieces_Along& along) {
    const auto start = std::chrono::steady_clock::now();
    ReadPieces pieces = readPieces(along);
    if (!pieces.split()) return openCursor(statement(""));
    if (provider_->waitsWhileWorking()) pieces.restInOne();
    const std::optional<std::string> first = pieces.next();
    const std::string sql = statement(*first);
    observe(sql);
    std::vector<std::string> columns;
    auto source = provider_->openCursor(sql, columns);
    return std::make_unique<RowCursor>(
        provider_, std::move(columns),
        std::make_unique<PieceAfterPiece>(provider_, std::move(pieces), std::move(statement), std::move(source),
                                          std::chrono::steady_clock::now() - start));
}

ReadPieces Connection::readPieces(const Pieces_Along& along) const {
    live();
    return ReadPieces(provider_, along);
}

void Connection::executeScript(const std::string& sql) { live().executeScript(sql); }

void Connection::executeEach(const std::vector<std::string>& statements) {
    for (const std::string& sql : statements) observe(sql);
    live().executeEach(statements);
}

void Connection::beginTrans() {
    live().begin();
    begun_ = true;
}
void Connection::beginWriteTrans() {
    live().beginWrite();
    begun_ = true;
}
void Connection::lockRows(const std::string& table, const std::string& where) { live().lockRows(table, where); }
bool Connection::beginSnapshot() {
    begun_ = live().beginSnapshot();
    return begun_;
}
void Connection::commitTrans() {
    live().commit();
    begun_ = false;
}
void Connection::rollbackTrans() {
    begun_ = false;
    live().rollback();
}
bool Connection::onServer() const { return ConnectionString(text_).kind() == ConnectionString::Kind::Server; }
bool Connection::inTransaction() const { return provider_ && provider_->inTransaction(); }
void Connection::forgetTransaction() { begun_ = false; }
void Connection::savepoint(const std::string& name) { live().savepointControl("SAVEPOINT " + name); }
void Connection::releaseSavepoint(const std::string& name) { live().savepointControl("RELEASE SAVEPOINT " + name); }
void Connection::rollbackToSavepoint(const std::string& name) {
    live().savepointControl("ROLLBACK TO SAVEPOINT " + name);
}
void Connection::setBulkWrites(bool on) { live().setBulkWrites(on); }
bool Connection::othersWaitToWrite() { return provider_ && provider_->othersWaitToWrite(); }
bool Connection::othersWrote() { return provider_ && provider_->othersWrote(); }
bool Connection::readsKeepWritersOut() { return provider_ && provider_->readsKeepWritersOut(); }
bool Connection::giveWayToWriters(std::chrono::steady_clock::duration most) {
    return provider_ && provider_->giveWayToWriters(most);
}
void Connection::setSharedWrites(bool on) {
    if (provider_) provider_->setSharedWrites(on);
}
void Connection::copyBack() {
    if (provider_) provider_->copyBack();
}
void Connection::copyBackAll(const std::function<void()>& alive) {
    if (provider_) provider_->copyBackAll(alive);
}
bool Connection::tryHoldLock(const std::string& name) { return live().tryHoldLock(name); }
void Connection::releaseLock(const std::string& name) { live().releaseLock(name); }
bool Connection::lockHeldElsewhere(const std::string& name) { return live().lockHeldElsewhere(name); }

void Connection::createFileDatabase(const std::string& path) { SqliteProvider::createFile(path); }

ReadSnapshot::ReadSnapshot(const Connection& like) {
    con_.setCommandTimeout(like.commandTimeout());
    con_.open(like.connectionString());
    held_ = con_.beginSnapshot();
}

ReadSnapshot::~ReadSnapshot() {
    // Nothing was written: ending it is letting it go. A session that broke
    // meanwhile has nothing left to end.
    if (held_ && con_.inTransaction()) {
        try {
            con_.rollbackTrans();
        } catch (const std::exception&) {
        }
    }
}

std::string Connection::fileConnectionString(const std::string& path) {
    return "PROVIDER=Microsoft.Jet.OLEDB.4.0;Data Source=" + ConnectionString::quoted(path) + ";";
}

}  // namespace tolvenk::db
