#include "platform/forms/Dispatch.h"
#include "platform/forms/TreeView.h"

#include <QSignalBlocker>
#include <QTreeWidget>

#include "platform/Error.h"
#include "platform/forms/Form.h"

namespace tolvenk::forms {

namespace {
constexpr int kKeyRole = Qt::UserRole;
}

TreeView::TreeView(Form& form) : Control(form, new QTreeWidget(form.widget())), tree_(static_cast<QTreeWidget*>(widget())) {
    tree_->setHeaderHidden(true);
    tree_->setColumnCount(1);
    // Keyboard moves count as choices too; only a real change is a click.
    onSignal(tree_, &QTreeWidget::currentItemChanged, [this](QTreeWidgetItem* item, QTreeWidgetItem*) {
        if (!item) return;
        const std::string key = item->data(0, kKeyRole).toString().toStdString();
        if (key != selected_) setSelectedKey(key);
    });
}

const TreeView::Node& TreeView::node(const std::string& key) const {
    auto it = index_.find(key);
    if (it == index_.end()) throw VbError(35601, "Element not found");
    return nodes_[it->second];
}

void TreeView::AddNode(const std::string& key, const std::string& parentKey, const std::string& text) {
    if (key.empty()) throw VbError(35603, "Invalid key");
    if (Exists(key)) throw VbError(35602, "Key is not unique in collection");
    if (!parentKey.empty()) node(parentKey);
    nodes_.push_back({key, parentKey, text});
    index_[key] = nodes_.size() - 1;
    const QSignalBlocker block(tree_);
    addItem(nodes_.back());
}

void TreeView::addItem(const Node& n) {
    auto* item = n.parent.empty() ? new QTreeWidgetItem(tree_) : new QTreeWidgetItem(items_.at(n.parent));
    item->setText(0, QString::fromStdString(n.text));
    item->setData(0, kKeyRole, QString::fromStdString(n.key));
    items_[n.key] = item;
    if (!n.parent.empty()) items_.at(n.parent)->setExpanded(true);
}

void TreeView::Clear() {
    nodes_.clear();
    index_.clear();
    selected_.clear();
    rebuild();
}

std::string TreeView::NodeText(const std::string& key) const { return node(key).text; }

std::string TreeView::ParentKey(const std::string& key) const { return node(key).parent; }

std::vector<std::string> TreeView::ChildKeys(const std::string& key) const {
    if (!key.empty()) node(key);
    std::vector<std::string> out;
    for (const auto& n : nodes_)
        if (n.parent == key) out.push_back(n.key);
    return out;
}

void TreeView::setSelectedKey(const std::string& key) {
    if (!key.empty()) node(key);
    selected_ = key;
    showSelection();
    if (!key.empty() && NodeClick) NodeClick(key);
}

void TreeView::showSelection() {
    const QSignalBlocker block(tree_);
    tree_->setCurrentItem(selected_.empty() ? nullptr : items_.at(selected_));
}

void TreeView::rebuild() {
    const QSignalBlocker block(tree_);
    tree_->clear();
    items_.clear();
    for (const auto& n : nodes_) addItem(n);
    showSelection();
}

void TreeView::restoreOwnDesign() {
    nodes_ = design_.nodes;
    index_.clear();
    for (std::size_t i = 0; i < nodes_.size(); ++i) index_[nodes_[i].key] = i;
    selected_ = design_.selected;
    rebuild();
}

}  // namespace tolvenk::forms
