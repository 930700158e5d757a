#pragma once
#include <functional>
#include <string>

#include "platform/grid/GridModel.h"
#include "platform/grid/PageSetup.h"

namespace tolvenk::grid {

// Renders the grid to a PDF file with the page setup: long grids are split
// over pages that repeat the fixed rows; a grid up to a fifth wider than the
// page is shrunk to its width, a wider one goes on across pages that repeat
// its label (fixed) columns. False on failure.
bool renderPdf(const GridModel& model, const PageSetup& setup, const std::string& path);

// Shows the print preview (through the platform services) at a zoom in
// percent; `pageDone` hears of each page as the preview renders it.
void printPreview(const GridModel& model, const PageSetup& setup, int zoomPercent,
                  const std::function<void(int page, int pages)>& pageDone = {});

}  // namespace tolvenk::grid
