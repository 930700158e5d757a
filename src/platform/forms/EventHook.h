#pragma once
#include <QEvent>
#include <QObject>
#include <functional>

#include "platform/forms/Dispatch.h"

namespace tolvenk::forms {

// An event filter as a function, since the build runs no moc: returning true
// swallows the event. It lives as a child of the object it watches.
class EventHook : public QObject {
public:
    using Handler = std::function<bool(QObject*, QEvent*)>;
    EventHook(QObject* watched, Handler handler) : QObject(watched), handler_(std::move(handler)) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* o, QEvent* e) override {
        bool swallowed = false;
        dispatch([&] { swallowed = handler_(o, e); });
        return swallowed;
    }

private:
    Handler handler_;
};

}  // namespace tolvenk::forms
