#include "framework/controls/WindowSubclass.h"

#include <algorithm>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "framework/classes/ComponentScope.h"
#include "framework/controls/ControlInternals.h"
#include "framework/controls/ControlsHost.h"
#include "framework/controls/ControlsScope.h"

namespace fv_controls {

struct TSubclassRecord;

// One subscriber. A node taken off the chain keeps its Next, so that a call already past it
// still finds the rest of the chain.
struct TSubclassNode {
    TWindowSubclass::THandler Handler;
    TObject* Owner = nullptr;
    std::shared_ptr<TSubclassNode> Next;
    TSubclassRecord* Record = nullptr;  // null once removed or detached
};

// What a subclassed window carries in our property.
struct TSubclassRecord {
    HWND Window = nullptr;
    WNDPROC Saved = nullptr;
    std::shared_ptr<TSubclassNode> Head;  // newest first
    int Calls = 0;                         // calls of our procedure running on it
    bool Ended = false;                    // off the window: freed once no call runs on it
    bool Destroyed = false;                // its window got WM_NCDESTROY
};

}  // namespace fv_controls

using fv_controls::TSubclassNode;
using fv_controls::TSubclassRecord;

namespace {

LRESULT CALLBACK SubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);

String RecordPropertyName() { return L"FolhavidaSubclass" + std::to_wstring(GetCurrentProcessId()); }

// Records of windows that outlived the scope that subclassed them while a later subclass sat on
// top of ours: they pass messages on until their windows go. They keep the property's atom.
std::vector<std::unique_ptr<TSubclassRecord>>& OutlivingRecords() {
    static std::vector<std::unique_ptr<TSubclassRecord>> records;
    return records;
}
ATOM g_outlivingAtom = 0;

// The records of one controls scope, and the atom that names their property.
class TSubclassRegistry {
public:
    TSubclassRegistry() : atom_(GlobalAddAtomW(RecordPropertyName().c_str())) { current_ = this; }
    ~TSubclassRegistry() {
        for (auto& record : records_) {
            for (TSubclassNode* node = record->Head.get(); node != nullptr; node = node->Next.get())
                node->Record = nullptr;
            record->Head.reset();
            if (record->Ended || !IsWindow(record->Window)) continue;
            if (GetWindowLongPtrW(record->Window, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SubclassProc)) {
                SetWindowLongPtrW(record->Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->Saved));
                RemovePropW(record->Window, MAKEINTATOM(atom_));
            } else {
                if (g_outlivingAtom == 0) g_outlivingAtom = GlobalAddAtomW(RecordPropertyName().c_str());
                OutlivingRecords().push_back(std::move(record));
            }
        }
        records_.clear();
        byWindow_.clear();
        current_ = nullptr;
        if (atom_ != 0) GlobalDeleteAtom(atom_);
    }
    TSubclassRegistry(const TSubclassRegistry&) = delete;
    TSubclassRegistry& operator=(const TSubclassRegistry&) = delete;

    static TSubclassRegistry* Current() { return current_; }
    ATOM Atom() const { return atom_; }
    int Count() const { return static_cast<int>(records_.size()); }

    TSubclassRecord* Install(HWND window) {
        auto record = std::make_unique<TSubclassRecord>();
        record->Window = window;
        if (atom_ == 0 || !SetPropW(window, MAKEINTATOM(atom_), record.get()))
            throw EOSError(L"Cannot mark the window for its subclass");
        SetLastError(0);
        record->Saved = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
        if (record->Saved == nullptr) {
            RemovePropW(window, MAKEINTATOM(atom_));
            throw EOSError(L"Cannot subclass the window");
        }
        byWindow_[window] = record.get();
        records_.push_back(std::move(record));
        return records_.back().get();
    }

    // The record on window; null when it has none. The property says the same, but reading a
    // property costs a trip to the window server under Wine on every message.
    TSubclassRecord* Find(HWND window) const {
        auto found = byWindow_.find(window);
        return found == byWindow_.end() ? nullptr : found->second;
    }

    // The record no longer answers for its window (its end, or the window's).
    void Forget(TSubclassRecord* record) {
        auto found = byWindow_.find(record->Window);
        if (found != byWindow_.end() && found->second == record) byWindow_.erase(found);
    }

    void Free(TSubclassRecord* record) {
        Forget(record);
        auto same = [record](const std::unique_ptr<TSubclassRecord>& r) { return r.get() == record; };
        std::erase_if(records_, same);
    }

