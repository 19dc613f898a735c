#include "framework/forms/Dialogs.h"

#include <algorithm>

#include <commdlg.h>

#include "framework/controls/StdCtrls.h"
#include "framework/forms/Application.h"

namespace {

struct TButtonKind {
    TMsgDlgBtn Button;
    const wchar_t* Name;
    const wchar_t* Caption;
    TModalResult Result;
};

const TButtonKind ButtonKinds[] = {
    {mbYes, L"Yes", L"&Sim", mrYes},
    {mbNo, L"No", L"&Não", mrNo},
    {mbOK, L"OK", L"OK", mrOk},
    {mbCancel, L"Cancel", L"Cancelar", mrCancel},
    {mbAbort, L"Abort", L"&Anular", mrAbort},
    {mbRetry, L"Retry", L"&Repetir", mrRetry},
    {mbIgnore, L"Ignore", L"&Ignorar", mrIgnore},
    {mbAll, L"All", L"&Todos", mrAll},
    {mbNoToAll, L"NoToAll", L"N&ão para todos", mrNoToAll},
    {mbYesToAll, L"YesToAll", L"Sim para &todos", mrYesToAll},
    {mbHelp, L"Help", L"&Ajuda", mrNone},
};

const wchar_t* DialogCaption(TMsgDlgType type) {
    switch (type) {
    case mtWarning: return L"Aviso";
    case mtError: return L"Erro";
    case mtInformation: return L"Informação";
    case mtConfirmation: return L"Confirmação";
    default: return nullptr;
    }
}

HICON DialogIcon(TMsgDlgType type) {
    switch (type) {
    case mtWarning: return LoadIconW(nullptr, IDI_WARNING);
    case mtError: return LoadIconW(nullptr, IDI_ERROR);
    case mtInformation: return LoadIconW(nullptr, IDI_INFORMATION);
    case mtConfirmation: return LoadIconW(nullptr, IDI_QUESTION);
    default: return nullptr;
    }
}

constexpr int Margin = 12;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int ButtonSpacing = 8;

}  // namespace

// ---- message dialogs ----

TMessageForm::TMessageForm(TComponent* owner, const String& message, TMsgDlgType type, TMsgDlgButtons buttons)
    : TForm(owner), message_(message) {
    NONCLIENTMETRICSW ncm{};
    ncm.cbSize = sizeof(ncm);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0)) {
        Font()->SetName(ncm.lfMessageFont.lfFaceName);
        Font()->SetHeight(ncm.lfMessageFont.lfHeight);
    }
    SetBorderStyle(bsDialog);
    SetPosition(poScreenCenter);
    const wchar_t* caption = DialogCaption(type);
    SetCaption(caption != nullptr ? String(caption) : Application().Title());
    icon_ = DialogIcon(type);
    Layout(buttons);
}

TMessageForm::~TMessageForm() = default;

