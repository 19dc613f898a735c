#include "framework/controls/WindowProcLink.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "testing/ControlTestSupport.h"

namespace {

constexpr UINT Probe = WM_USER + 3;  // TTestRoot's WndProc answers 42 and notes it

using Log = std::vector<std::string>;

// A handler that notes the probe under name, then passes it on.
TWindowProcLink::THandler Noting(Log& log, std::string name) {
    return [&log, name](TChainedMessage& m) {
        if (m.Msg == Probe) log.push_back(name);
        m.PassOn();
    };
}

// Someone replacing WindowProc the usual way: saves it, installs its own, calls the saved one.
struct TThirdParty {
    Log* log = nullptr;
    TWndMethod saved;
    void Proc(TMessage& m) {
        if (m.Msg == Probe) log->push_back("third");
        saved(m);
    }
};

TEST(WindowProcLink, RemovedInAnyOrderWindowProcComesBackAfterTheLast) {
    TLocal<TTestRoot> root(nullptr);
    const TWndMethod original = root.WindowProc;
    Log log;
    auto a = std::make_unique<TWindowProcLink>(root, Noting(log, "A"));
    TWindowProcLink b(root, Noting(log, "B"));
    EXPECT_EQ(root.Perform(Probe), 42);
    EXPECT_EQ(log, (Log{"B", "A"}));
    EXPECT_EQ(root.handled.size(), 1u);

    log.clear();
    a.reset();
    EXPECT_EQ(root.Perform(Probe), 42);
    EXPECT_EQ(log, (Log{"B"}));
    EXPECT_EQ(root.handled.size(), 2u);

    // The pass-through A left behind goes too once B puts back what it saved.
    b.Remove();
    EXPECT_EQ(root.WindowProc, original);
}

TEST(WindowProcLink, ALaterWindowProcKeepsWorkingWhenTheLinkEnds) {
    TLocal<TTestRoot> root(nullptr);
    const TWndMethod original = root.WindowProc;
    Log log;
    TWindowProcLink a(root, Noting(log, "A"));
    TThirdParty third{&log, root.WindowProc};
    root.WindowProc = TWndMethod(&third, &TThirdParty::Proc);
    a.Remove();
    EXPECT_FALSE(a.Attached());
    EXPECT_EQ(root.WindowProc, TWndMethod(&third, &TThirdParty::Proc));
    EXPECT_EQ(root.Perform(Probe), 42);
    EXPECT_EQ(log, (Log{"third"}));
    EXPECT_EQ(root.handled.size(), 1u);

    // The third party puts back what it saved: the pass-through, which still reaches WndProc.
    root.WindowProc = third.saved;
    EXPECT_EQ(root.Perform(Probe), 42);
    EXPECT_EQ(root.handled.size(), 2u);
    EXPECT_NE(root.WindowProc, original);
}

TEST(WindowProcLink, AHandlerThatEndsItsLinkStillPassesTheMessageOnOnce) {
    TLocal<TTestRoot> root(nullptr);
    const TWndMethod original = root.WindowProc;
    std::unique_ptr<TWindowProcLink> a;
    int calls = 0;
    a = std::make_unique<TWindowProcLink>(root, [&](TChainedMessage& m) {
        if (m.Msg == Probe) {
            ++calls;
            a.reset();
        }
        m.PassOn();
        m.PassOn();
    });
    EXPECT_EQ(root.Perform(Probe), 42);
    EXPECT_EQ(root.Perform(Probe), 42);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(root.handled.size(), 2u);
    EXPECT_EQ(root.WindowProc, original);
}

TEST(WindowProcLink, FrameworkMessagesReachTheLinkAndItMayAnswerThem) {
    TLocal<TTestRoot> root(nullptr);
    std::vector<UINT> seen;
    TWindowProcLink link(root, [&seen](TChainedMessage& m) {
        seen.push_back(m.Msg);
        if (m.Msg == Probe && m.WParam == 1) {
            m.Result = 7;  // taken here: WndProc never sees it
            return;
        }
        m.PassOn();
    });
    root.Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(&root));
    EXPECT_EQ(root.Perform(Probe, 1), 7);
    EXPECT_EQ(seen, (std::vector<UINT>{CM_MOUSEENTER, Probe}));
    EXPECT_TRUE(root.handled.empty());
}

TEST(WindowProcLink, ALinkWhoseControlWentFirstEndsQuietly) {
    Log log;
    std::unique_ptr<TWindowProcLink> link;
    {
        TLocal<TTestRoot> root(nullptr);
        link = std::make_unique<TWindowProcLink>(root, Noting(log, "A"));
        EXPECT_TRUE(link->Attached());
    }
    EXPECT_FALSE(link->Attached());
    link->Remove();
}

}  // namespace
