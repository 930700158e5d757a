#pragma once
// A small writer of binary workbooks (.xls, BIFF8 in a compound file) for
// the import tests, since no library of the distribution writes that format.
// It writes what office programs need to open the file: the workbook globals
// with the sheet names and a shared text table, and per sheet its size and
// cells (texts and numbers). A workbook of any size: past about 7 MB its
// allocation table is listed in further sectors, as the format has it.
#include <string>
#include <variant>
#include <vector>

namespace tolvenk::test {

class XlsWriter {
public:
    using Value = std::variant<std::string, double>;

    // Adds a sheet; cells are then put into the last sheet added.
    XlsWriter& sheet(const std::string& name);
    XlsWriter& cell(int row, int col, const Value& value);
    // A row of cells from column 0 on; an empty text leaves its cell out.
    XlsWriter& row(int row, const std::vector<Value>& values);
    // Marks the workbook as protected by a password (XOR obfuscation), as an
    // office program saves it; the cells stay as they are.
    XlsWriter& password();

    void save(const std::string& path) const;

    // A compound file holding one stream of that name (another kind of
    // Office file, or one saved with a password as an encrypted package).
    static void saveCompound(const std::string& path, const std::string& streamName, const std::string& bytes);

private:
    struct Cell {
        int row, col;
        Value value;
    };
    struct Sheet {
        std::string name;
        std::vector<Cell> cells;
    };
    std::vector<Sheet> sheets_;
    bool password_ = false;
};

}  // namespace tolvenk::test
