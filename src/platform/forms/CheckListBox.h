#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/forms/Control.h"

class QListWidget;

namespace tolvenk::forms {

// A list whose items carry item data and a tick box each. Ticks live here and
// are mirrored to Qt; a person's tick goes through setChecked like code does.
class CheckListBox : public Control {
public:
    explicit CheckListBox(Form& form);

    // Adds an unticked item at the end.
    void AddItem(const std::string& text);
    void Clear();
    int ListCount() const { return static_cast<int>(items_.size()); }
    int NewIndex() const { return ListCount() - 1; }
    std::string List(int index) const;
    std::int32_t ItemData(int index) const;
    void setItemData(int index, std::int32_t v);
    bool Checked(int index) const;
    // Fires ItemCheck with the index when the tick changes.
    void setChecked(int index, bool v);

    std::function<void(int item)> ItemCheck;

protected:
    void saveOwnDesign() override { designItems_ = items_; }
    void restoreOwnDesign() override;

private:
    struct Item {
        std::string text;
        std::int32_t data = 0;
        bool checked = false;
    };
    const Item& at(int index) const;
    void addRow(const Item& it);
    void syncItems();

    QListWidget* list_;
    std::vector<Item> items_, designItems_;
};

}  // namespace tolvenk::forms