TRect TMessageForm::TextRect() const {
    int left = Margin + (icon_ != nullptr ? GetSystemMetrics(SM_CXICON) + Margin : 0);
    const auto screen = ScreenDC();
    const UniqueDC dc(CreateCompatibleDC(screen.get()));
    RECT r{0, 0, GetSystemMetrics(SM_CXSCREEN) / 2, 0};
    {
        SelectionGuard font(dc.get(), Font()->Handle());
        DrawTextW(dc.get(), message_.c_str(), static_cast<int>(message_.size()), &r,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    }
    return Bounds(left, Margin, r.right, r.bottom);
}

void TMessageForm::Layout(TMsgDlgButtons buttons) {
    std::vector<const TButtonKind*> kinds;
    for (const TButtonKind& k : ButtonKinds)
        if (buttons.Contains(k.Button)) kinds.push_back(&k);
    if (kinds.empty()) kinds.push_back(&ButtonKinds[2]);  // a dialog always has a way out

    TRect text = TextRect();
    int iconHeight = icon_ != nullptr ? GetSystemMetrics(SM_CYICON) : 0;
    int contentBottom = Margin + std::max(text.Height(), iconHeight);
    int buttonsWidth = static_cast<int>(kinds.size()) * (ButtonWidth + ButtonSpacing) - ButtonSpacing;
    int clientWidth = std::max(text.Right + Margin, buttonsWidth + 2 * Margin);
    int buttonTop = contentBottom + Margin;
    SetClientWidth(clientWidth);
    SetClientHeight(buttonTop + ButtonHeight + Margin);

    bool hasCancel = buttons.Contains(mbCancel);
    TMsgDlgBtn defaultButton = buttons.Contains(mbOK) ? mbOK : buttons.Contains(mbYes) ? mbYes : kinds.front()->Button;
    TMsgDlgBtn cancelButton = hasCancel ? mbCancel : buttons.Contains(mbNo) ? mbNo : kinds.back()->Button;
    int x = (clientWidth - buttonsWidth) / 2;
    for (const TButtonKind* k : kinds) {
        auto* button = new TButton(this);
        button->SetName(k->Name);
        button->SetParent(this);
        button->SetCaption(k->Caption);
        button->SetBounds(x, buttonTop, ButtonWidth, ButtonHeight);
        button->SetModalResult(k->Result);
        button->SetDefault(k->Button == defaultButton);
        button->SetCancel(k->Button == cancelButton);
        if (k->Button == defaultButton) SetActiveControl(button);
        x += ButtonWidth + ButtonSpacing;
    }
}

void TMessageForm::Paint() {
    HDC dc = Canvas().Handle();
    if (icon_ != nullptr) DrawIcon(dc, Margin, Margin, icon_);
    TRect text = TextRect();
    RECT r{text.Left, text.Top, text.Right, text.Bottom};
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ColorToRGB(clWindowText));
    SelectionGuard font(dc, Font()->Handle());
    DrawTextW(dc, message_.c_str(), static_cast<int>(message_.size()), &r, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
}

std::unique_ptr<TMessageForm> CreateMessageDialog(const String& message, TMsgDlgType type, TMsgDlgButtons buttons) {
    return std::make_unique<TMessageForm>(nullptr, message, type, buttons);
}

int MessageDlg(const String& message, TMsgDlgType type, TMsgDlgButtons buttons, int) {
    auto form = CreateMessageDialog(message, type, buttons);
    return form->ShowModal();
}

void ShowMessage(const String& message) { MessageDlg(message, mtCustom, TMsgDlgButtons{mbOK}); }

// ---- file dialogs ----

TOpenDialog::TOpenDialog(TComponent* owner) : TComponent(owner), files_(std::make_unique<TStringList>()) {}
TOpenDialog::~TOpenDialog() = default;

void TOpenDialog::Publish(TPublisher<TOpenDialog>& p) {
    p.Property(L"Title", &TOpenDialog::Title, &TOpenDialog::SetTitle).Default(L"");
    p.Property(L"Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter).Default(L"");
    p.Property(L"FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex).Default(1);
    p.Property(L"FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName).Default(L"");
    p.Property(L"InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir).Default(L"");
    p.Property(L"DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt).Default(L"");
    p.Property(L"Options", &TOpenDialog::Options, &TOpenDialog::SetOptions)
        .Default(TOpenOptions{ofHideReadOnly, ofEnableSizing});
}

bool TOpenDialog::Execute() { return Run(false); }

namespace {

// Centres the dialog over the window it belongs to, inside that window's screen: left to itself
// the file dialog opens at the screen's top-left corner, away from the window that asked for it.
void CentreOverOwner(HWND dialog) {
    HWND owner = GetWindow(dialog, GW_OWNER);
    if (owner == nullptr || !IsWindowVisible(owner)) return;
    RECT o, d;
    GetWindowRect(owner, &o);
    GetWindowRect(dialog, &d);
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &monitor)) return;
    const RECT& area = monitor.rcWork;
    const int w = d.right - d.left, h = d.bottom - d.top;
    const int x = std::clamp((o.left + o.right - w) / 2, area.left, std::max(area.left, area.right - w));
    const int y = std::clamp((o.top + o.bottom - h) / 2, area.top, std::max(area.top, area.bottom - h));
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// The hook of an explorer-style dialog runs in a child of the dialog: the dialog is its parent.
UINT_PTR CALLBACK FileDialogHook(HWND child, UINT message, WPARAM, LPARAM lParam) {
    if (message == WM_NOTIFY && reinterpret_cast<const OFNOTIFYW*>(lParam)->hdr.code == CDN_INITDONE)
        CentreOverOwner(GetParent(child));
    return 0;
}

}  // namespace

bool TOpenDialog::Run(bool save) {
    static const struct {
        TOpenOption Option;
        DWORD Flag;
    } flags[] = {
        {ofReadOnly, OFN_READONLY}, {ofOverwritePrompt, OFN_OVERWRITEPROMPT}, {ofHideReadOnly, OFN_HIDEREADONLY},
        {ofNoChangeDir, OFN_NOCHANGEDIR}, {ofShowHelp, OFN_SHOWHELP}, {ofNoValidate, OFN_NOVALIDATE},
        {ofAllowMultiSelect, OFN_ALLOWMULTISELECT}, {ofExtensionDifferent, OFN_EXTENSIONDIFFERENT},
        {ofPathMustExist, OFN_PATHMUSTEXIST}, {ofFileMustExist, OFN_FILEMUSTEXIST},
        {ofCreatePrompt, OFN_CREATEPROMPT}, {ofShareAware, OFN_SHAREAWARE},
        {ofNoReadOnlyReturn, OFN_NOREADONLYRETURN}, {ofNoTestFileCreate, OFN_NOTESTFILECREATE},
        {ofNoNetworkButton, OFN_NONETWORKBUTTON}, {ofNoLongNames, OFN_NOLONGNAMES},
        {ofNoDereferenceLinks, OFN_NODEREFERENCELINKS}, {ofEnableIncludeNotify, OFN_ENABLEINCLUDENOTIFY},
        {ofEnableSizing, OFN_ENABLESIZING},
    };
    String filter = filter_;
    std::replace(filter.begin(), filter.end(), L'|', L'\0');
    filter.append(2, L'\0');
    std::vector<wchar_t> buffer(32768, L'\0');
    std::copy_n(fileName_.begin(), std::min(fileName_.size(), buffer.size() - 1), buffer.begin());
    String defaultExt = defaultExt_;
    if (!defaultExt.empty() && defaultExt[0] == L'.') defaultExt.erase(0, 1);

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.hwndOwner = Application().ActiveWindowHandle();
    ofn.lpstrFilter = filter_.empty() ? nullptr : filter.c_str();
    ofn.nFilterIndex = static_cast<DWORD>(std::max(filterIndex_, 0));
    ofn.lpstrFile = buffer.data();
    ofn.nMaxFile = static_cast<DWORD>(buffer.size());
    ofn.lpstrInitialDir = initialDir_.empty() ? nullptr : initialDir_.c_str();
    ofn.lpstrTitle = title_.empty() ? nullptr : title_.c_str();
    ofn.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();
    for (const auto& f : flags)
        if (options_.Contains(f.Option)) ofn.Flags |= f.Flag;
    if (!options_.Contains(ofOldStyleDialog)) {
        ofn.Flags |= OFN_EXPLORER | OFN_ENABLEHOOK;
        ofn.lpfnHook = FileDialogHook;
    }

    Application().CancelHint();
    BOOL ok = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!ok) return false;

    files_->Clear();
    const wchar_t* p = buffer.data();
    String first = p;
    p += first.size() + 1;
    if (options_.Contains(ofAllowMultiSelect) && *p != L'\0') {
        // A folder followed by the names chosen in it.
        String folder = first;
        if (!folder.empty() && folder.back() != L'\\') folder += L'\\';
        while (*p != L'\0') {
            String name = p;
            files_->Add(folder + name);
            p += name.size() + 1;
        }
    } else {
        files_->Add(first);
    }
    fileName_ = files_->Strings(0);
    filterIndex_ = static_cast<int>(ofn.nFilterIndex);
    if (ofn.Flags & OFN_READONLY) options_.Include(ofReadOnly);
    else options_.Exclude(ofReadOnly);
    return true;
}

bool TSaveDialog::Execute() { return Run(true); }

TOpenPictureDialog::TOpenPictureDialog(TComponent* owner) : TOpenDialog(owner) {
    SetFilter(
        L"All (*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|"
        L"JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|"
        L"Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf");
}
