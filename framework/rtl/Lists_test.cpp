#include "framework/rtl/Lists.h"

#include <gtest/gtest.h>

#include <thread>

#include "framework/rtl/InterfaceList.h"
#include "framework/rtl/ResourceStrings.h"
#include "framework/rtl/SyncObjs.h"

namespace {

class Counted : public TObject {
public:
    explicit Counted(int& alive) : alive_(alive) { ++alive_; }
    ~Counted() override { --alive_; }

private:
    int& alive_;
};

void* P(intptr_t n) { return reinterpret_cast<void*>(n); }

std::vector<intptr_t> Contents(const TList& list) {
    std::vector<intptr_t> result;
    for (int i = 0; i < list.Count(); ++i) result.push_back(reinterpret_cast<intptr_t>(list[i]));
    return result;
}

}  // namespace

TEST(ListTest, EditingOperations) {
    TList list;
    EXPECT_EQ(list.Add(P(1)), 0);
    list.Add(P(2));
    list.Add(P(3));
    list.Insert(0, P(9));
    list.Insert(4, P(8));
    EXPECT_EQ(Contents(list), (std::vector<intptr_t>{9, 1, 2, 3, 8}));
    list.Delete(1);
    EXPECT_EQ(list.Remove(P(3)), 2);
    EXPECT_EQ(list.Remove(P(3)), -1);
    EXPECT_EQ(Contents(list), (std::vector<intptr_t>{9, 2, 8}));
    list.Exchange(0, 2);
    list.Move(0, 2);
    EXPECT_EQ(Contents(list), (std::vector<intptr_t>{2, 9, 8}));
    list.Sort([](void* a, void* b) { return static_cast<int>(reinterpret_cast<intptr_t>(a) - reinterpret_cast<intptr_t>(b)); });
    EXPECT_EQ(Contents(list), (std::vector<intptr_t>{2, 8, 9}));
    EXPECT_EQ(list.First(), P(2));
    EXPECT_EQ(list.Last(), P(9));
    list.SetItem(1, nullptr);
    list.Add(nullptr);
    list.Pack();
    EXPECT_EQ(Contents(list), (std::vector<intptr_t>{2, 9}));
    EXPECT_EQ(list.Extract(P(9)), P(9));
    EXPECT_EQ(list.Extract(P(9)), nullptr);
    EXPECT_EQ(list.IndexOf(P(2)), 0);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(ListTest, IndexErrorsNameTheIndex) {
    TList list;
    list.Add(P(1));
    struct Case {
        const char* what;
        std::function<void()> action;
        const wchar_t* message;
    } cases[] = {
        {"Items", [&] { list.Items(1); }, L"List index out of bounds (1)"},
        {"negative", [&] { list.Items(-1); }, L"List index out of bounds (-1)"},
        {"Delete", [&] { list.Delete(5); }, L"List index out of bounds (5)"},
        {"Insert", [&] { list.Insert(2, P(1)); }, L"List index out of bounds (2)"},
        {"Exchange", [&] { list.Exchange(0, 3); }, L"List index out of bounds (3)"},
        {"Move", [&] { list.Move(0, 1); }, L"List index out of bounds (1)"},
        {"SetItem", [&] { list.SetItem(1, nullptr); }, L"List index out of bounds (1)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            c.action();
            ADD_FAILURE() << "no exception";
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message(), c.message);
        }
    }
    TList empty;
    EXPECT_THROW(empty.First(), EListError);
    EXPECT_THROW(empty.Last(), EListError);
    EXPECT_EQ(list.Count(), 1);
}

TEST(ObjectListTest, OwningListFreesWhatLeavesIt) {
    int alive = 0;
    {
        TObjectList list;
        for (int i = 0; i < 5; ++i) list.Add(new Counted(alive));
        EXPECT_EQ(alive, 5);
        list.Delete(0);
        EXPECT_EQ(alive, 4);
        TObject* kept = list.Extract(list[0]);
        EXPECT_EQ(alive, 4);
        delete kept;
        list.Remove(list[0]);
        EXPECT_EQ(alive, 2);
        list.SetItem(0, new Counted(alive));  // the replaced object goes
        EXPECT_EQ(alive, 2);
        list.Add(new Counted(alive));
    }
    EXPECT_EQ(alive, 0);  // destruction frees the rest
    {
        TObjectList list;
        list.Add(new Counted(alive));
        list.Clear();
        EXPECT_EQ(alive, 0);
    }
}

TEST(ObjectListTest, NonOwningListLeavesObjectsAlone) {
    int alive = 0;
    Counted a(alive), b(alive);
    {
        TObjectList list(false);
        list.Add(&a);
        list.Add(&b);
        list.Delete(0);
        list.Clear();
        list.Add(&a);
    }
    EXPECT_EQ(alive, 2);
}

namespace {

class FakeUnknown : public IUnknown {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID, void** out) override {
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs; }
    ULONG STDMETHODCALLTYPE Release() override { return --refs; }
    ULONG refs = 1;
};

}  // namespace

TEST(InterfaceListTest, HoldsOneReferencePerEntry) {
    FakeUnknown a, b;
    {
        TInterfaceList list;
        list.Add(&a);
        list.Add(&b);
        list.Add(&a);
        EXPECT_EQ(a.refs, 3u);
        EXPECT_EQ(list.IndexOf(&b), 1);
        list.Delete(0);
        EXPECT_EQ(a.refs, 2u);
        list.SetItem(0, &a);  // b out, a in
        EXPECT_EQ(b.refs, 1u);
        EXPECT_EQ(a.refs, 3u);
        EXPECT_EQ(list.Remove(&a), 0);
        EXPECT_THROW(list.Items(1), EListError);
        list.Insert(0, &b);
        EXPECT_EQ(list.First(), &b);
        EXPECT_EQ(list.Last(), &a);
    }
    EXPECT_EQ(a.refs, 1u);
    EXPECT_EQ(b.refs, 1u);
}

TEST(CriticalSectionTest, ExcludesOtherThreadsAndReenters) {
    TCriticalSection section;
    {
        TCriticalSectionLock lock(section);
        EXPECT_TRUE(section.TryEnter());  // re-entrant for the owning thread
        section.Leave();
        bool otherGotIt = true;
        std::thread([&] {
            otherGotIt = section.TryEnter();
            if (otherGotIt) section.Leave();
        }).join();
        EXPECT_FALSE(otherGotIt);
    }
    bool otherGotIt = false;
    std::thread([&] {
        otherGotIt = section.TryEnter();
        if (otherGotIt) section.Leave();
    }).join();
    EXPECT_TRUE(otherGotIt);
}

TEST(ResourceStringsTest, LookUpByNumber) {
    RegisterResourceStrings({{64001, L"Página %d de %d"}, {64002, L"Cancelar"}});
    EXPECT_EQ(LoadResString(64001), L"Página %d de %d");
    EXPECT_EQ(LoadResString(64002), L"Cancelar");
    EXPECT_EQ(LoadResString(64003), L"");
    RegisterResourceStrings({{64002, L"Fechar"}});
    EXPECT_EQ(LoadResString(64002), L"Fechar");
}
