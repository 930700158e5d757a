#include <freexl.h>

#include <array>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/excel/CompoundFile.h"
#include "platform/excel/NumberFormat.h"
#include "platform/excel/Workbook.h"
#include "platform/excel/XlsRecords.h"

namespace tolvenk::excel {

namespace {

constexpr std::array<unsigned char, 8> kCompoundSignature = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
constexpr std::array<unsigned char, 4> kZipSignature = {'P', 'K', 0x03, 0x04};

class Handle {
public:
    explicit Handle(const std::string& path) { rc_ = freexl_open(path.c_str(), &h_); }
    ~Handle() {
        if (h_) freexl_close(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    int rc() const { return rc_; }
    const void* get() const { return h_; }
    unsigned info(unsigned short what) const {
        unsigned value = 0;
        if (freexl_get_info(h_, what, &value) != FREEXL_OK) return 0;
        return value;
    }

private:
    const void* h_ = nullptr;
    int rc_ = FREEXL_OK;
};

// freexl (1.0.6) reads the cells and their date formats but passes formula
// cells over and cannot tell an RC4 or CryptoAPI password from a missing
// sheet: the records it leaves out are read here first.
XlsRecords ownRecords(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw WorkbookError(path + ": cannot be opened", WorkbookProblem::Unreadable);
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < kCompoundSignature.size() ||
        std::memcmp(bytes.data(), kCompoundSignature.data(), kCompoundSignature.size()) != 0)
        throw WorkbookError(path + ": not a workbook", WorkbookProblem::NotAWorkbook);
    try {
        const CompoundFile file(std::move(bytes));
        // An Office file saved with a password holds its encrypted package instead.
        if (file.stream("EncryptedPackage"))
            throw WorkbookError(path + ": protected by a password", WorkbookProblem::Encrypted);
        std::optional<std::string> stream = file.stream("Workbook");
        if (!stream) stream = file.stream("Book");
        if (!stream)
            throw WorkbookError(path + ": a compound file without a workbook", WorkbookProblem::NotAWorkbook);
        XlsRecords records = readXlsRecords(*stream);
        if (records.encrypted)
            throw WorkbookError(path + ": protected by a password", WorkbookProblem::Encrypted);
        return records;
    } catch (const WorkbookError& e) {
        if (e.problem() != WorkbookProblem::Damaged) throw;
        throw WorkbookError(path + ": " + e.what(), WorkbookProblem::Damaged);
    }
}

}  // namespace

Sheet readXlsFirstSheet(const std::string& path) {
    const XlsRecords records = ownRecords(path);
    Handle book(path);
    switch (book.rc()) {
        case FREEXL_OK:
            break;
        case FREEXL_FILE_NOT_FOUND:
            throw WorkbookError(path + ": cannot be opened", WorkbookProblem::Unreadable);
        case FREEXL_INVALID_CFBF_HEADER:
            throw WorkbookError(path + ": not a workbook", WorkbookProblem::NotAWorkbook);
        case FREEXL_BIFF_WORKBOOK_NOT_FOUND:
            throw WorkbookError(path + ": a compound file without a workbook", WorkbookProblem::NotAWorkbook);
        default:
            throw WorkbookError(path + ": damaged (reader code " + std::to_string(book.rc()) + ")",
                                WorkbookProblem::Damaged);
    }
    if (book.info(FREEXL_BIFF_SHEET_COUNT) == 0)
        throw WorkbookError(path + ": the workbook has no sheet", WorkbookProblem::NoSheet);
    if (freexl_select_active_worksheet(book.get(), 0) != FREEXL_OK)
        throw WorkbookError(path + ": the first sheet cannot be chosen", WorkbookProblem::NoSheet);
    unsigned rows = 0;
    unsigned short cols = 0;
    if (freexl_worksheet_dimensions(book.get(), &rows, &cols) != FREEXL_OK)
        throw WorkbookError(path + ": the first sheet's size cannot be read", WorkbookProblem::Damaged);

    Sheet sheet;
    sheet.mostRows_ = book.info(FREEXL_BIFF_VERSION) == FREEXL_BIFF_VER_8 ? 65536 : 16384;
    for (unsigned r = 0; r < rows; ++r) {
        for (unsigned short c = 0; c < cols; ++c) {
            FreeXL_CellValue v;
            const int rc = freexl_get_cell_value(book.get(), r, c, &v);
            if (rc != FREEXL_OK)
                throw WorkbookError(path + ": a cell cannot be read (reader code " + std::to_string(rc) + ")",
                                    WorkbookProblem::Damaged);
            switch (v.type) {
                case FREEXL_CELL_INT: {
                    SheetCell& cell = sheet.put(static_cast<int>(r), c);
                    cell.number = v.value.int_value;
                    cell.text = std::to_string(v.value.int_value);
                    break;
                }
                case FREEXL_CELL_DOUBLE: {
                    SheetCell& cell = sheet.put(static_cast<int>(r), c);
                    cell.number = v.value.double_value;
                    cell.text = numberText(v.value.double_value);
                    break;
                }
                case FREEXL_CELL_DATE:
                case FREEXL_CELL_DATETIME:
                case FREEXL_CELL_TIME:
                    sheet.put(static_cast<int>(r), c).date = true;
                    [[fallthrough]];
                case FREEXL_CELL_TEXT:
                case FREEXL_CELL_SST_TEXT:
                    sheet.put(static_cast<int>(r), c).text = v.value.text_value ? v.value.text_value : "";
                    break;
                default:
                    break;
            }
        }
    }
    for (const XlsFormulaResult& f : records.formulas) sheet.put(f.row, f.col) = f.cell;
    return sheet;
}

Sheet readWorkbook(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw WorkbookError(path + ": cannot be opened", WorkbookProblem::Unreadable);
    std::array<unsigned char, 8> head{};
    in.read(reinterpret_cast<char*>(head.data()), head.size());
    const auto got = static_cast<std::size_t>(in.gcount());
    in.close();
    if (got >= kZipSignature.size() && std::memcmp(head.data(), kZipSignature.data(), kZipSignature.size()) == 0)
        return readFirstSheet(path);
    if (got == head.size() && head == kCompoundSignature) return readXlsFirstSheet(path);
    throw WorkbookError(path + ": not a workbook", WorkbookProblem::NotAWorkbook);
}

}  // namespace tolvenk::excel
