#include "platform/grid/RowStore.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iterator>

#include "platform/Error.h"

namespace tolvenk::grid {

namespace {

// A cell in the file: a byte saying what follows, its look when it has one,
// then its number or its text.
enum : std::uint8_t { kEmpty = 0, kText = 1, kWholeUp = 2, kWholeDown = 3, kTime = 4, kHasLook = 8 };

void putNumber(std::string& out, std::uint64_t v) {
    while (v >= 0x80) {
        out += static_cast<char>(static_cast<std::uint8_t>(v) | 0x80);
        v >>= 7;
    }
    out += static_cast<char>(v);
}

[[noreturn]] void damaged() { throw VbError(57, "Device I/O error: the grid's rows could not be read back"); }

std::uint64_t getNumber(const char*& p, const char* end) {
    std::uint64_t v = 0;
    for (int shift = 0; p < end && shift < 64; shift += 7) {
        const auto b = static_cast<std::uint8_t>(*p++);
        v |= static_cast<std::uint64_t>(b & 0x7F) << shift;
        if ((b & 0x80) == 0) return v;
    }
    damaged();
}

}  // namespace

RowStore::~RowStore() { closeFile(); }

RowStore::RowStore(const RowStore& o) : cols_(o.cols_), budgetCells_(o.budgetCells_) {
    for (std::size_t p = 0; p < o.pages_.size(); ++p) {
        const Page& from = o.pages_[p];
        pages_.emplace_back();
        Page& page = pages_.back();
        if (from.inMemory) {
            page.cells = from.cells;
        } else {
            o.readCopy(from, buffer_);
            decode(buffer_, page.cells);
        }
        page.used = ++clock_;
        inMemory_.push_back(p);
        cellsInMemory_ += page.cells.size();
        rows_ += o.pageRows(p);
        fit(p);
    }
}

RowStore::RowStore(RowStore&& o) noexcept { swap(o); }

RowStore& RowStore::operator=(RowStore o) noexcept {
    swap(o);
    return *this;
}

void RowStore::swap(RowStore& o) noexcept {
    using std::swap;
    swap(rows_, o.rows_);
    swap(cols_, o.cols_);
    swap(budgetCells_, o.budgetCells_);
    swap(pages_, o.pages_);
    swap(inMemory_, o.inMemory_);
    swap(cellsInMemory_, o.cellsInMemory_);
    swap(clock_, o.clock_);
    swap(fd_, o.fd_);
    swap(fileEnd_, o.fileEnd_);
    swap(writer_, o.writer_);
    swap(fileBroken_, o.fileBroken_);
    swap(buffer_, o.buffer_);
    swap(peeked_, o.peeked_);
    swap(peekedPage_, o.peekedPage_);
    swap(peekedAt_, o.peekedAt_);
    swap(changes_, o.changes_);
    // A page read in passing belongs to the store it was read from.
    ++changes_;
    ++o.changes_;
}

int RowStore::pageRows(std::size_t p) const {
    return p + 1 < pages_.size() ? kPageRows : rows_ - static_cast<int>(p) * kPageRows;
}

void RowStore::setBudget(std::size_t bytes) {
    budgetCells_ = bytes / sizeof(StoredCell);
    fit(SIZE_MAX);
}

int RowStore::pagesInMemory() const { return static_cast<int>(inMemory_.size()); }

int RowStore::pagesInFile() const {
    return static_cast<int>(std::count_if(pages_.begin(), pages_.end(), [](const Page& p) { return !p.inMemory; }));
}

RowStore::Page& RowStore::load(std::size_t p) const {
    Page& page = pages_[p];
    page.used = ++clock_;
    if (page.inMemory) return page;
    readCopy(page, buffer_);
    decode(buffer_, page.cells);
    page.inMemory = true;
    page.dirty = false;
    inMemory_.push_back(p);
    cellsInMemory_ += page.cells.size();
    return page;
}

void RowStore::fit(std::size_t pinnedA, std::size_t pinnedB) const {
    // Once the file failed (a full disk) every page stays in memory.
    while (cellsInMemory_ > budgetCells_ && !fileBroken_) {
        // The page used longest ago goes.
        std::size_t best = SIZE_MAX;
        for (std::size_t p : inMemory_) {
            if (p == pinnedA || p == pinnedB) continue;
            if (best == SIZE_MAX || pages_[p].used < pages_[best].used) best = p;
        }
        if (best == SIZE_MAX || !evict(best)) return;
    }
}

bool RowStore::evict(std::size_t p) const {
    Page& page = pages_[p];
    if (page.dirty && !writeCopy(page)) {
        fileBroken_ = true;
        return false;
    }
    cellsInMemory_ -= page.cells.size();
    std::vector<StoredCell>().swap(page.cells);
    page.inMemory = false;
    const auto at = std::find(inMemory_.begin(), inMemory_.end(), p);
    *at = inMemory_.back();
    inMemory_.pop_back();
    return true;
}

void RowStore::encode(const Page& page, std::string& out) const {
    out.clear();
    putNumber(out, page.cells.size());
    for (const StoredCell& c : page.cells) {
        const CellText::Kept kept = c.text.kept();
        std::uint8_t head = kEmpty;
        if (kept == CellText::Kept::Whole) head = c.text.number() < 0 ? kWholeDown : kWholeUp;
        else if (kept == CellText::Kept::Time) head = kTime;
        else if (!c.text.empty()) head = kText;
        if (c.look != 0) head |= kHasLook;
        out += static_cast<char>(head);
        if (c.look != 0) putNumber(out, c.look);
        switch (head & 7) {
        case kWholeUp:
        case kTime: putNumber(out, static_cast<std::uint64_t>(c.text.number())); break;
        // Whole numbers are at most 18 digits: negating one cannot overflow.
        case kWholeDown: putNumber(out, static_cast<std::uint64_t>(-c.text.number())); break;
        case kText: {
            const std::string_view t = c.text.bytes();
            putNumber(out, t.size());
            out.append(t.data(), t.size());
            break;
        }
        default: break;
        }
    }
}

void RowStore::decode(const std::string& in, std::vector<StoredCell>& out) const {
    const char* p = in.data();
    const char* end = p + in.size();
    const std::uint64_t n = getNumber(p, end);
    if (n > in.size()) damaged();  // every cell takes a byte at least
    out.clear();
    out.resize(static_cast<std::size_t>(n));
    for (StoredCell& c : out) {
        if (p >= end) damaged();
        const auto head = static_cast<std::uint8_t>(*p++);
        if (head & kHasLook) {
            const std::uint64_t look = getNumber(p, end);
            if (look > UINT16_MAX) damaged();
            c.look = static_cast<std::uint16_t>(look);
        }
        switch (head & 7) {
        case kEmpty: break;
        case kWholeUp: c.text.setWhole(static_cast<std::int64_t>(getNumber(p, end))); break;
        case kWholeDown: c.text.setWhole(-static_cast<std::int64_t>(getNumber(p, end))); break;
        case kTime: c.text.setTime(static_cast<std::int64_t>(getNumber(p, end))); break;
        case kText: {
            const std::uint64_t size = getNumber(p, end);
            if (size > static_cast<std::uint64_t>(end - p)) damaged();
            c.text.assignOther(std::string_view(p, static_cast<std::size_t>(size)));
            p += size;
            break;
        }
        default: damaged();
        }
    }
}

void RowStore::readCopy(const Page& page, std::string& into) const {
    if (writer_ && writer_->pending(page.offset, into)) {
        if (into.size() != page.size) damaged();
        return;
    }
    into.resize(page.size);
    std::size_t done = 0;
    while (done < page.size) {
        const ssize_t n = ::pread(fd_, into.data() + done, page.size - done, static_cast<off_t>(page.offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) damaged();
        done += static_cast<std::size_t>(n);
    }
}

bool RowStore::writeCopy(Page& page) const {
    if (fd_ < 0) {
        const char* dir = std::getenv("TMPDIR");
        std::string name = std::string(dir && *dir ? dir : "/tmp") + "/tolvenk-grid-XXXXXX";
        fd_ = ::mkostemp(name.data(), O_CLOEXEC);
        if (fd_ < 0) return false;
        ::unlink(name.c_str());
        fileEnd_ = 0;
        try {
            writer_ = std::make_unique<Page_Writer>(fd_);
        } catch (const std::exception&) {
            // No thread to be had: the pages stay in memory, as with no file.
            ::close(fd_);
            fd_ = -1;
            return false;
        }
    }
    if (writer_->failed()) return false;
    encode(page, buffer_);
    page.offset = fileEnd_;
    page.size = static_cast<std::uint32_t>(buffer_.size());
    fileEnd_ += buffer_.size();
    page.dirty = false;
    writer_->write(page.offset, buffer_);
    return true;
}

// A file of a gigabyte freed at once held the file system's journal for
// 0.2 s, and every flush on the disk (a terminal's commit) waited for it:
// it is given back from its end a stretch at a time.
void RowStore::closeFile() const {
    writer_.reset();
    if (fd_ >= 0) {
        constexpr std::uint64_t kGiveBack = std::uint64_t{32} << 20;
        for (std::uint64_t end = fileEnd_; end > kGiveBack;) {
            end -= kGiveBack;
            if (::ftruncate(fd_, static_cast<off_t>(end)) != 0) break;
        }
        ::close(fd_);
    }
    fd_ = -1;
    fileEnd_ = 0;
    fileBroken_ = false;
    for (Page& p : pages_) p.dirty = true;  // their copies went with it
}

void RowStore::resize(int rows) {
    if (rows == rows_) return;
    ++changes_;
    if (rows < rows_) {
        const std::size_t keep = (static_cast<std::size_t>(rows) + kPageRows - 1) / kPageRows;
        for (std::size_t p = keep; p < pages_.size(); ++p) {
            if (!pages_[p].inMemory) continue;
            cellsInMemory_ -= pages_[p].cells.size();
            inMemory_.erase(std::find(inMemory_.begin(), inMemory_.end(), p));
        }
        pages_.resize(keep);
        if (keep > 0) {
            Page& last = load(keep - 1);
            const std::size_t cells = static_cast<std::size_t>(rows - static_cast<int>(keep - 1) * kPageRows) *
                                      static_cast<std::size_t>(cols_);
            cellsInMemory_ -= last.cells.size() - cells;
            last.cells.resize(cells);
            last.dirty = true;
        }
        rows_ = rows;
        // With no page left only in the file, the file and the room go back.
        if (std::all_of(pages_.begin(), pages_.end(), [](const Page& p) { return p.inMemory; })) {
            closeFile();
            std::string().swap(buffer_);
            std::vector<StoredCell>().swap(peeked_);
        }
        if (pages_.capacity() > 2 * pages_.size() + 16) pages_.shrink_to_fit();
        fit(keep > 0 ? keep - 1 : SIZE_MAX);
        return;
    }
    const auto cols = static_cast<std::size_t>(cols_);
    if (rows_ % kPageRows != 0) {
        const std::size_t p = pages_.size() - 1;
        Page& last = load(p);
        const int top = std::min(rows, static_cast<int>(p + 1) * kPageRows);
        const std::size_t cells = static_cast<std::size_t>(top - static_cast<int>(p) * kPageRows) * cols;
        cellsInMemory_ += cells - last.cells.size();
        last.cells.resize(cells);
        last.dirty = true;
        rows_ = top;
        fit(p);
    }
    while (rows_ < rows) {
        const int top = std::min(rows, rows_ + kPageRows);
        pages_.emplace_back();
        Page& page = pages_.back();
        page.cells.resize(static_cast<std::size_t>(top - rows_) * cols);
        page.used = ++clock_;
        inMemory_.push_back(pages_.size() - 1);
        cellsInMemory_ += page.cells.size();
        rows_ = top;
        fit(pages_.size() - 1);
    }
}

void RowStore::setCols(int cols) {
    if (cols == cols_) return;
    ++changes_;
    const auto was = static_cast<std::size_t>(cols_), now = static_cast<std::size_t>(cols);
    for (std::size_t p = 0; p < pages_.size(); ++p) {
        Page& page = load(p);
        const auto rows = static_cast<std::size_t>(pageRows(p));
        std::vector<StoredCell> cells(rows * now);
        for (std::size_t r = 0; r < rows; ++r)
            std::move(page.cells.begin() + static_cast<std::ptrdiff_t>(r * was),
                      page.cells.begin() + static_cast<std::ptrdiff_t>(r * was + std::min(was, now)),
                      cells.begin() + static_cast<std::ptrdiff_t>(r * now));
        cellsInMemory_ = cellsInMemory_ - page.cells.size() + cells.size();
        page.cells = std::move(cells);
        page.dirty = true;
        fit(p);
    }
    cols_ = cols;
}

void RowStore::erase(int r) {
    ++changes_;
    const auto cols = static_cast<std::ptrdiff_t>(cols_);
    std::size_t p = static_cast<std::size_t>(r) / kPageRows;
    Page* page = &load(p);
    const auto at = page->cells.begin() + (r % kPageRows) * cols;
    page->cells.erase(at, at + cols);
    page->dirty = true;
    cellsInMemory_ -= static_cast<std::size_t>(cols);
    // Each later page gives its first row to the page before it.
    for (std::size_t q = p + 1; q < pages_.size(); ++q) {
        Page& next = load(q);
        fit(q, p);
        page->cells.insert(page->cells.end(), std::make_move_iterator(next.cells.begin()),
                           std::make_move_iterator(next.cells.begin() + cols));
        next.cells.erase(next.cells.begin(), next.cells.begin() + cols);
        next.dirty = true;
        page = &next;
        p = q;
    }
    --rows_;
    if (rows_ % kPageRows == 0) {
        // The last page gave its only row away.
        const std::size_t last = pages_.size() - 1;
        inMemory_.erase(std::find(inMemory_.begin(), inMemory_.end(), last));
        pages_.pop_back();
    }
}

void RowStore::clear() {
    ++changes_;
    std::vector<Page>().swap(pages_);
    std::vector<std::size_t>().swap(inMemory_);
    cellsInMemory_ = 0;
    rows_ = 0;
    closeFile();
    std::string().swap(buffer_);
    std::vector<StoredCell>().swap(peeked_);
    peekedPage_ = SIZE_MAX;
}

const StoredCell& RowStore::at(int r, int c) const {
    const std::size_t p = static_cast<std::size_t>(r) / kPageRows;
    Page& page = load(p);
    fit(p);
    return page.cells[static_cast<std::size_t>(r % kPageRows) * static_cast<std::size_t>(cols_) +
                      static_cast<std::size_t>(c)];
}

StoredCell& RowStore::change(int r, int c) {
    ++changes_;
    const std::size_t p = static_cast<std::size_t>(r) / kPageRows;
    Page& page = load(p);
    fit(p);
    page.dirty = true;
    return page.cells[static_cast<std::size_t>(r % kPageRows) * static_cast<std::size_t>(cols_) +
                      static_cast<std::size_t>(c)];
}

const StoredCell* RowStore::peekRow(int r) const {
    const std::size_t p = static_cast<std::size_t>(r) / kPageRows;
    const Page& page = pages_[p];
    const std::size_t first = static_cast<std::size_t>(r % kPageRows) * static_cast<std::size_t>(cols_);
    if (page.inMemory) return page.cells.data() + first;
    if (peekedPage_ != p || peekedAt_ != changes_) {
        readCopy(page, buffer_);
        decode(buffer_, peeked_);
        peekedPage_ = p;
        peekedAt_ = changes_;
    }
    return peeked_.data() + first;
}

}  // namespace tolvenk::grid