private:
    static inline TSubclassRegistry* current_ = nullptr;
    ATOM atom_;
    std::vector<std::unique_ptr<TSubclassRecord>> records_;
    std::unordered_map<HWND, TSubclassRecord*> byWindow_;
};

TSubclassRegistry& Registry() {
    TControlsScope::Required();
    return ScopeObject<TSubclassRegistry>();
}

ATOM RecordAtom() {
    if (TSubclassRegistry* registry = TSubclassRegistry::Current()) return registry->Atom();
    return g_outlivingAtom;
}

// The record our property holds on window, or null.
TSubclassRecord* RecordInProperty(HWND window) {
    const ATOM atom = RecordAtom();
    return atom == 0 ? nullptr : static_cast<TSubclassRecord*>(GetPropW(window, MAKEINTATOM(atom)));
}

TSubclassRecord* RecordOf(HWND window) {
    if (TSubclassRegistry* registry = TSubclassRegistry::Current())
        if (TSubclassRecord* record = registry->Find(window)) return record;
    return OutlivingRecords().empty() ? nullptr : RecordInProperty(window);
}

void FreeRecord(TSubclassRecord* record) {
    if (TSubclassRegistry* registry = TSubclassRegistry::Current()) registry->Free(record);
    auto same = [record](const std::unique_ptr<TSubclassRecord>& r) { return r.get() == record; };
    std::erase_if(OutlivingRecords(), same);
}

// Takes the record off its window (the property; the procedure when ours is still installed)
// and frees it once no call runs on it.
void EndRecord(TSubclassRecord& record) {
    record.Ended = true;
    if (TSubclassRegistry* registry = TSubclassRegistry::Current()) registry->Forget(&record);
    RemovePropW(record.Window, MAKEINTATOM(RecordAtom()));
    if (record.Calls == 0) FreeRecord(&record);
}

// A call of our procedure running on a record: the record is freed after the last one, when it
// ended meanwhile.
class TRecordCall {
public:
    explicit TRecordCall(TSubclassRecord& record) : record_(record) { ++record_.Calls; }
    ~TRecordCall() {
        if (--record_.Calls == 0 && record_.Ended) FreeRecord(&record_);
    }
    TRecordCall(const TRecordCall&) = delete;
    TRecordCall& operator=(const TRecordCall&) = delete;

private:
    TSubclassRecord& record_;
};

LRESULT Deliver(TSubclassRecord& record, std::shared_ptr<TSubclassNode> node, const TMessage& message);

struct TRestOfChain {
    TSubclassRecord* Record;
    std::shared_ptr<TSubclassNode> Next;
};

LRESULT ForwardAlongChain(void* context, TChainedMessage& message) {
    auto* rest = static_cast<TRestOfChain*>(context);
    return Deliver(*rest->Record, rest->Next, message);
}

// Hands message to the first subscriber from node on that is still subscribed, or to the saved
// procedure after the last.
LRESULT Deliver(TSubclassRecord& record, std::shared_ptr<TSubclassNode> node, const TMessage& message) {
    while (node != nullptr && node->Record == nullptr) node = node->Next;
    if (node == nullptr) {
        // A window destroyed by a handler of an outer message: its procedure has had its end.
        if (record.Destroyed) return 0;
        return CallWindowProcW(record.Saved, record.Window, message.Msg, message.WParam, message.LParam);
    }
    TRestOfChain rest{&record, node->Next};
    TChainedMessage chained(record.Window, message, &ForwardAlongChain, &rest);
    Guarded(node->Owner, [&] { node->Handler(chained); });
    if (message.Msg == WM_NCDESTROY) chained.PassOn();
    return chained.Result;
}

