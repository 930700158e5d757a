// Placeholders until the exports and the page painter land.
#include "platform/grid/GridExport.h"
#include "platform/grid/PagePainter.h"

namespace tolvenk::grid {
bool exportXlsx(const GridModel&, const std::string&) { return false; }
bool exportHtml(const GridModel&, const std::string&) { return false; }
bool exportXml(const GridModel&, const std::string&) { return false; }
bool renderPdf(const GridModel&, const PageSetup&, const std::string&) { return false; }
void printPreview(const GridModel&, const PageSetup&, int) {}
}  // namespace tolvenk::grid
