#include "platform/services/PagePreview.h"

#include <QAbstractScrollArea>
#include <QActionGroup>
#include <QComboBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QIcon>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPaintEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressBar>
#include <QResizeEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSpinBox>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>
#include <functional>
#include <cmath>
#include <map>

#include "platform/services/PrintDocument.h"

namespace tolvenk::platform {

namespace {

// Qt's own preview speaks these words; its catalogue has them in the
// person's language.
QString qtText(const char* text) { return QCoreApplication::translate("QPrintPreviewDialog", text); }

// Qt's own preview icons (from the theme where it has them).
QIcon qtIcon(const char* name) {
    const QString prefix = QStringLiteral(":/qt-project.org/dialogs/qprintpreviewdialog/images/");
    QIcon icon = QIcon::fromTheme(QString::fromLatin1(name));
    icon.addFile(prefix + QLatin1String(name) + QStringLiteral("-24.png"), QSize(24, 24));
    icon.addFile(prefix + QLatin1String(name) + QStringLiteral("-32.png"), QSize(32, 32));
    return icon;
}

constexpr double kScreenDpi = 96.0;  // 100 % shows the paper at the screen's 96 pixels per inch
constexpr int kGap = 12;             // grey around and between the pages
constexpr double kMinZoom = 0.1, kMaxZoom = 8.0;
// A paint of the view draws missing pages while it has spent less than this
// (and always one), then lets the event loop run before the next.
constexpr qint64 kDrawBudgetMs = 30;
// Pages bigger than this on screen are drawn straight into the view instead
// of being kept as pictures.
constexpr qint64 kMaxKeptPixels = 4'000'000;
// Printing lets the event loop run at least this often.
constexpr qint64 kPrintYieldMs = 30;
const int kZooms[] = {12, 25, 50, 75, 100, 125, 150, 200, 400, 800};

}  // namespace

// The pages one under another, in a view that scrolls over them; only the
// pages in view are drawn, and the last few drawn are kept.
class PageView : public QAbstractScrollArea {
public:
    enum class Fit { None, Width, Page };

    PageView(const PrintDocument& doc, QWidget* parent) : QAbstractScrollArea(parent), doc_(doc), layout_(doc.pageLayout()) {
        pages_ = doc_.pageCount(layout_);
        viewport()->setBackgroundRole(QPalette::Dark);
        viewport()->setAutoFillBackground(true);
    }

    int pages() const { return pages_; }
    const QPageLayout& pageLayout() const { return layout_; }
    void setPageLayout(const QPageLayout& layout) {
        const int current = currentPage();
        layout_ = layout;
        pages_ = doc_.pageCount(layout_);
        forget();
        arrange();
        showPage(std::min(current, pages_ - 1));
    }

    double zoom() const { return zoom_; }
    Fit fit() const { return fit_; }
    void setZoom(double zoom, Fit fit) {
        const int current = currentPage();
        fit_ = fit;
        zoom_ = std::clamp(zoom, kMinZoom, kMaxZoom);
        arrange();
        showPage(current);
    }

    int currentPage() const {
        // The page that takes most of the view.
        const qint64 top = scrollTop(), bottom = top + viewport()->height();
        int best = std::clamp(int(top / pitch()), 0, std::max(pages_ - 1, 0));
        qint64 most = -1;
        for (int k = best; k < pages_; ++k) {
            const qint64 y = pageTop(k);
            if (y >= bottom) break;
            const qint64 seen = std::min(bottom, y + pageH_) - std::max(top, y);
            if (seen > most) {
                most = seen;
                best = k;
            }
        }
        return best;
    }

    void showPage(int index) {
        index = std::clamp(index, 0, std::max(pages_ - 1, 0));
        verticalScrollBar()->setValue(int((pageTop(index) - kGap) / unit_));
        viewport()->update();
    }

