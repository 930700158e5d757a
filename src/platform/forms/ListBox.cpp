#include "platform/forms/Dispatch.h"
#include "platform/forms/ListBox.h"

#include <QListWidget>
#include <QSignalBlocker>

#include "platform/forms/Form.h"

namespace tolvenk::forms {

ListBox::ListBox(Form& form) : ListControl(form, new QListWidget(form.widget())), list_(static_cast<QListWidget*>(widget())) {
    // A choice is a selection: the current row alone also moves when the list
    // merely takes the focus, which chooses nothing.
    onSignal(list_, &QListWidget::itemSelectionChanged, [this] {
        const auto chosen = list_->selectedItems();
        if (!chosen.isEmpty()) picked(list_->row(chosen.front()));
    });
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
    if (ListIndex() < 0) list_->clearSelection();
}

}  // namespace tolvenk::forms
