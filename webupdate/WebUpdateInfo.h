// The update-information dialog: the page in a browser area above a check box and the OK and
// Cancel buttons, which stay centred in their panel.
//
// The browser area hosts the system's HTML view where the system can render HTML; where it cannot
// (no HTML engine, or no control container), it shows the page as plain text, so the dialog is
// usable and its information readable either way. Either way it shows the page already read, from
// memory: it is never sent to an address, since the page comes from whatever answered on the
// network and could name a local file or a network share.
#pragma once

#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "framework/forms/Forms.h"
#include "framework/graphics/GdiHandles.h"

class TButton;
class TCheckBox;

// A panel that tells its owner when its size changes.
class TWuButtonPanel : public TPanel {
    FV_CLASS(TWuButtonPanel, TPanel)
public:
    explicit TWuButtonPanel(TComponent* owner) : TPanel(owner) {}
    static void Publish(TPublisher<TWuButtonPanel>& p);
    void SetBounds(int left, int top, int width, int height) override;

    TNotifyEvent OnResize;
};

// The browser area: the system's HTML view of the page's HTML, or the page's text in a read-only,
// scrolling text field (a system EDIT child).
class TWuPageView : public TWinControl {
    FV_CLASS(TWuPageView, TWinControl)
public:
    explicit TWuPageView(TComponent* owner);
    ~TWuPageView() override;

    // Shows html in the HTML view when there is one, else text.
    void SetPage(const String& html, const String& text);
    // Whether the HTML view shows the page (rather than the text field).
    bool BrowserShown() const { return static_cast<bool>(browser_); }
    const String& Html() const { return html_; }
    const String& PageText() const { return text_; }

    void SetBounds(int left, int top, int width, int height) override;

protected:
    void CreateHandleDone() override;
    void DestroyWnd() override;

private:
    void ShowPage();
    bool CreateBrowser();
    void PlaceChildren();

    String html_;
    String text_;
    UniqueWindow text_field_;
    UniqueWindow browser_;
    bool oleInitialized_ = false;
};

class Tfrm_ShowInfoUpdate : public TForm {
    FV_CLASS(Tfrm_ShowInfoUpdate, TForm)
public:
    explicit Tfrm_ShowInfoUpdate(TComponent* owner);
    ~Tfrm_ShowInfoUpdate() override;
    static void Publish(TPublisher<Tfrm_ShowInfoUpdate>& p);

    // Centres the two buttons: OK at (width - both widths - 6) / 2, Cancel 3 pixels after it.
    void Panel_BottomResize(TObject* Sender);

    TWuButtonPanel* Panel_Bottom = nullptr;
    TButton* btn_OK = nullptr;
    TButton* btn_Cancel = nullptr;
    TPanel* Panel2 = nullptr;
    TCheckBox* chk_FutureUpdate = nullptr;
    TPanel* Panel1 = nullptr;
    TWuPageView* WebBrowser = nullptr;
};
