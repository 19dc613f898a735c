#include "updater/MainWindow.h"

#include <memory>

#include "framework/controls/Buttons.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "framework/forms/Dialogs.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Picture.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Format.h"
#include "framework/rtl/ProgramResources.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/WinApi.h"
#include "updater/MessageWindow.h"
#include "webupdate/ProgramStart.h"
#include "webupdate/UpdateAddress.h"
#include "webupdate/WebUpdate.h"

Tform_MainWindow* form_MainWindow = nullptr;

Tform_MainWindow::Tform_MainWindow(TComponent* owner) : TForm(owner) {
    ReadForm([this] {
        FV_BIND(grp_ComponentUpdate);
        FV_BIND(lbl_ProductName);
        FV_BIND(lbl_Author);
        FV_BIND(lbl_Email);
        FV_BIND(lbl_File);
        FV_BIND(Bevel1);
        FV_BIND(Image1);
        FV_BIND(ProgressBar);
        FV_BIND(btn_Update);
        FV_BIND(btn_Exit);
        FV_BIND(WebUpdate);
    });
}

Tform_MainWindow::~Tform_MainWindow() = default;

void Tform_MainWindow::Publish(TPublisher<Tform_MainWindow>& p) {
    p.Handler(L"FormCreate", &Tform_MainWindow::FormCreate);
    p.Handler(L"FormClose", &Tform_MainWindow::FormClose);
    p.Handler(L"BitBtn1Click", &Tform_MainWindow::BitBtn1Click);
    p.Handler(L"btn_ExitClick", &Tform_MainWindow::btn_ExitClick);
    p.Handler(L"WebUpdateBeforeGetInfo", &Tform_MainWindow::WebUpdateBeforeGetInfo);
    p.Handler(L"WebUpdateAfterGetInfo", &Tform_MainWindow::WebUpdateAfterGetInfo);
    p.Handler(L"WebUpdateNoUpdateFound", &Tform_MainWindow::WebUpdateNoUpdateFound);
    p.Handler(L"WebUpdateUpdateAvailable", &Tform_MainWindow::WebUpdateUpdateAvailable);
    p.Handler(L"WebUpdateBeforeShowInfo", &Tform_MainWindow::WebUpdateBeforeShowInfo);
    p.Handler(L"WebUpdateAfterShowInfo", &Tform_MainWindow::WebUpdateAfterShowInfo);
    p.Handler(L"WebUpdateGetClientFileName", &Tform_MainWindow::WebUpdateGetClientFileName);
    p.Handler(L"WebUpdateClientFileExists", &Tform_MainWindow::WebUpdateClientFileExists);
    p.Handler(L"WebUpdateBeforeDownload", &Tform_MainWindow::WebUpdateBeforeDownload);
    p.Handler(L"WebUpdateDownload", &Tform_MainWindow::WebUpdateDownload);
    p.Handler(L"WebUpdateAfterDownload", &Tform_MainWindow::WebUpdateAfterDownload);
    p.Handler(L"WebUpdateDownloadError", &Tform_MainWindow::WebUpdateDownloadError);
    p.Handler(L"WebUpdateCannotExecute", &Tform_MainWindow::WebUpdateCannotExecute);
}

namespace {

std::unique_ptr<TBitmap> BitmapResource(const wchar_t* name) {
    const std::string_view data = ProgramRcData(name);
    TMemoryStream stream;
    stream.Write(data.data(), static_cast<Int64>(data.size()));
    stream.Seek(0, soFromBeginning);
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->LoadFromStream(stream);
    return bitmap;
}

}  // namespace

void Tform_MainWindow::FormCreate(TObject*) {
    WebUpdate->SetTargetFolder(ProgramFolder());
    WebUpdate->RemoveLeftoverDownloads();
    Image1->Picture()->Assign(*BitmapResource(L"UPDATE_PICTURE"));
    btn_Update->SetGlyph(*BitmapResource(L"GLYPH_UPDATE"));
    btn_Exit->SetGlyph(*BitmapResource(L"GLYPH_DISCONNECT"));
}

