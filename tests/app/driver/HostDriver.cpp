// Loaded into the real host program (LD_PRELOAD) to work its windows as a
// person would: open the format editor from the summary window, leave it
// with its exit button, then close the summary window from its title bar.
// Each step is posted to the event loop, so it runs inside the window's own
// modal loop. What it did goes to stdout for the test to read.
#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QEvent>
#include <QTest>

#include <cstdio>
#include <vector>

namespace {

class Driver : public QObject {
public:
    explicit Driver(QObject* parent) : QObject(parent) {}

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        auto* dialog = qobject_cast<QDialog*>(o);
        if (!dialog || !dialog->isWindow()) return false;
        if (e->type() == QEvent::Show) {
            shown_.push_back(dialog);
            QMetaObject::invokeMethod(this, [this, dialog] { onShown(dialog); }, Qt::QueuedConnection);
        } else if (e->type() == QEvent::Hide && shown_.size() == 2 && dialog == shown_[1]) {
            QMetaObject::invokeMethod(this, [this] { closeFirst(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    static QAbstractButton* button(QDialog* d, const QString& text) {
        for (auto* b : d->findChildren<QAbstractButton*>())
            if (b->text() == text && b->isVisible()) return b;
        return nullptr;
    }
    void click(QDialog* d, const QString& text) {
        QAbstractButton* b = button(d, text);
        std::printf("%s: %s\n", text.toUtf8().constData(), b ? "clicked" : "not found");
        std::fflush(stdout);
        if (b) QTest::mouseClick(b, Qt::LeftButton, {}, b->rect().center());
        else d->close();
    }
    void onShown(QDialog* d) {
        if (shown_.size() == 1) click(d, QStringLiteral("定义报表格式"));
        else if (shown_.size() == 2) click(d, QStringLiteral("退  出"));
        else d->close();  // nothing else is expected: a box or window that appears ends the run
    }
    void closeFirst() {
        std::printf("closing %s\n", shown_[0]->windowTitle().toUtf8().constData());
        std::fflush(stdout);
        shown_[0]->close();
    }
    std::vector<QDialog*> shown_;
};

void install() { qApp->installEventFilter(new Driver(qApp)); }

}  // namespace

Q_COREAPP_STARTUP_FUNCTION(install)
