#include "platform/forms/Dispatch.h"
#include "platform/forms/ListBox.h"

#include <QListWidget>
#include <QSignalBlocker>

#include "platform/forms/Form.h"

namespace tolvenk::forms {

ListBox::ListBox(Form& form) : ListControl(form, new QListWidget(form.widget())), list_(static_cast<QListWidget*>(widget())) {
    onSignal(list_, &QListWidget::currentRowChanged, [this](int row) { picked(row); });
}

void ListBox::syncItems() {
    const QSignalBlocker block(list_);
    list_->clear();
    for (const auto& it : items()) list_->addItem(QString::fromStdString(it.text));
    syncIndex();
}

void ListBox::syncInserted(int at) {
    {
        const QSignalBlocker block(list_);
        list_->insertItem(at, QString::fromStdString(List(at)));
    }
    syncIndex();
}

void ListBox::syncIndex() {
    const QSignalBlocker block(list_);
    list_->setCurrentRow(ListIndex());
}

}  // namespace tolvenk::forms
