#pragma once
#include <QFile>
#include <QMarginsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPdfWriter>
#include <QString>
#include <functional>
#include <string>

#include "platform/services/Application.h"

namespace tolvenk::platform {

// Something that can be printed: the print preview and the PDF writer both
// page through it, so what a test reads from a PDF is what a person previews.
class PrintDocument {
public:
    virtual ~PrintDocument() = default;

    virtual bool landscape() const = 0;
    // Pages on the document's own page layout.
    virtual int pageCount() const = 0;
    // Paints every page into the device's current page layout (which a person
    // may have changed in the preview), starting a new page between pages.
    virtual void render(QPagedPaintDevice& device) const = 0;

    // Told after each page rendered (its number from 1, and the count): a
    // long document's preview is prepared page by page before it shows.
    std::function<void(int page, int pages)> pageDone;

    // A4 in the document's orientation, with margins every printer can reach.
    QPageLayout pageLayout() const {
        return QPageLayout(QPageSize(QPageSize::A4), landscape() ? QPageLayout::Landscape : QPageLayout::Portrait,
                           QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    }
};

// Writes the document as a PDF file; false when the file cannot be written.
inline bool writePdf(const PrintDocument& doc, const std::string& path) {
    ensureApplication();  // text layout needs the font database of a GUI application
    QFile file(QString::fromStdString(path));
    if (path.empty() || !file.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    {
        QPdfWriter writer(&file);
        writer.setPageLayout(doc.pageLayout());
        writer.setCreator(QStringLiteral("tolvenk"));
        doc.render(writer);
    }  // the writer finishes the file when it goes
    file.close();
    return file.error() == QFileDevice::NoError;
}

}  // namespace tolvenk::platform
