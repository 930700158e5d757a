#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/grid/GridModel.h"
#include "platform/grid/PageSetup.h"
#include "platform/services/PrintDocument.h"

namespace tolvenk::grid {

// The grid as a printable document with the page setup: long grids are split
// over pages that repeat the fixed rows; a grid up to a fifth wider than the
// page is shrunk to its width, a wider one goes on across pages that repeat
// its label (fixed) columns. Pages run across, then down. The document reads
// the grid and the setup where they are (both must outlive it), and a page
// reads only its own rows when it is painted.
std::unique_ptr<platform::PrintDocument> printDocument(const GridModel& model, const PageSetup& setup);

// The rows and columns page `index` (from 0) shows on the setup's own page,
// repeated ones first; none past the last page.
struct PageCells {
    std::vector<int> rows, cols;
};
PageCells pageCells(const GridModel& model, const PageSetup& setup, int index);

// Renders the grid to a PDF file with the page setup, page by page. False on
// failure.
bool renderPdf(const GridModel& model, const PageSetup& setup, const std::string& path);

// Shows the print preview (through the platform services) at a zoom in
// percent; `pageDone` hears of each page as it is printed from there.
void printPreview(const GridModel& model, const PageSetup& setup, int zoomPercent,
                  const std::function<void(int page, int pages)>& pageDone = {});

}  // namespace tolvenk::grid
