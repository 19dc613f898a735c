#include "report/previewwindow/PreviewWindowRegistration.h"

#include "framework/forms/FormsRegistration.h"
#include "report/bands/BandsRegistration.h"
#include "report/preview/QRPreview.h"
#include "report/previewwindow/QRProgressForm.h"
#include "report/previewwindow/QRSearchDialog.h"
#include "report/previewwindow/QRStandardPreview.h"

void RegisterReportPreviewWindowClasses() {
    RegisterFormsClasses();
    RegisterReportBandsClasses();
    RegisterClasses<TQRPreviewImage, TQRPreview>();
    RegisterClasses<TQRStandardPreviewInterface, TQRStandardPreview, TSearchDlg, TQRProgressForm>();
    SetPreviewInterfaceClass(TQRStandardPreviewInterface::StaticClass());
}
