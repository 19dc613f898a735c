// The preview factory: which window a report printer opens to show its pages, and the progress
// window it shows while it prints stored pages. The windows belong to the preview family, which
// links the forms layer; it installs its factory class here (PreviewInterfaceClass). Until one
// is installed the base class stands in and opens no window.
#pragma once

#include <memory>

#include "framework/classes/Component.h"
#include "framework/rtl/WinApi.h"

class TQRPrinter;

// How the preview shows a page: fitted whole, fitted to its width, or at a chosen percentage. The
// report keeps the state its preview opens with.
FV_ENUM(TQRZoomState, qrZoomToFit, qrZoomToWidth, qrZoomOther, qrZoom100)

// A window that follows a report printer: it receives CM_QRPROGRESS and CM_QRPAGEREADY while it
// is the printer's client. The printer tells it when the printer goes, so that it forgets it.
class IQRPrinterClient {
public:
    virtual ~IQRPrinterClient() = default;
    // The window the messages are posted to (null while it has none).
    virtual HWND ClientHandle() = 0;
    virtual void PrinterDestroyed(TQRPrinter& printer) = 0;
};

class TQRPreviewInterface : public TComponent {
    FV_CLASS(TQRPreviewInterface, TComponent)
public:
    explicit TQRPreviewInterface(TComponent* owner) : TComponent(owner) {}

    // Opens the preview window for the printer and returns it; null in the base.
    virtual TComponent* Show(TQRPrinter& printer);
    virtual TComponent* ShowModal(TQRPrinter& printer);
    // Shows a progress window for printing stored pages, which the printer makes its client
    // while it prints and closes by freeing it; null in the base (no progress is shown).
    // caption: the window's title, empty for the printing one.
    virtual std::unique_ptr<IQRPrinterClient> ShowProgress(TQRPrinter& printer, const String& caption);
};

// The factory class a report printer creates when it shows its preview. Setting one that does not
// derive from TQRPreviewInterface raises EInvalidArgument; null restores the base.
TClass PreviewInterfaceClass();
void SetPreviewInterfaceClass(TClass factory);
// A new instance of the factory class (no owner).
std::unique_ptr<TQRPreviewInterface> CreatePreviewInterface();
