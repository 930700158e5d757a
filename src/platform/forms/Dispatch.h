#pragma once
#include <QObject>

#include <functional>
#include <type_traits>

namespace tolvenk::forms {

// Runs a window's handler that a person's action (or a Qt signal) started:
// an error leaving it is shown in a box and the window stays usable, whoever
// owns the QApplication, and it never unwinds through Qt's own code.
void dispatch(const std::function<void()>& handler);

// Connects a Qt signal to a handler, through dispatch; the connection lives
// as long as the sender. A handler may take the signal's arguments or none.
template <class Sender, class Signal, class F>
QMetaObject::Connection onSignal(Sender* sender, Signal signal, F handler) {
    return QObject::connect(sender, signal, sender, [handler](auto&&... args) {
        dispatch([&] {
            if constexpr (std::is_invocable_v<const F&, decltype(args)...>) handler(args...);
            else handler();
        });
    });
}

}  // namespace tolvenk::forms
