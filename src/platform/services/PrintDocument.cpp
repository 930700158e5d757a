#include "platform/services/PrintDocument.h"

#include <QFile>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QString>
#include <algorithm>

#include "platform/services/Application.h"

namespace tolvenk::platform {

int PrintDocument::render(QPagedPaintDevice& device, int first, int last,
                          const std::function<bool(int page)>& more) const {
    const QPageLayout layout = device.pageLayout();
    const int count = pageCount(layout);
    if (last < 0 || last >= count) last = count - 1;
    first = std::max(first, 0);
    QPainter p;
    if (first > last || !p.begin(&device)) return 0;
    int painted = 0;
    for (int page = first; page <= last; ++page) {
        if (page > first) device.newPage();  // the page before goes out to the device here
        p.save();
        paintPage(p, page, layout);
        p.restore();
        ++painted;
        if (pageDone) pageDone(page + 1, count);
        if (more && page < last && !more(page)) break;
    }
    p.end();
    return painted;
}

bool writePdf(const PrintDocument& doc, const std::string& path) {
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
