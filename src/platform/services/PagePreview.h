#pragma once
#include <QDialog>

class QAction;
class QComboBox;
class QLabel;
class QPrinter;
class QProgressBar;
class QSpinBox;

namespace tolvenk::platform {

class PrintDocument;
class PageView;

// The print preview. It opens at once at any length: the pages are counted
// from the rows' heights, and a page is drawn only when it comes into view.
// Printing from it sends the pages to the printer one at a time while the
// window keeps answering; closing it stops the printing.
class PagePreview : public QDialog {
public:
    // `zoomPercent` 0 or less fits the page to the window. The document must
    // outlive the preview.
    PagePreview(const PrintDocument& doc, int zoomPercent, QWidget* parent = nullptr);
    ~PagePreview() override;

    int pageCount() const;
    // The page most in view, from 0.
    int currentPage() const;
    // Brings page `index` (from 0) to the top of the view.
    void showPage(int index);
    // Zoom in percent; 0 or less fits the page to the window.
    void setZoom(int percent);

    // Prints pages first..last (from 0; all when last < 0) on the printer's
    // page layout. False when stopped before the end.
    bool printTo(QPrinter& printer, int first = 0, int last = -1);

    void done(int result) override;

private:
    void askAndPrint();
    void pageSetup();
    void setLandscape(bool landscape);
    void relayout();
    void showCurrent();
    void showZoom();

    const PrintDocument& doc_;
    PageView* view_;
    QSpinBox* pageBox_;
    QLabel* pagesLabel_;
    QComboBox* zoomBox_;
    QProgressBar* progress_;
    QAction *fitWidth_, *fitPage_, *portrait_, *landscape_, *progressShown_;
    QList<QAction*> locked_;  // what waits while printing
    bool printing_ = false, stop_ = false, closeAfter_ = false;
    int closeResult_ = 0;
};

}  // namespace tolvenk::platform
