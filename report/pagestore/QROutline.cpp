#include "report/pagestore/QROutline.h"

void TQROutline::Clear() { entries_.clear(); }

void TQROutline::AddEntry(TQROutlineEntry entry) {
    if (entry.Caption.size() > TQROutlineEntry::MaxCaptionLength) entry.Caption.resize(TQROutlineEntry::MaxCaptionLength);
    entries_.push_back(std::move(entry));
}

void TQROutline::SetTreeNodes(IQROutlineTree* tree) {
    tree_ = tree;
    if (tree_) FillTreeNodes();
}

namespace {

class TreeUpdate {
public:
    explicit TreeUpdate(IQROutlineTree& tree) : tree_(tree) { tree_.BeginUpdate(); }
    ~TreeUpdate() { tree_.EndUpdate(); }
    TreeUpdate(const TreeUpdate&) = delete;
    TreeUpdate& operator=(const TreeUpdate&) = delete;

private:
    IQROutlineTree& tree_;
};

}  // namespace

void TQROutline::FillTreeNodes() {
    if (!tree_) return;
    TreeUpdate update(*tree_);
    tree_->Clear();
    struct Open {
        int level;
        IQROutlineTree::Node node;
    };
    std::vector<Open> path;  // the nodes an entry of a deeper level would hang below
    for (const TQROutlineEntry& entry : entries_) {
        while (!path.empty() && path.back().level >= entry.Level) path.pop_back();
        IQROutlineTree::Node parent = path.empty() ? nullptr : path.back().node;
        path.push_back({entry.Level, tree_->AddChild(parent, entry.Caption)});
    }
}

TQROutline::TLocation TQROutline::LocateEntry(int id) const {
    for (const TQROutlineEntry& entry : entries_)
        if (entry.Id == id) return {entry.Rect, entry.Page};
    return {};
}