    std::function<void()> scrolled;  // the page in view may have changed

protected:
    void paintEvent(QPaintEvent*) override {
        if (viewport()->devicePixelRatioF() != keptRatio_) {
            forget();  // moved to a screen of another density
            keptRatio_ = viewport()->devicePixelRatioF();
        }
        QPainter p(viewport());
        const qint64 top = scrollTop();
        const int height = viewport()->height();
        const int first = std::max(0, int((top - kGap) / pitch()));
        int last = first;
        QElapsedTimer spent;
        spent.start();
        bool drewOne = false, waiting = false;
        for (int k = first; k < pages_ && pageTop(k) < top + height; ++k) {
            if (pageTop(k) + pageH_ <= top) continue;  // in the gap above the view
            last = k;
            const QRect paper(left(), int(pageTop(k) - top), pageW_, pageH_);
            p.fillRect(paper.translated(3, 3), palette().shadow());
            if (direct()) {
                // Too big to keep: drawn straight into the view, clipped to it.
                p.fillRect(paper, Qt::white);
                p.save();
                p.setClipRect(paper.intersected(viewport()->rect()));
                p.translate(paper.topLeft());
                paintPaper(p, k);
                p.restore();
                continue;
            }
            auto kept = images_.find(k);
            if (kept == images_.end() && (!drewOne || spent.elapsed() < kDrawBudgetMs)) {
                kept = images_.emplace(k, draw(k)).first;
                drewOne = true;
            }
            if (kept != images_.end())
                p.drawImage(paper, kept->second);
            else {
                p.fillRect(paper, Qt::white);
                waiting = true;
            }
        }
        // Keep the pages in view and their neighbours only.
        for (auto it = images_.begin(); it != images_.end();)
            it = it->first < first - 2 || it->first > last + 2 ? images_.erase(it) : std::next(it);
        if (waiting) QTimer::singleShot(0, viewport(), [v = viewport()] { v->update(); });
    }

    void resizeEvent(QResizeEvent* e) override {
        QAbstractScrollArea::resizeEvent(e);
        const int current = currentPage();
        arrange();
        if (fit_ != Fit::None) showPage(current);
    }

    void scrollContentsBy(int, int) override {
        viewport()->update();
        if (scrolled) scrolled();
    }

private:
    // The paper in screen pixels at 100 %.
    QSizeF paper100() const {
        const QSizeF mm = layout_.fullRect(QPageLayout::Millimeter).size();
        return mm / 25.4 * kScreenDpi;
    }
    qint64 pitch() const { return pageH_ + kGap; }
    qint64 pageTop(int k) const { return kGap + qint64(k) * pitch(); }
    qint64 scrollTop() const { return qint64(verticalScrollBar()->value()) * unit_; }
    int left() const {
        const int room = viewport()->width();
        return pageW_ + 2 * kGap <= room ? (room - pageW_) / 2 : kGap - horizontalScrollBar()->value();
    }
    bool direct() const {
        const double ratio = viewport()->devicePixelRatioF();
        return qint64(pageW_ * ratio) * qint64(pageH_ * ratio) > kMaxKeptPixels;
    }

    void forget() { images_.clear(); }

    // Sizes the pages at the zoom (or the fit) and the scroll bars over them.
    void arrange() {
        const QSizeF paper = paper100();
        const QSize room = viewport()->size();
        if (fit_ == Fit::Width)
            zoom_ = std::clamp((room.width() - 2 * kGap) / paper.width(), kMinZoom, kMaxZoom);
        else if (fit_ == Fit::Page)
            zoom_ = std::clamp(std::min((room.width() - 2 * kGap) / paper.width(),
                                        (room.height() - 2 * kGap) / paper.height()),
                               kMinZoom, kMaxZoom);
        const int w = std::max(1, int(std::lround(paper.width() * zoom_)));
        const int h = std::max(1, int(std::lround(paper.height() * zoom_)));
        if (w != pageW_ || h != pageH_) forget();
        pageW_ = w;
        pageH_ = h;
        // Scroll bars count in ints; a very long document scrolls in steps of
        // several pixels.
        const qint64 total = kGap + qint64(pages_) * pitch();
        unit_ = total / (INT_MAX / 2) + 1;
        verticalScrollBar()->setRange(0, int(std::max<qint64>(0, total - room.height()) / unit_));
        verticalScrollBar()->setPageStep(std::max(1, int(room.height() / unit_)));
        verticalScrollBar()->setSingleStep(std::max(1, int(40 / unit_)));
        horizontalScrollBar()->setRange(0, std::max(0, pageW_ + 2 * kGap - room.width()));
        horizontalScrollBar()->setPageStep(room.width());
        horizontalScrollBar()->setSingleStep(40);
        viewport()->update();
    }

    // Paints page k with the painter's origin at the paper's top left, one
    // painter unit a screen pixel at the zoom.
    void paintPaper(QPainter& p, int k) const {
        const double dpiX = p.device()->logicalDpiX(), dpiY = p.device()->logicalDpiY();
        // The document draws for the device's resolution: scaled to the zoom.
        p.scale(zoom_ * kScreenDpi / dpiX, zoom_ * kScreenDpi / dpiY);
        const QRectF inside = layout_.paintRect(QPageLayout::Millimeter);
        p.translate(inside.left() / 25.4 * dpiX, inside.top() / 25.4 * dpiY);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        doc_.paintPage(p, k, layout_);
    }

