#include "platform/forms/Dispatch.h"
#include "platform/forms/ComboBox.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalBlocker>

#include "platform/Error.h"
#include "platform/forms/Form.h"

namespace tolvenk::forms {

ComboBox::ComboBox(Form& form, Style style)
    : ListControl(form, new QComboBox(form.widget())), combo_(static_cast<QComboBox*>(widget())), style_(style) {
    combo_->setEditable(style == DropdownCombo);
    onSignal(combo_, QOverload<int>::of(&QComboBox::activated), [this](int i) {
        typed_ = List(i);
        picked(i);
    });
    if (combo_->lineEdit())
        onSignal(combo_->lineEdit(), &QLineEdit::textEdited,
                 [this](const QString& t) { typed_ = t.toStdString(); });
}

std::string ComboBox::Text() const {
    if (style_ == DropdownList) return List(ListIndex());
    return typed_;
}

void ComboBox::setText(const std::string& t) {
    if (style_ == DropdownList) {
        for (int i = 0; i < ListCount(); ++i)
            if (List(i) == t) {
                setListIndex(i);
                return;
            }
        throw VbError(383, "'Text' property is read-only");
    }
    typed_ = t;
    const QSignalBlocker block(combo_);
    combo_->setEditText(QString::fromStdString(t));
}

void ComboBox::syncItems() {
    const QSignalBlocker block(combo_);
    combo_->clear();
    for (const auto& it : items()) combo_->addItem(QString::fromStdString(it.text));
    syncIndex();
}

void ComboBox::syncInserted(int at) {
    {
        const QSignalBlocker block(combo_);
        combo_->insertItem(at, QString::fromStdString(List(at)));
    }
    syncIndex();
}

void ComboBox::syncIndex() {
    const QSignalBlocker block(combo_);
    combo_->setCurrentIndex(ListIndex());
    if (ListIndex() >= 0) typed_ = List(ListIndex());
    if (style_ == DropdownCombo) combo_->setEditText(QString::fromStdString(typed_));
}

}  // namespace tolvenk::forms