void Tform_MainWindow::StartFolhavida() {
    // By its full path in the updater's own folder: the same program, found without a search.
    StartProgram(ProgramFolder() + L"Folhavida.exe", String());
}

void Tform_MainWindow::FormClose(TObject*, TCloseAction&) {
    if (WebUpdate->Busy()) {
        // The check is further up this call stack (its transfer lets this close run): stop it,
        // and start Folhavida once it has ended and cleaned up.
        WebUpdate->Cancel();
        restartAfterCheck_ = true;
        return;
    }
    StartFolhavida();
}

void Tform_MainWindow::BitBtn1Click(TObject*) {
    WebUpdate->CheckAndUpdate();
    if (restartAfterCheck_) {
        restartAfterCheck_ = false;
        StartFolhavida();
    }
}

void Tform_MainWindow::btn_ExitClick(TObject*) { Close(); }

void Tform_MainWindow::WebUpdateBeforeGetInfo(TObject*) {
    Form_Message->panel_message->SetCaption(L"Verificando se há atualizações...");
    Form_Message->Show();
    Form_Message->Repaint();
}

void Tform_MainWindow::WebUpdateAfterGetInfo(TObject*) {
    // What the page says must not reorder or hide the text around it.
    lbl_ProductName->SetCaption(DisplayableText(WebUpdate->WebProductName()));
    lbl_Author->SetCaption(DisplayableText(WebUpdate->WebAuthor()));
    lbl_Email->SetCaption(DisplayableText(WebUpdate->WebEmail()));
    HideWaitWindow();
}

void Tform_MainWindow::WebUpdateNoUpdateFound(TObject*) {
    MessageDlg(L"Nenhuma atualização disponível!", mtError, TMsgDlgButtons{mbOK}, 0);
}

void Tform_MainWindow::WebUpdateUpdateAvailable(TObject*, const String&, const String&, bool& CanUpdate) {
    CanUpdate = MessageDlg(L"Uma nova versão está disponível \r\nGostaria de atualizar agora?", mtWarning,
                           TMsgDlgButtons{mbYes, mbNo}, 0) == mrYes;
}

void Tform_MainWindow::WebUpdateBeforeShowInfo(TObject*, bool& ShowInfo, bool&) { ShowInfo = true; }

void Tform_MainWindow::WebUpdateAfterShowInfo(TObject*, bool) {}

void Tform_MainWindow::WebUpdateGetClientFileName(TObject*, String&) {
    MessageDlg(L"A atualização será feita.", mtInformation, TMsgDlgButtons{mbOK}, 0);
}

void Tform_MainWindow::WebUpdateClientFileExists(TObject*, String&, bool&) {}

void Tform_MainWindow::WebUpdateBeforeDownload(TObject*, const String& FileName) {
    lbl_File->SetCaption(Format(L"Baixando arquivo %s", {ExtractFileName(FileName)}));
}

void Tform_MainWindow::WebUpdateDownload(TObject*, int Total, int Downloaded) {
    ProgressBar->SetMax(Total);
    ProgressBar->SetPosition(Downloaded);
}

void Tform_MainWindow::WebUpdateAfterDownload(TObject*, const String&) {
    // Also fired after a failed or cancelled transfer, which must not read as a success.
    if (WebUpdate->TransferOk()) MessageDlg(L"A atualização foi baixada.", mtInformation, TMsgDlgButtons{mbOK}, 0);
}

void Tform_MainWindow::HideWaitWindow() {
    if (Form_Message->Visible()) Form_Message->Close();
}

void Tform_MainWindow::WebUpdateDownloadError(TObject*) {
    // A failed page read reports before the wait window would close: it must not stay behind.
    HideWaitWindow();
    MessageDlg(L"Não foi possível baixar a atualização.", mtError, TMsgDlgButtons{mbOK}, 0);
}

void Tform_MainWindow::WebUpdateCannotExecute(TObject*) {
    MessageDlg(L"Não foi possível iniciar a atualização.", mtError, TMsgDlgButtons{mbOK}, 0);
}
