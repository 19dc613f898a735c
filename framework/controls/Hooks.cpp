#include "framework/controls/Hooks.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "framework/classes/ComponentScope.h"
#include "framework/controls/ControlInternals.h"
#include "framework/controls/ControlsHost.h"
#include "framework/controls/ControlsScope.h"
#include "framework/rtl/StringUtils.h"

namespace fv_controls {

struct THookNode {
    THookKind Kind = hkCbt;
    THookSubscription::TCallback Callback;
    TObject* Owner = nullptr;
    bool Removed = false;
};

}  // namespace fv_controls

using fv_controls::THookNode;

namespace {

constexpr int HookKindCount = 3;

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK MsgFilterProc(int code, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK CallWndProcProc(int code, WPARAM wParam, LPARAM lParam);

String DescribeOwner(const TObject* owner) {
    if (owner == nullptr) return L"(no owner)";
    if (const auto* component = dynamic_cast<const TComponent*>(owner); component != nullptr && !component->Name().empty())
        return component->Name() + L" (" + owner->ClassName() + L")";
    return owner->ClassName();
}

// The subscriptions of one controls scope and the system hooks they keep on the thread.
class THookRegistry {
public:
    THookRegistry() { current_ = this; }
    ~THookRegistry() {
        for (const TChain& chain : chains_)
            for (const auto& node : chain.Nodes)
                if (!node->Removed) OutlivedScope(node->Owner);
        current_ = nullptr;
    }
    THookRegistry(const THookRegistry&) = delete;
    THookRegistry& operator=(const THookRegistry&) = delete;

    static THookRegistry* Current() { return current_; }

    void Add(const std::shared_ptr<THookNode>& node) {
        TChain& chain = chains_[node->Kind];
        if (!chain.Hook) {
            static constexpr int systemKinds[HookKindCount] = {WH_CBT, WH_MSGFILTER, WH_CALLWNDPROC};
            static constexpr HOOKPROC procs[HookKindCount] = {&CbtProc, &MsgFilterProc, &CallWndProcProc};
            chain.Hook.reset(SetWindowsHookExW(systemKinds[node->Kind], procs[node->Kind], nullptr, GetCurrentThreadId()));
            if (!chain.Hook) throw EOSError(L"Cannot install the hook");
        }
        chain.Nodes.push_back(node);
    }

    void Remove(THookNode& node) {
        node.Removed = true;
        Settle(chains_[node.Kind]);
    }

    bool Installed(THookKind kind) const { return static_cast<bool>(chains_[kind].Hook); }

    // Runs the callbacks of kind; true when one swallowed the message.
    bool Run(THookKind kind, int code, WPARAM wParam, LPARAM lParam) {
        TChain& chain = chains_[kind];
        struct TRun {
            THookRegistry& registry;
            TChain& chain;
            TRun(THookRegistry& r, TChain& c) : registry(r), chain(c) { ++chain.Running; }
            ~TRun() {
                --chain.Running;
                registry.Settle(chain);
            }
            TRun(const TRun&) = delete;
            TRun& operator=(const TRun&) = delete;
        } run(*this, chain);
        // Those made meanwhile start with the next call; those ended meanwhile are skipped.
        const size_t count = chain.Nodes.size();
        for (size_t i = 0; i < count; ++i) {
            std::shared_ptr<THookNode> node = chain.Nodes[i];
            if (node->Removed) continue;
            THookCall call{code, wParam, lParam};
            bool finished = false;
            Guarded(node->Owner, [&] {
                node->Callback(call);
                finished = true;
            });
            // The menu's loop must see the message: swallowing it could swallow the very
            // WM_CANCELMODE that ends the menu.
            if (!finished && kind == hkMsgFilter && code == MSGF_MENU) {
                EndMenu();
                return false;
            }
            if (kind == hkMsgFilter && call.Swallowed()) return true;
        }
        return false;
    }

private:
    struct TChain {
        UniqueHook Hook;
        std::vector<std::shared_ptr<THookNode>> Nodes;
        int Running = 0;
    };

    // Drops the ended subscriptions and the system hook nobody needs, unless a call runs.
    void Settle(TChain& chain) {
        if (chain.Running > 0) return;
        std::erase_if(chain.Nodes, [](const std::shared_ptr<THookNode>& n) { return n->Removed; });
        if (chain.Nodes.empty()) chain.Hook.reset();
    }

    [[noreturn]] static void OutlivedScope(const TObject* owner) {
        const std::string text = StringToUtf8(L"A hook subscription of " + DescribeOwner(owner) +
                                              L" is alive at the end of the controls scope: end it first\n");
        std::fputs(text.c_str(), stderr);
        std::fflush(stderr);
        std::abort();
    }

    static inline THookRegistry* current_ = nullptr;
    std::array<TChain, HookKindCount> chains_;
};

LRESULT HookEntry(THookKind kind, int code, WPARAM wParam, LPARAM lParam) {
    THookRegistry* registry = THookRegistry::Current();
    if (code < 0 || registry == nullptr) return CallNextHookEx(nullptr, code, wParam, lParam);
    bool swallowed;
    {
        fv_controls::TDispatchLevel level;
        swallowed = registry->Run(kind, code, wParam, lParam);
    }
    return swallowed ? 1 : CallNextHookEx(nullptr, code, wParam, lParam);
}

LRESULT CALLBACK CbtProc(int code, WPARAM wParam, LPARAM lParam) { return HookEntry(hkCbt, code, wParam, lParam); }
LRESULT CALLBACK MsgFilterProc(int code, WPARAM wParam, LPARAM lParam) {
    return HookEntry(hkMsgFilter, code, wParam, lParam);
}
LRESULT CALLBACK CallWndProcProc(int code, WPARAM wParam, LPARAM lParam) {
    return HookEntry(hkCallWndProc, code, wParam, lParam);
}

}  // namespace

THookSubscription::THookSubscription(THookKind kind, TObject* owner, TCallback callback) {
    TControlsScope::Required();
    THookRegistry& registry = ScopeObject<THookRegistry>();
    auto node = std::make_shared<THookNode>();
    node->Kind = kind;
    node->Callback = std::move(callback);
    node->Owner = owner;
    registry.Add(node);
    node_ = std::move(node);
}

THookSubscription::~THookSubscription() { Remove(); }

void THookSubscription::Remove() {
    if (node_ == nullptr) return;
    std::shared_ptr<THookNode> node = std::move(node_);
    if (THookRegistry* registry = THookRegistry::Current()) registry->Remove(*node);
}

bool THookSubscription::HookInstalled(THookKind kind) {
    THookRegistry* registry = THookRegistry::Current();
    return registry != nullptr && registry->Installed(kind);
}
