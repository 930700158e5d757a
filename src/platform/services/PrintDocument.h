#pragma once
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <functional>
#include <string>

class QPagedPaintDevice;
class QPainter;

namespace tolvenk::platform {

// Something that can be printed: the print preview and the PDF writer both
// page through it, so what a test reads from a PDF is what a person previews.
// Pages are painted one at a time, when they are wanted: a preview draws the
// pages in view, printing sends each page on before it paints the next.
class PrintDocument {
public:
    virtual ~PrintDocument() = default;

    virtual bool landscape() const = 0;
    // Pages on a page layout (a person may change it in the preview). Cheap:
    // no text is laid out to count them.
    virtual int pageCount(const QPageLayout& layout) const = 0;
    // Paints page `index` (from 0) of the layout. The painter's origin is the
    // top left of the layout's paint rect, and its device's resolution is the
    // paper's.
    virtual void paintPage(QPainter& painter, int index, const QPageLayout& layout) const = 0;

    // Pages on the document's own page layout.
    int pageCount() const { return pageCount(pageLayout()); }

    // Paints pages first..last (from 0; all when last < 0) into the device's
    // page layout, a new page between pages; `more`, asked after each page,
    // may stop there (false). The pages painted.
    int render(QPagedPaintDevice& device, int first = 0, int last = -1,
               const std::function<bool(int page)>& more = {}) const;

    // Told after each page rendered (its number from 1, and the count).
    std::function<void(int page, int pages)> pageDone;

    // A4 in the document's orientation, with margins every printer can reach.
    QPageLayout pageLayout() const {
        return QPageLayout(QPageSize(QPageSize::A4), landscape() ? QPageLayout::Landscape : QPageLayout::Portrait,
                           QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    }
};

// Writes the document as a PDF file, page by page; false when the file
// cannot be written.
bool writePdf(const PrintDocument& doc, const std::string& path);

}  // namespace tolvenk::platform
