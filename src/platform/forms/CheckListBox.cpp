#include "platform/forms/Dispatch.h"
#include "platform/forms/CheckListBox.h"

#include <QListWidget>
#include <QSignalBlocker>

#include "platform/Error.h"
#include "platform/forms/Form.h"

namespace tolvenk::forms {

CheckListBox::CheckListBox(Form& form)
    : Control(form, new QListWidget(form.widget())), list_(static_cast<QListWidget*>(widget())) {
    onSignal(list_, &QListWidget::itemChanged, [this](QListWidgetItem* item) {
        const int row = list_->row(item);
        if (row >= 0 && row < ListCount()) setChecked(row, item->checkState() == Qt::Checked);
    });
}

const CheckListBox::Item& CheckListBox::at(int index) const {
    if (index < 0 || index >= ListCount()) throw VbError(381, "Invalid property array index");
    return items_[static_cast<std::size_t>(index)];
}

void CheckListBox::AddItem(const std::string& text) {
    items_.push_back({text, 0, false});
    const QSignalBlocker block(list_);
    addRow(items_.back());
}

void CheckListBox::addRow(const Item& it) {
    auto* item = new QListWidgetItem(QString::fromStdString(it.text), list_);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(it.checked ? Qt::Checked : Qt::Unchecked);
}

void CheckListBox::Clear() {
    items_.clear();
    syncItems();
}

std::string CheckListBox::List(int index) const {
    if (index < 0 || index >= ListCount()) return {};
    return items_[static_cast<std::size_t>(index)].text;
}

std::int32_t CheckListBox::ItemData(int index) const { return at(index).data; }

void CheckListBox::setItemData(int index, std::int32_t v) {
    at(index);
    items_[static_cast<std::size_t>(index)].data = v;
}

bool CheckListBox::Checked(int index) const { return at(index).checked; }

void CheckListBox::setChecked(int index, bool v) {
    at(index);
    auto& item = items_[static_cast<std::size_t>(index)];
    const bool changed = item.checked != v;
    item.checked = v;
    {
        const QSignalBlocker block(list_);
        list_->item(index)->setCheckState(v ? Qt::Checked : Qt::Unchecked);
    }
    if (changed && ItemCheck) ItemCheck(index);
}

void CheckListBox::syncItems() {
    const QSignalBlocker block(list_);
    list_->clear();
    for (const auto& it : items_) addRow(it);
}

void CheckListBox::restoreOwnDesign() {
    items_ = designItems_;
    syncItems();
}

}  // namespace tolvenk::forms
