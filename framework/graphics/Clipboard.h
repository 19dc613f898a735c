// The system clipboard: pictures go on it as a device-independent bitmap or an enhanced metafile;
// text is read from it.
#pragma once

#include "framework/graphics/GdiHandles.h"
#include "framework/rtl/System.h"
#include "framework/rtl/WinApi.h"

class TGraphic;
class TPicture;

FV_DECLARE_EXCEPTION(EClipboardException, Exception);

class TClipboard : public TObject {
public:
    TClipboard();
    ~TClipboard() override;
    String ClassName() const override { return L"TClipboard"; }

    // Open and Close nest; operations open the clipboard themselves when it is not open.
    void Open();
    void Close();
    void Clear();
    bool HasFormat(UINT format) const;

    // The text on the clipboard (CF_UNICODETEXT); empty when it holds none.
    String AsText();

    // Metafiles as CF_ENHMETAFILE; every other graphic as CF_DIB. Replaces the clipboard's contents.
    void Assign(TGraphic& graphic);
    void Assign(TPicture& picture);

private:
    UniqueWindow window_;  // clipboard owner: SetClipboardData fails without one
    int openCount_ = 0;
};

// The process-wide clipboard object.
TClipboard& Clipboard();
