#include "report/printer/QRPreviewInterface.h"

namespace {
TClass& FactorySlot() {
    static TClass factory = nullptr;
    return factory;
}
}  // namespace

TComponent* TQRPreviewInterface::Show(TQRPrinter&) { return nullptr; }
TComponent* TQRPreviewInterface::ShowModal(TQRPrinter&) { return nullptr; }
std::unique_ptr<IQRPrinterClient> TQRPreviewInterface::ShowProgress(TQRPrinter&, const String&) { return nullptr; }

TClass PreviewInterfaceClass() {
    TClass factory = FactorySlot();
    return factory ? factory : TQRPreviewInterface::StaticClass();
}

void SetPreviewInterfaceClass(TClass factory) {
    if (factory && (!factory->InheritsFrom(TQRPreviewInterface::StaticClass()) || !factory->Factory))
        throw EInvalidArgument(L"Not a preview interface class");
    FactorySlot() = factory;
}

// The class was checked when it was installed: what its factory makes is a preview interface.
std::unique_ptr<TQRPreviewInterface> CreatePreviewInterface() {
    return std::unique_ptr<TQRPreviewInterface>(
        dynamic_cast<TQRPreviewInterface*>(PreviewInterfaceClass()->Factory(nullptr)));
}
