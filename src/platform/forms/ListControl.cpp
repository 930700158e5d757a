#include "platform/forms/ListControl.h"

#include "platform/Error.h"

namespace tolvenk::forms {

void ListControl::checkIndex(int index) const {
    if (index < 0 || index >= ListCount()) throw VbError(381, "Invalid property array index");
}

void ListControl::AddItem(const std::string& text, int index) {
    if (index < -1 || index > ListCount()) throw VbError(5, "Invalid procedure call or argument");
    const int at = index < 0 ? ListCount() : index;
    items_.insert(items_.begin() + at, Item{text, 0});
    if (listIndex_ >= at) ++listIndex_;
    newIndex_ = at;
    syncInserted(at);
}

void ListControl::RemoveItem(int index) {
    checkIndex(index);
    items_.erase(items_.begin() + index);
    if (listIndex_ == index) listIndex_ = -1;
    else if (listIndex_ > index) --listIndex_;
    syncItems();
}

void ListControl::Clear() {
    items_.clear();
    listIndex_ = -1;
    newIndex_ = -1;
    syncItems();
}

std::string ListControl::List(int index) const {
    // Reading past the end gives an empty text, as the list controls do.
    if (index < 0 || index >= ListCount()) return {};
    return items_[static_cast<std::size_t>(index)].text;
}

std::int32_t ListControl::ItemData(int index) const {
    checkIndex(index);
    return items_[static_cast<std::size_t>(index)].data;
}

void ListControl::setItemData(int index, std::int32_t v) {
    checkIndex(index);
    items_[static_cast<std::size_t>(index)].data = v;
}

void ListControl::setListIndex(int index) {
    if (index < -1 || index >= ListCount()) throw VbError(380, "Invalid property value");
    listIndex_ = index;
    syncIndex();
    if (Click) Click(Index);
}

void ListControl::picked(int index) {
    if (index == listIndex_) return;
    listIndex_ = index;
    if (Click) Click(Index);
}

void ListControl::restoreOwnDesign() {
    items_ = designItems_;
    listIndex_ = designIndex_;
    syncItems();
}

}  // namespace tolvenk::forms
