#include "ui/WindowRegistry.h"

#include <map>

#include "platform/forms/Form.h"

namespace tolvenk {

namespace {
std::map<std::string, WindowFactory>& factories() {
    static std::map<std::string, WindowFactory> f;
    return f;
}
std::map<std::string, std::unique_ptr<forms::Form>>& objects() {
    static std::map<std::string, std::unique_ptr<forms::Form>> o;
    return o;
}
}  // namespace

void registerWindow(const std::string& name, WindowFactory factory) { factories()[name] = std::move(factory); }

void registerDefaultWindow(const std::string& name, WindowFactory factory) {
    factories().try_emplace(name, std::move(factory));
}

forms::Form* windowObject(const std::string& name) {
    auto& objs = objects();
    if (auto it = objs.find(name); it != objs.end()) return it->second.get();
    auto f = factories().find(name);
    if (f == factories().end() || !f->second) return nullptr;
    auto created = f->second();
    forms::Form* raw = created.get();
    objs[name] = std::move(created);
    return raw;
}

void resetWindowObjects() { objects().clear(); }

}  // namespace tolvenk
