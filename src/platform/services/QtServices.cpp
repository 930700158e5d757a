#include "platform/services/QtServices.h"

#include <chrono>

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>
#include <QStringList>

#include "platform/Clock.h"
#include "platform/services/Application.h"
#include "platform/services/PagePreview.h"

namespace tolvenk::platform {

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

// "Label|*.a;*.b|Label2|*.c" -> "Label (*.a *.b);;Label2 (*.c)"
QString qtFilter(const std::string& filter) {
    const QStringList parts = q(filter).split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2)
        out << parts[i] + " (" + QString(parts[i + 1]).replace(';', ' ') + ")";
    return out.join(";;");
}

// What a title bar holds beside its text: the window's icon, the buttons to
// shrink, enlarge and close it, and their margins.
constexpr int kTitleBarRoom = 160;

struct ButtonSpec {
    QMessageBox::StandardButton button;
    int answer;
};

std::vector<ButtonSpec> buttonsFor(int style) {
    switch (style & 7) {
    case vbOKCancel: return {{QMessageBox::Ok, vbOK}, {QMessageBox::Cancel, vbCancel}};
    case vbAbortRetryIgnore:
        return {{QMessageBox::Abort, vbAbort}, {QMessageBox::Retry, vbRetry}, {QMessageBox::Ignore, vbIgnore}};
    case vbYesNoCancel: return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}, {QMessageBox::Cancel, vbCancel}};
    case vbYesNo: return {{QMessageBox::Yes, vbYes}, {QMessageBox::No, vbNo}};
    case vbRetryCancel: return {{QMessageBox::Retry, vbRetry}, {QMessageBox::Cancel, vbCancel}};
    default: return {{QMessageBox::Ok, vbOK}};
    }
}

int titleBarWidth(const QString& title, const QFont& font) {
    QFont bold = font;  // most window managers draw the title bold
    bold.setBold(true);
    return QFontMetrics(bold).horizontalAdvance(title) + kTitleBarRoom;
}

void widenToTitle(QMessageBox& box) {
    // The box sizes itself by its text and leaves a little room for the title,
    // far less than a title bar's icon and buttons take: a long title was cut.
    // A spacer as wide as the title bar needs keeps the box that wide.
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    grid->addItem(new QSpacerItem(titleBarWidth(box.windowTitle(), box.font()), 0, QSizePolicy::Fixed,
                                  QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

std::unique_ptr<QMessageBox> messageBox(const std::string& prompt, int style, const std::string& title) {
    auto made = std::make_unique<QMessageBox>();
    QMessageBox& box = *made;
    // A title emptied on the way (an installation's text table) falls back
    // as the classic runtime's did.
    box.setWindowTitle(q(title.empty() ? kApplicationTitle : title));
    box.setText(q(prompt));
    box.setTextFormat(Qt::PlainText);  // a prompt that looks like markup shows as written
    switch (style & 0x70) {
    case vbCritical: box.setIcon(QMessageBox::Critical); break;
    case vbQuestion: box.setIcon(QMessageBox::Question); break;
    case vbExclamation: box.setIcon(QMessageBox::Warning); break;
    case vbInformation: box.setIcon(QMessageBox::Information); break;
    default: box.setIcon(QMessageBox::NoIcon); break;
    }
    const auto specs = buttonsFor(style);
    for (const auto& s : specs) box.addButton(s.button);
    const std::size_t def = (style & vbDefaultButton3) ? 2 : (style & vbDefaultButton2) ? 1 : 0;
    if (def < specs.size()) box.setDefaultButton(specs[def].button);
    widenToTitle(box);
    return made;
}

int QtServices::msgBox(const std::string& prompt, int style, const std::string& title) {
    ensureApplication();
    const auto box = messageBox(prompt, style, title);
    const auto specs = buttonsFor(style);
    const int clicked = box->exec();
    for (const auto& s : specs)
        if (s.button == clicked) return s.answer;
    // Closed from the title bar: Cancel where there is one, else the first button.
    for (const auto& s : specs)
        if (s.answer == vbCancel) return vbCancel;
    return specs.front().answer;
}

std::string QtServices::inputBox(const std::string& prompt, const std::string& title,
                                 const std::string& defaultText) {
    ensureApplication();
    bool ok = false;
    // The prompt labels the entry field, so a '&' in it would mark a shortcut key: doubled, it shows.
    const QString text = QInputDialog::getText(nullptr, q(title), q(prompt).replace(QLatin1Char('&'), QLatin1String("&&")),
                                               QLineEdit::Normal, q(defaultText), &ok);
    return ok ? text.toStdString() : std::string();
}

std::string QtServices::openFileName(const std::string& title, const std::string& filter) {
    ensureApplication();
    return QFileDialog::getOpenFileName(nullptr, q(title), QString(), qtFilter(filter)).toStdString();
}

std::string QtServices::saveFileName(const std::string& title, const std::string& filter,
                                     const std::string& suggestedName) {
    ensureApplication();
    return QFileDialog::getSaveFileName(nullptr, q(title), q(suggestedName), qtFilter(filter)).toStdString();
}

void QtServices::printPreview(const PrintDocument& doc, int zoomPercent) {
    ensureApplication();
    PagePreview preview(doc, zoomPercent);
    preview.exec();
}

ScreenSize QtServices::screenSize() {
    ensureApplication();
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize s = screen ? screen->size() : QSize(1024, 768);
    return {s.width() * 15, s.height() * 15};
}

std::string QtServices::clockText() { return localClockText(); }

void QtServices::beep() {
    ensureApplication();
    QApplication::beep();
}

void QtServices::yield() {
    lastYield_ = std::chrono::steady_clock::now();
    ensureApplication();
    QCoreApplication::processEvents();
}

bool QtServices::yieldDue() { return std::chrono::steady_clock::now() - lastYield_ >= std::chrono::milliseconds(100); }

}  // namespace tolvenk::platform
