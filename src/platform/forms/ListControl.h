#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/forms/Control.h"

namespace tolvenk::forms {

// What combo and list boxes share: items with their item data, the list
// index and the Click that a change of selection fires (from code as well).
class ListControl : public Control {
public:
    using Control::Control;

    void AddItem(const std::string& text, int index = -1);
    void RemoveItem(int index);
    void Clear();
    int ListCount() const { return static_cast<int>(items_.size()); }
    std::string List(int index) const;
    std::int32_t ItemData(int index) const;
    void setItemData(int index, std::int32_t v);
    // Index of the item added last.
    int NewIndex() const { return newIndex_; }
    int ListIndex() const { return listIndex_; }
    // Selects an item (-1 none) and fires Click.
    void setListIndex(int index);

    std::function<void(int)> Click;

protected:
    struct Item {
        std::string text;
        std::int32_t data = 0;
    };
    // Mirrors the items and the selection to the Qt widget.
    virtual void syncItems() = 0;
    virtual void syncIndex() = 0;
    // One item added at `at`: the widget gets just that item, so filling a
    // long list does not rebuild it once per item.
    virtual void syncInserted(int at) = 0;
    // A person picked an item in the widget.
    void picked(int index);
    const std::vector<Item>& items() const { return items_; }

    void saveOwnDesign() override { designItems_ = items_, designIndex_ = listIndex_; }
    void restoreOwnDesign() override;

private:
    void checkIndex(int index) const;
    std::vector<Item> items_, designItems_;
    int listIndex_ = -1, designIndex_ = -1;
    int newIndex_ = -1;
};

}  // namespace tolvenk::forms
