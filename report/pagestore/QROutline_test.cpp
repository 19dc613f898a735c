#include "report/pagestore/QROutline.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Records what the outline does to a tree view: nodes as (parent index, caption), -1 for top level.
class RecordingTree : public IQROutlineTree {
public:
    struct Item {
        int parent;
        String caption;
    };
    std::vector<Item> items;
    int updateDepth = 0;
    int clears = 0;

    void BeginUpdate() override { ++updateDepth; }
    void EndUpdate() override { --updateDepth; }
    void Clear() override {
        EXPECT_EQ(updateDepth, 1);
        ++clears;
        items.clear();
    }
    Node AddChild(Node parent, const String& caption) override {
        EXPECT_EQ(updateDepth, 1);
        items.push_back({parent ? static_cast<int>(reinterpret_cast<std::intptr_t>(parent)) - 1 : -1, caption});
        return reinterpret_cast<Node>(static_cast<std::intptr_t>(items.size()));  // index + 1
    }
};

TQROutlineEntry Entry(const wchar_t* caption, int level, int id = 0, int page = 0) {
    TQROutlineEntry entry;
    entry.Caption = caption;
    entry.Level = level;
    entry.Id = id;
    entry.Page = page;
    return entry;
}

TEST(QROutline, FillsTheTreeByLevelInsideOneUpdate) {
    TQROutline outline;
    outline.AddEntry(Entry(L"Dados pessoais", 1));
    outline.AddEntry(Entry(L"Endereco", 2));
    outline.AddEntry(Entry(L"Telefone", 2));
    outline.AddEntry(Entry(L"Bairro", 3));
    outline.AddEntry(Entry(L"Experiencia", 1));
    outline.AddEntry(Entry(L"Empresa", 3));  // no level-2 entry above: hangs below the last lower level

    RecordingTree tree;
    tree.items.push_back({-1, L"stale"});
    outline.SetTreeNodes(&tree);
    EXPECT_EQ(tree.updateDepth, 0);
    EXPECT_EQ(tree.clears, 1);
    const std::vector<std::pair<int, String>> expected = {
        {-1, L"Dados pessoais"}, {0, L"Endereco"}, {0, L"Telefone"}, {2, L"Bairro"}, {-1, L"Experiencia"}, {4, L"Empresa"},
    };
    ASSERT_EQ(tree.items.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(tree.items[i].parent, expected[i].first) << i;
        EXPECT_EQ(tree.items[i].caption, expected[i].second) << i;
    }
    outline.SetTreeNodes(nullptr);  // forgetting the view touches nothing
    EXPECT_EQ(tree.clears, 1);
}

TEST(QROutline, LocatesEntriesById) {
    TQROutline outline;
    TQROutlineEntry entry = Entry(L"Formacao", 1, 42, 3);
    entry.Rect = {10, 20, 300, 400};
    outline.AddEntry(entry);
    const TQROutline::TLocation found = outline.LocateEntry(42);
    EXPECT_EQ(found.Page, 3);
    EXPECT_EQ(found.Rect, (TQRRect{10, 20, 300, 400}));
    const TQROutline::TLocation missing = outline.LocateEntry(7);
    EXPECT_EQ(missing.Page, 0);
    EXPECT_EQ(missing.Rect, TQRRect{});
    outline.Clear();
    EXPECT_EQ(outline.LocateEntry(42).Page, 0);
}

TEST(QROutline, CaptionsKeepAtMost51Characters) {
    TQROutline outline;
    outline.AddEntry(Entry(String(60, L'x').c_str(), 0));
    EXPECT_EQ(outline.Entries().front().Caption, String(51, L'x'));
}

}  // namespace
