#pragma once
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/forms/Control.h"

class QTreeWidget;
class QTreeWidgetItem;

namespace tolvenk::forms {

// A tree of text nodes, each known by a unique non-empty key. The nodes and
// the selection live here; the Qt tree only mirrors them.
class TreeView : public Control {
public:
    explicit TreeView(Form& form);

    // An empty parent key makes a root; the parent must already exist.
    void AddNode(const std::string& key, const std::string& parentKey, const std::string& text);
    // Removes every node and the selection, without NodeClick.
    void Clear();
    int NodeCount() const { return static_cast<int>(nodes_.size()); }
    bool Exists(const std::string& key) const { return index_.count(key) != 0; }
    std::string NodeText(const std::string& key) const;
    // "" for a root.
    std::string ParentKey(const std::string& key) const;
    // Keys of the children of `key` ("" for the roots), in the order added.
    std::vector<std::string> ChildKeys(const std::string& key) const;

    // "" when no node is selected.
    std::string SelectedKey() const { return selected_; }
    // Selects a node and fires NodeClick, as a person's click does; "" clears
    // the selection quietly.
    void setSelectedKey(const std::string& key);

    std::function<void(const std::string& key)> NodeClick;

protected:
    void saveOwnDesign() override { design_ = {nodes_, selected_}; }
    void restoreOwnDesign() override;

private:
    struct Node {
        std::string key, parent, text;
    };
    const Node& node(const std::string& key) const;
    void rebuild();
    void addItem(const Node& n);
    void showSelection();

    QTreeWidget* tree_;
    std::vector<Node> nodes_;
    std::map<std::string, std::size_t> index_;
    std::map<std::string, QTreeWidgetItem*> items_;
    std::string selected_;
    struct {
        std::vector<Node> nodes;
        std::string selected;
    } design_;
};

}  // namespace tolvenk::forms
