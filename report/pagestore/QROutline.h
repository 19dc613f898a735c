// The outline of a prepared report (captions by level, each pointing at a page area) and
// the tree view that shows it. The tree view is reached through IQROutlineTree so that this
// list needs no window; the preview supplies an adapter over its tree-view items.
#pragma once

#include <memory>
#include <vector>

#include "framework/rtl/System.h"

struct TQRRect {
    int Left = 0;
    int Top = 0;
    int Right = 0;
    int Bottom = 0;
    bool operator==(const TQRRect&) const = default;
};

struct TQROutlineEntry {
    String Caption;  // at most MaxCaptionLength characters
    int Level = 0;
    TQRRect Rect;
    int Page = 0;
    int Id = 0;
    static constexpr std::size_t MaxCaptionLength = 51;
};

// The items of a tree view, as far as the outline uses them.
class IQROutlineTree {
public:
    using Node = void*;  // nullptr: the top level
    virtual ~IQROutlineTree() = default;
    virtual void BeginUpdate() = 0;
    virtual void EndUpdate() = 0;
    virtual void Clear() = 0;
    virtual Node AddChild(Node parent, const String& caption) = 0;
};

class TQROutline : public TObject {
public:
    String ClassName() const override { return L"TQROutline"; }

    void Clear();
    // The caption is cut to its first MaxCaptionLength characters.
    void AddEntry(TQROutlineEntry entry);
    const std::vector<TQROutlineEntry>& Entries() const { return entries_; }

    // Stores the tree (not owned) and, when there is one, fills it.
    void SetTreeNodes(IQROutlineTree* tree);
    // Replaces the tree's items by one node per entry, each under the last entry of a lower level.
    void FillTreeNodes();

    struct TLocation {
        TQRRect Rect;
        int Page = 0;
    };
    // The entry's area and page; a zero area and page 0 when no entry has the id.
    TLocation LocateEntry(int id) const;

private:
    std::vector<TQROutlineEntry> entries_;
    IQROutlineTree* tree_ = nullptr;
};
