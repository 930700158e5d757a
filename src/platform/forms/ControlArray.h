#pragma once
#include <functional>
#include <map>
#include <memory>

#include "platform/Error.h"

namespace tolvenk::forms {

class Form;

// Controls that share a name and are told apart by index, as Check2(4).
template <class T>
class ControlArray {
public:
    explicit ControlArray(Form& form) : form_(form) {}

    // Creates element `index`; handlers set on the array reach it with its index.
    T& add(int index) {
        auto c = std::make_unique<T>(form_);
        c->Index = index;
        T& ref = *c;
        items_[index] = std::move(c);
        return ref;
    }
    T& operator()(int index) const {
        auto it = items_.find(index);
        if (it == items_.end()) throw VbError(340, "Control array element does not exist");
        return *it->second;
    }
    bool exists(int index) const { return items_.count(index) != 0; }
    int LBound() const { return items_.empty() ? 0 : items_.begin()->first; }
    int UBound() const { return items_.empty() ? -1 : items_.rbegin()->first; }
    int Count() const { return static_cast<int>(items_.size()); }

private:
    Form& form_;
    std::map<int, std::unique_ptr<T>> items_;
};

}  // namespace tolvenk::forms
