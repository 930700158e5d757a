#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/grid/CellText.h"
#include "platform/grid/PageWriter.h"

namespace tolvenk::grid {

// A cell as the grid keeps it: its text and the number of its look.
struct StoredCell {
    CellText text;
    std::uint16_t look = 0;
};

// The grid's cells, rows after rows, held a page of rows at a time. While
// the pages fit the memory budget they all stay in memory; beyond it the
// least recently used go to a temporary file of the process (unlinked at
// once, so it goes with the process whatever happens) and come back when a
// cell of theirs is read or written. A grid of millions of rows so keeps a
// few hundred pages in memory, and one that fits keeps everything there as
// before. When the file cannot be written (a full disk) pages simply stay
// in memory.
class RowStore {
public:
    static constexpr int kPageRows = 1024;
    static constexpr std::size_t kDefaultBudget = std::size_t{64} << 20;

    RowStore() = default;
    ~RowStore();
    // A copy holds its own pages (and file, when they outgrow the budget).
    RowStore(const RowStore& o);
    RowStore(RowStore&& o) noexcept;
    RowStore& operator=(RowStore o) noexcept;

    int rows() const { return rows_; }
    int cols() const { return cols_; }
    // New rows are empty; fewer rows drop theirs.
    void resize(int rows);
    void setCols(int cols);
    // Removes a row; those below move up.
    void erase(int r);
    // No rows left and the memory and file of the last ones given back.
    void clear();

    // A cell to read; the reference holds until the store is next used.
    const StoredCell& at(int r, int c) const;
    // A cell to change.
    StoredCell& change(int r, int c);
    // A row's cells (cols() of them) to read in passing, without taking a
    // page back into memory for it; valid until the store is next used.
    const StoredCell* peekRow(int r) const;

    // Bytes of cells kept in memory before pages go to the file.
    void setBudget(std::size_t bytes);
    // Pages in memory, and pages whose only copy is in the file (for tests).
    int pagesInMemory() const;
    int pagesInFile() const;

private:
    struct Page {
        std::vector<StoredCell> cells;  // in memory: rows of this page times cols
        bool inMemory = true;
        bool dirty = true;               // no copy in the file, or an older one
        std::uint64_t offset = 0;        // its copy in the file
        std::uint32_t size = 0;
        std::uint64_t used = 0;          // when last used, for choosing which goes
    };
    int pageRows(std::size_t p) const;
    Page& load(std::size_t p) const;
    // Sends pages to the file until the cells in memory fit the budget; the
    // pinned pages stay.
    void fit(std::size_t pinnedA, std::size_t pinnedB = SIZE_MAX) const;
    bool evict(std::size_t p) const;
    void encode(const Page& page, std::string& out) const;
    void decode(const std::string& in, std::vector<StoredCell>& out) const;
    void readCopy(const Page& page, std::string& into) const;
    bool writeCopy(Page& page) const;
    void closeFile() const;
    void swap(RowStore& o) noexcept;

    int rows_ = 0, cols_ = 0;
    std::size_t budgetCells_ = kDefaultBudget / sizeof(StoredCell);
    mutable std::vector<Page> pages_;
    mutable std::vector<std::size_t> inMemory_;  // the pages in memory, in no order
    mutable std::size_t cellsInMemory_ = 0;
    mutable std::uint64_t clock_ = 0;
    mutable int fd_ = -1;
    mutable std::uint64_t fileEnd_ = 0;
    mutable std::unique_ptr<Page_Writer> writer_;  // writes the file, as long as it is open
    mutable bool fileBroken_ = false;
    mutable std::string buffer_;
    // A page read in passing by peekRow, while nothing has changed.
    mutable std::vector<StoredCell> peeked_;
    mutable std::size_t peekedPage_ = SIZE_MAX;
    mutable std::uint64_t peekedAt_ = 0;
    std::uint64_t changes_ = 0;
};

}  // namespace tolvenk::grid
