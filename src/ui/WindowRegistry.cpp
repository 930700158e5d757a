#include "ui/WindowRegistry.h"

#include <map>

#include "platform/forms/Form.h"
#include "platform/services/Application.h"

namespace tolvenk {

namespace {
std::map<std::string, WindowFactory>& factories() {
    static std::map<std::string, WindowFactory> f;
    return f;
}
// Never destroyed with the other statics: by then the toolkit's own state is
// gone and deleting a window crashes the host on its way out. The windows end
// with the process, or with a host's own application when it ends first.
std::map<std::string, std::unique_ptr<forms::Form>>& objects() {
    static auto* o = new std::map<std::string, std::unique_ptr<forms::Form>>;
    return *o;
}
bool dropAtApplicationEnd = false;
void dropWindows() {
    dropAtApplicationEnd = false;
    objects().clear();
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
    if (!dropAtApplicationEnd) {
        platform::atApplicationEnd(dropWindows);
        dropAtApplicationEnd = true;
    }
    return raw;
}

void resetWindowObjects() { objects().clear(); }

}  // namespace tolvenk