    QImage draw(int k) const {
        const double ratio = viewport()->devicePixelRatioF();
        QImage image(int(std::ceil(pageW_ * ratio)), int(std::ceil(pageH_ * ratio)), QImage::Format_RGB32);
        image.setDevicePixelRatio(ratio);
        image.fill(Qt::white);
        QPainter p(&image);
        paintPaper(p, k);
        return image;
    }

    const PrintDocument& doc_;
    QPageLayout layout_;
    int pages_ = 0;
    double zoom_ = 1.0;
    Fit fit_ = Fit::None;
    int pageW_ = 0, pageH_ = 0;
    qint64 unit_ = 1;
    std::map<int, QImage> images_;
    double keptRatio_ = 1.0;  // the screen density the kept pages were drawn for
};

PagePreview::PagePreview(const PrintDocument& doc, int zoomPercent, QWidget* parent)
    : QDialog(parent), doc_(doc), view_(new PageView(doc, this)) {
    setWindowTitle(qtText("Print Preview"));
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    auto* bar = new QToolBar(this);
    bar->setIconSize(QSize(24, 24));
    const auto action = [&](const char* icon, const char* text, auto slot) {
        QAction* a = bar->addAction(qtIcon(icon), qtText(text));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };

    fitWidth_ = action("zoom-fit-width", "Fit width", [this] { view_->setZoom(view_->zoom(), PageView::Fit::Width); showZoom(); });
    fitPage_ = action("zoom-fit-page", "Fit page", [this] { view_->setZoom(view_->zoom(), PageView::Fit::Page); showZoom(); });
    fitWidth_->setCheckable(true);
    fitPage_->setCheckable(true);
    zoomBox_ = new QComboBox(bar);
    zoomBox_->setEditable(true);
    zoomBox_->setInsertPolicy(QComboBox::NoInsert);
    for (int z : kZooms) zoomBox_->addItem(QStringLiteral("%1%").arg(z));
    zoomBox_->setMinimumContentsLength(5);
    const auto typedZoom = [this] {
        bool ok = false;
        const int z = zoomBox_->currentText().remove(QLatin1Char('%')).trimmed().toInt(&ok);
        if (ok && z > 0) setZoom(z);
        else showZoom();
    };
    connect(zoomBox_, &QComboBox::textActivated, this, typedZoom);
    connect(zoomBox_->lineEdit(), &QLineEdit::editingFinished, this, typedZoom);
    bar->addWidget(zoomBox_);
    action("zoom-out", "Zoom out", [this] { setZoom(int(std::lround(view_->zoom() * 100 / 1.25))); });
    action("zoom-in", "Zoom in", [this] { setZoom(int(std::lround(view_->zoom() * 100 * 1.25))); });
    bar->addSeparator();
    portrait_ = action("layout-portrait", "Portrait", [this] { setLandscape(false); });
    landscape_ = action("layout-landscape", "Landscape", [this] { setLandscape(true); });
    auto* turn = new QActionGroup(this);
    for (QAction* a : {portrait_, landscape_}) {
        a->setCheckable(true);
        turn->addAction(a);
    }
    bar->addSeparator();
    action("go-first", "First page", [this] { showPage(0); });
    action("go-previous", "Previous page", [this] { showPage(currentPage() - 1); });
    pageBox_ = new QSpinBox(bar);
    pageBox_->setButtonSymbols(QAbstractSpinBox::NoButtons);
    pageBox_->setAlignment(Qt::AlignRight);
    pageBox_->setKeyboardTracking(false);
    connect(pageBox_, &QSpinBox::valueChanged, this, [this](int page) {
        if (page - 1 != currentPage()) showPage(page - 1);
    });
    bar->addWidget(pageBox_);
    pagesLabel_ = new QLabel(bar);
    bar->addWidget(pagesLabel_);
    action("go-next", "Next page", [this] { showPage(currentPage() + 1); });
    action("go-last", "Last page", [this] { showPage(pageCount() - 1); });
    bar->addSeparator();
    QAction* setup = action("page-setup", "Page setup", [this] { pageSetup(); });
    QAction* print = action("printer", "Print", [this] { askAndPrint(); });
    locked_ = {setup, print, portrait_, landscape_};
    // In the tool bar, so that showing it leaves the pages where they are.
    progress_ = new QProgressBar(bar);
    progress_->setFormat(QStringLiteral("%v / %m"));
    progressShown_ = bar->addWidget(progress_);
    progressShown_->setVisible(false);

    auto* box = new QVBoxLayout(this);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    box->addWidget(bar);
    box->addWidget(view_, 1);
    view_->scrolled = [this] { showCurrent(); };

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        resize(screen->availableSize() * 3 / 4);
    else
        resize(1024, 768);
    relayout();
    setZoom(zoomPercent);
}

PagePreview::~PagePreview() = default;

int PagePreview::pageCount() const { return view_->pages(); }

int PagePreview::currentPage() const { return view_->currentPage(); }

void PagePreview::showPage(int index) {
    view_->showPage(index);
    showCurrent();
}

void PagePreview::setZoom(int percent) {
    if (percent <= 0)
        view_->setZoom(view_->zoom(), PageView::Fit::Page);
    else
        view_->setZoom(percent / 100.0, PageView::Fit::None);
    showZoom();
}

void PagePreview::showZoom() {
    const QSignalBlocker quiet(zoomBox_);
    zoomBox_->setEditText(QStringLiteral("%1%").arg(std::lround(view_->zoom() * 100)));
    fitWidth_->setChecked(view_->fit() == PageView::Fit::Width);
    fitPage_->setChecked(view_->fit() == PageView::Fit::Page);
    showCurrent();
}

void PagePreview::showCurrent() {
    const QSignalBlocker quiet(pageBox_);
    pageBox_->setValue(currentPage() + 1);
}

void PagePreview::relayout() {
    const int pages = pageCount();
    {
        const QSignalBlocker quiet(pageBox_);
        pageBox_->setRange(1, std::max(pages, 1));
    }
    pagesLabel_->setText(QStringLiteral(" / %1 ").arg(pages));
    const bool wide = view_->pageLayout().orientation() == QPageLayout::Landscape;
    landscape_->setChecked(wide);
    portrait_->setChecked(!wide);
    showCurrent();
}

void PagePreview::setLandscape(bool landscape) {
    QPageLayout layout = view_->pageLayout();
    layout.setOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    view_->setPageLayout(layout);
    relayout();
}

void PagePreview::pageSetup() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(view_->pageLayout());
    QPageSetupDialog dialog(&printer, this);
    if (dialog.exec() != QDialog::Accepted) return;
    view_->setPageLayout(printer.pageLayout());
    relayout();
}

