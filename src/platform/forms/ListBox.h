#pragma once
#include "platform/forms/ListControl.h"

class QListWidget;

namespace tolvenk::forms {

class ListBox : public ListControl {
public:
    explicit ListBox(Form& form);

    std::string Text() const { return List(ListIndex()); }

protected:
    void syncItems() override;
    void syncIndex() override;
    void syncInserted(int at) override;

private:
    QListWidget* list_;
};

}  // namespace tolvenk::forms
