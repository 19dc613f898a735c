#include "framework/forms/SystemPrintDialog.h"

#include <commdlg.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "framework/controls/ControlsHost.h"
#include "framework/forms/Application.h"
#include "framework/printers/Printer.h"
#include "framework/rtl/CallbackError.h"
#include "framework/rtl/Format.h"

namespace {

const wchar_t kContextProperty[] = L"FolhavidaPrintDialog";

struct HookContext {
    TPrintDialogData* Data = nullptr;
    HWND Dialog = nullptr;  // the print dialog itself (its setup dialog shares the hook)
};

UniqueGlobal GlobalBlock(const void* data, size_t size) {
    UniqueGlobal block(GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
    if (!block) throw EOutOfMemory(L"Out of memory");
    void* target = GlobalLock(block.get());
    if (data) std::memcpy(target, data, size);
    GlobalUnlock(block.get());
    return block;
}

// DEVNAMES: four offsets (in characters from the block's start), then the driver, device and
// port names, each ending in a zero.
UniqueGlobal DevNamesBlock(const TPrintDialogData& data) {
    std::vector<wchar_t> block(sizeof(DEVNAMES) / sizeof(wchar_t));
    auto append = [&block](const String& text) {
        const size_t offset = block.size();
        block.insert(block.end(), text.begin(), text.end());
        block.push_back(L'\0');
        return static_cast<WORD>(offset);
    };
    DEVNAMES header{};
    header.wDriverOffset = append(data.Driver);
    header.wDeviceOffset = append(data.Device);
    header.wOutputOffset = append(data.Port);
    std::memcpy(block.data(), &header, sizeof header);
    return GlobalBlock(block.data(), block.size() * sizeof(wchar_t));
}

String NameAt(const DEVNAMES* names, WORD offset, size_t blockChars) {
    if (offset >= blockChars) return {};
    const wchar_t* text = reinterpret_cast<const wchar_t*>(names) + offset;
    return String(text, wcsnlen(text, blockChars - offset));
}

void ReadDevNames(HGLOBAL block, TPrintDialogData& data) {
    const size_t chars = GlobalSize(block) / sizeof(wchar_t);
    const auto* names = static_cast<const DEVNAMES*>(GlobalLock(block));
    if (!names) return;
    data.Driver = NameAt(names, names->wDriverOffset, chars);
    data.Device = NameAt(names, names->wDeviceOffset, chars);
    data.Port = NameAt(names, names->wOutputOffset, chars);
    GlobalUnlock(block);
}

std::vector<Byte> ReadDevMode(HGLOBAL block) {
    const size_t size = GlobalSize(block);
    const auto* bytes = static_cast<const Byte*>(GlobalLock(block));
    if (!bytes) return {};
    std::vector<Byte> copy(bytes, bytes + size);
    GlobalUnlock(block);
    return copy;
}

// Across the screen's middle, at a third of its height; size and z-order kept, not activated.
void CenterDialogWindow(HWND dialog) {
    RECT bounds{};
    GetWindowRect(dialog, &bounds);
    const int width = bounds.right - bounds.left, height = bounds.bottom - bounds.top;
    const int x = (GetSystemMetrics(SM_CXSCREEN) - width) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - height) / 3;
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void RunEvent(const std::function<void()>& event) {
    if (event) Guarded(nullptr, event);
}

UINT_PTR CALLBACK PrintDialogHook(HWND dialog, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* context = reinterpret_cast<HookContext*>(reinterpret_cast<PRINTDLGW*>(lParam)->lCustData);
        CenterDialogWindow(dialog);
        if (context && !context->Dialog) {
            context->Dialog = dialog;
            SetPropW(dialog, kContextProperty, context);
            RunEvent(context->Data->OnShow);
        }
        return TRUE;
    }
    auto* context = static_cast<HookContext*>(GetPropW(dialog, kContextProperty));
    if (!context) return 0;
    if (message == WM_DESTROY) RunEvent(context->Data->OnClose);
    if (message == WM_NCDESTROY) RemovePropW(dialog, kContextProperty);
    return 0;
}

// Disables this thread's other windows while the dialog runs and gives the activation back.
class TaskModality {
public:
    TaskModality() : active_(GetActiveWindow()) {
        EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(this));
        error_.Rethrow();
        for (HWND window : disabled_) EnableWindow(window, FALSE);
    }
    ~TaskModality() {
        for (HWND window : disabled_)
            if (IsWindow(window)) EnableWindow(window, TRUE);
        if (active_ && IsWindow(active_)) SetActiveWindow(active_);
    }
    TaskModality(const TaskModality&) = delete;
    TaskModality& operator=(const TaskModality&) = delete;

private:
    static BOOL CALLBACK CollectEnabled(HWND window, LPARAM param) {
        auto* self = reinterpret_cast<TaskModality*>(param);
        return self->error_.Run([&] {
            if (IsWindowVisible(window) && IsWindowEnabled(window)) self->disabled_.push_back(window);
            return true;
        });
    }

    HWND active_;
    std::vector<HWND> disabled_;
    TCallbackError error_;
};

WORD PageNumber(int page) { return static_cast<WORD>(std::clamp(page, 0, 0xFFFF)); }

}  // namespace

bool RunSystemPrintDialog(TPrintDialogData& data) {
    HookContext context{&data, nullptr};
    UniqueGlobal devNames = data.Device.empty() ? UniqueGlobal() : DevNamesBlock(data);
    UniqueGlobal devMode = data.DevMode.empty() ? UniqueGlobal() : GlobalBlock(data.DevMode.data(), data.DevMode.size());

    PRINTDLGW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hInstance = GetModuleHandleW(nullptr);
    dialog.hwndOwner = Application().Handle();
    dialog.Flags = data.Flags | PD_ENABLEPRINTHOOK | PD_ENABLESETUPHOOK;
    dialog.nFromPage = PageNumber(data.FromPage);
    dialog.nToPage = PageNumber(data.ToPage);
    dialog.nMinPage = PageNumber(data.MinPage);
    dialog.nMaxPage = PageNumber(data.MaxPage);
    dialog.nCopies = PageNumber(data.Copies);
    dialog.lCustData = reinterpret_cast<LPARAM>(&context);
    dialog.lpfnPrintHook = PrintDialogHook;
    dialog.lpfnSetupHook = PrintDialogHook;
    // The dialog may free the blocks it is given and hand back others: from here on the
    // record's handles are the ones to free.
    dialog.hDevNames = devNames.release();
    dialog.hDevMode = devMode.release();

    BOOL confirmed = FALSE;
    {
        Application().CancelHint();
        TaskModality modality;
        confirmed = PrintDlgW(&dialog);
    }
    devNames.reset(dialog.hDevNames);
    devMode.reset(dialog.hDevMode);
    if (!confirmed) {
        const DWORD error = CommDlgExtendedError();
        if (error == PDERR_NODEFAULTPRN || error == PDERR_NODEVICES) throw EPrinter(SNoDefaultPrinter);
        if (error != 0) throw EPrinter(Format(L"The print dialog failed (error %x)", {static_cast<int>(error)}));
        return false;
    }
    if (devNames) ReadDevNames(devNames.get(), data);
    if (devMode) data.DevMode = ReadDevMode(devMode.get());
    data.Flags = dialog.Flags;
    data.FromPage = dialog.nFromPage;
    data.ToPage = dialog.nToPage;
    data.Copies = dialog.nCopies;
    return true;
}