LRESULT CALLBACK SubclassProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    fv_controls::TDispatchLevel level;
    TSubclassRecord* record = RecordOf(window);
    if (record == nullptr) return DefWindowProcW(window, msg, wParam, lParam);
    LRESULT result;
    {
        TRecordCall call(*record);
        result = Deliver(*record, record->Head, TMessage{msg, wParam, lParam, 0});
        if (msg == WM_NCDESTROY) {
            for (TSubclassNode* node = record->Head.get(); node != nullptr; node = node->Next.get())
                node->Record = nullptr;
            record->Head.reset();
            record->Destroyed = true;
            EndRecord(*record);
        }
    }
    return result;
}

}  // namespace

// ---- TChainedMessage ----

LRESULT TChainedMessage::PassOn() {
    if (!passedOn_) {
        passedOn_ = true;
        answer_ = forward_(context_, *this);
        Result = answer_;
    }
    return answer_;
}

// ---- TWindowSubclass ----

TWindowSubclass::TWindowSubclass(HWND window, TObject* owner, THandler handler) : window_(window) {
    TSubclassRegistry& registry = Registry();
    if (window == nullptr || !IsWindow(window) || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId())
        throw EInvalidOperation(L"Only a window of the thread that runs the windows can be subclassed");
    TSubclassRecord* record = RecordOf(window);
    if (record == nullptr) record = registry.Install(window);
    node_ = std::make_shared<TSubclassNode>();
    node_->Handler = std::move(handler);
    node_->Owner = owner;
    node_->Record = record;
    node_->Next = record->Head;
    record->Head = node_;
}

TWindowSubclass::~TWindowSubclass() { Remove(); }

void TWindowSubclass::Remove() {
    if (node_ == nullptr) return;
    std::shared_ptr<TSubclassNode> node = std::move(node_);
    TSubclassRecord* record = std::exchange(node->Record, nullptr);
    if (record == nullptr) return;
    // Off the chain; node->Next stays for a call already past it.
    if (record->Head == node) {
        record->Head = node->Next;
    } else {
        for (TSubclassNode* before = record->Head.get(); before != nullptr; before = before->Next.get())
            if (before->Next == node) {
                before->Next = node->Next;
                break;
            }
    }
    if (record->Head != nullptr) return;
    if (GetWindowLongPtrW(record->Window, GWLP_WNDPROC) != reinterpret_cast<LONG_PTR>(&SubclassProc)) return;
    SetWindowLongPtrW(record->Window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record->Saved));
    EndRecord(*record);
}

bool TWindowSubclass::Attached() const { return node_ != nullptr && node_->Record != nullptr; }

bool TWindowSubclass::HasRecord(HWND window) { return window != nullptr && RecordInProperty(window) != nullptr; }

int TWindowSubclass::RecordCount() {
    TSubclassRegistry* registry = TSubclassRegistry::Current();
    return registry == nullptr ? 0 : registry->Count();
}

// ---- the non-client path ----

LRESULT PassOnWithoutVisible(TChainedMessage& message) {
    struct TVisibleCleared {
        HWND Window;
        bool WasVisible;
        explicit TVisibleCleared(HWND window)
            : Window(window), WasVisible((GetWindowLongPtrW(window, GWL_STYLE) & WS_VISIBLE) != 0) {
            if (WasVisible) SetWindowLongPtrW(Window, GWL_STYLE, GetWindowLongPtrW(Window, GWL_STYLE) & ~WS_VISIBLE);
        }
        ~TVisibleCleared() {
            if (WasVisible && IsWindow(Window))
                SetWindowLongPtrW(Window, GWL_STYLE, GetWindowLongPtrW(Window, GWL_STYLE) | WS_VISIBLE);
        }
        TVisibleCleared(const TVisibleCleared&) = delete;
        TVisibleCleared& operator=(const TVisibleCleared&) = delete;
    } cleared(message.Window());
    return message.PassOn();
}
