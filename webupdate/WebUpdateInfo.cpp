#include "webupdate/WebUpdateInfo.h"

#include "framework/rtl/WinApi.h"

#include <ole2.h>

// ---- TWuButtonPanel

void TWuButtonPanel::Publish(TPublisher<TWuButtonPanel>& p) { p.Event(L"OnResize", &TWuButtonPanel::OnResize); }

void TWuButtonPanel::SetBounds(int left, int top, int width, int height) {
    const bool resized = width != Width() || height != Height();
    TPanel::SetBounds(left, top, width, height);
    if (resized && OnResize) OnResize(this);
}

// ---- TWuPageView

namespace {

// Line breaks as the EDIT control wants them.
String WithCrLf(const String& text) {
    String out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r')) out += L'\r';
        out += text[i];
    }
    return out;
}

// Whether the system can render HTML at all: without its HTML engine a browser control comes up
// but stays blank, and the text field is the better view.
bool HtmlEngineAvailable() {
    HMODULE engine = LoadLibraryW(L"mshtml.dll");
    if (engine == nullptr) return false;
    FreeLibrary(engine);
    return true;
}

}  // namespace

TWuPageView::TWuPageView(TComponent* owner) : TWinControl(owner) { SetBounds(0, 0, 200, 150); }

TWuPageView::~TWuPageView() {
    browser_.reset();
    text_field_.reset();
    if (oleInitialized_) OleUninitialize();
}

void TWuPageView::SetPage(const String& html, const String& text) {
    html_ = html;
    text_ = text;
    if (HandleAllocated()) ShowPage();
}

void TWuPageView::CreateHandleDone() {
    TWinControl::CreateHandleDone();
    ShowPage();
}

void TWuPageView::DestroyWnd() {
    browser_.reset();
    text_field_.reset();
    TWinControl::DestroyWnd();
}

void TWuPageView::ShowPage() {
    browser_.reset();
    if (!html_.empty() && CreateBrowser()) {
        text_field_.reset();
        PlaceChildren();
        return;
    }
    if (!text_field_) {
        text_field_.reset(CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                                          WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY |
                                              ES_AUTOVSCROLL,
                                          0, 0, Width(), Height(), Handle(), nullptr, GetModuleHandleW(nullptr),
                                          nullptr));
        if (text_field_) SendMessageW(text_field_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    }
    if (text_field_) SetWindowTextW(text_field_.get(), WithCrLf(text_).c_str());
    PlaceChildren();
}

bool TWuPageView::CreateBrowser() {
    if (!HtmlEngineAvailable()) return false;
    // The system's control container: its window class hosts the control named by the window
    // text, and "MSHTML:" followed by HTML makes it an HTML document of that text, loaded from
    // memory (an address would make it a browser sent there). It stays loaded for the process,
    // as its window class must.
    HMODULE atl = LoadLibraryW(L"atl.dll");
    if (atl == nullptr) return false;
    using TInit = BOOL(WINAPI*)();
    auto init = reinterpret_cast<TInit>(reinterpret_cast<void*>(GetProcAddress(atl, "AtlAxWinInit")));
    if (init == nullptr) return false;
    if (!oleInitialized_) oleInitialized_ = SUCCEEDED(OleInitialize(nullptr));
    if (!oleInitialized_ || !init()) return false;
    const String source = L"MSHTML:" + html_;
    browser_.reset(CreateWindowExW(0, L"AtlAxWin", source.c_str(), WS_CHILD | WS_VISIBLE, 0, 0, Width(), Height(),
                                   Handle(), nullptr, GetModuleHandleW(nullptr), nullptr));
    return static_cast<bool>(browser_);
}

void TWuPageView::PlaceChildren() {
    for (HWND child : {browser_.get(), text_field_.get()})
        if (child != nullptr) MoveWindow(child, 0, 0, Width(), Height(), TRUE);
}

void TWuPageView::SetBounds(int left, int top, int width, int height) {
    TWinControl::SetBounds(left, top, width, height);
    PlaceChildren();
}

// ---- Tfrm_ShowInfoUpdate

Tfrm_ShowInfoUpdate::Tfrm_ShowInfoUpdate(TComponent* owner) : TForm(owner) {
    ReadForm([this] {
        FV_BIND(Panel_Bottom);
        FV_BIND(btn_OK);
        FV_BIND(btn_Cancel);
        FV_BIND(Panel2);
        FV_BIND(chk_FutureUpdate);
        FV_BIND(Panel1);
        FV_BIND(WebBrowser);
        Panel_BottomResize(Panel_Bottom);
    });
}

Tfrm_ShowInfoUpdate::~Tfrm_ShowInfoUpdate() = default;

void Tfrm_ShowInfoUpdate::Publish(TPublisher<Tfrm_ShowInfoUpdate>& p) {
    p.Handler(L"Panel_BottomResize", &Tfrm_ShowInfoUpdate::Panel_BottomResize);
}

void Tfrm_ShowInfoUpdate::Panel_BottomResize(TObject*) {
    // Before the description has been read the buttons are not bound yet.
    if (btn_OK == nullptr || btn_Cancel == nullptr) return;
    const int left = (Panel_Bottom->Width() - btn_OK->Width() - btn_Cancel->Width() - 6) / 2;
    btn_OK->SetBounds(left, btn_OK->Top(), btn_OK->Width(), btn_OK->Height());
    btn_Cancel->SetBounds(left + btn_OK->Width() + 3, btn_Cancel->Top(), btn_Cancel->Width(), btn_Cancel->Height());
}
