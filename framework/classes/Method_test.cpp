#include "framework/classes/Method.h"

#include <gtest/gtest.h>

namespace {

class TTarget : public TObject {
public:
    void Click(TObject* sender) { lastSender = sender; ++clicks; }
    void Other(TObject*) { ++others; }
    void Change(bool& allow, int& count, String& text, wchar_t& key) {
        allow = false;
        ++count;
        text += L"!";
        key = L'X';
    }
    virtual int Twice(int v) { return 2 * v; }

    TObject* lastSender = nullptr;
    int clicks = 0;
    int others = 0;
};

class TDerivedTarget : public TTarget {
public:
    int Twice(int v) override { return 3 * v; }
};

TEST(Method, EqualityComparesObjectAndCode) {
    TTarget a, b;
    TNotifyEvent ac(&a, &TTarget::Click);
    EXPECT_EQ(ac, TNotifyEvent(&a, &TTarget::Click));
    EXPECT_NE(ac, TNotifyEvent(&b, &TTarget::Click));
    EXPECT_NE(ac, TNotifyEvent(&a, &TTarget::Other));
    EXPECT_NE(ac, TNotifyEvent());
    EXPECT_TRUE(ac.Assigned());
    EXPECT_FALSE(TNotifyEvent().Assigned());
    EXPECT_TRUE(TNotifyEvent() == nullptr);
    EXPECT_EQ(ac.Data(), &a);
}

TEST(Method, SaveReplaceAndRestore) {
    TTarget a, b;
    TNotifyEvent event(&a, &TTarget::Click);
    TNotifyEvent saved = event;
    event = TNotifyEvent(&b, &TTarget::Other);
    event(nullptr);
    EXPECT_EQ(b.others, 1);
    if (event == TNotifyEvent(&b, &TTarget::Other)) event = saved;  // restore only our own
    event(&b);
    EXPECT_EQ(a.clicks, 1);
    EXPECT_EQ(a.lastSender, &b);
}

TEST(Method, ArgumentsByReference) {
    TTarget a;
    TMethod<void(bool&, int&, String&, wchar_t&)> change(&a, &TTarget::Change);
    bool allow = true;
    int count = 1;
    String text = L"ok";
    wchar_t key = L'a';
    change(allow, count, text, key);
    EXPECT_FALSE(allow);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(text, L"ok!");
    EXPECT_EQ(key, L'X');
}

TEST(Method, VirtualMembersDispatchAndUnassignedCallsDoNothing) {
    TDerivedTarget d;
    TMethod<int(int)> twice(&d, &TTarget::Twice);
    EXPECT_EQ(twice(5), 15);
    TMethod<int(int)> none;
    EXPECT_EQ(none(5), 0);
    TNotifyEvent empty;
    empty(nullptr);
}

}  // namespace