void PagePreview::askAndPrint() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageLayout(view_->pageLayout());
    QPrintDialog dialog(&printer, this);
    dialog.setMinMax(1, pageCount());
    if (dialog.exec() != QDialog::Accepted) return;
    if (printer.printRange() == QPrinter::PageRange)
        printTo(printer, printer.fromPage() - 1, printer.toPage() - 1);
    else if (printer.printRange() == QPrinter::CurrentPage)
        printTo(printer, currentPage(), currentPage());
    else
        printTo(printer);
}

bool PagePreview::printTo(QPrinter& printer, int first, int last) {
    if (printing_) return false;
    printing_ = true;
    stop_ = false;
    for (QAction* a : locked_) a->setEnabled(false);
    const int count = doc_.pageCount(printer.pageLayout());
    if (last < 0 || last >= count) last = count - 1;
    progress_->setRange(0, std::max(last - first + 1, 1));
    progress_->setValue(0);
    progressShown_->setVisible(true);
    QElapsedTimer since;
    since.start();
    doc_.render(printer, first, last, [&](int page) {
        if (since.elapsed() >= kPrintYieldMs) {
            progress_->setValue(page - first + 1);
            QCoreApplication::processEvents();  // closing the window comes through here
            since.restart();
        }
        if (stop_) printer.abort();  // before the job is closed, where the printer can drop it
        return !stop_;
    });
    const bool whole = !stop_;
    progressShown_->setVisible(false);
    for (QAction* a : locked_) a->setEnabled(true);
    printing_ = false;
    if (closeAfter_) QDialog::done(closeResult_);
    return whole;
}

void PagePreview::done(int result) {
    if (printing_) {
        // The print loop is still on the stack: it stops at its next page and closes the window then.
        stop_ = closeAfter_ = true;
        closeResult_ = result;
        return;
    }
    QDialog::done(result);
}

}  // namespace tolvenk::platform
