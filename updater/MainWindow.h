// The updater's window: what the page says, the progress of the download, and the buttons
// "Atualizar" (check, download and run) and "Desconectar". However the window closes, Folhavida
// is started again from the updater's folder, once any check still running has ended: closing
// during a download cancels it first.
#pragma once

#include "framework/forms/Forms.h"

class TBevel;
class TBitBtn;
class TGroupBox;
class TImage;
class TLabel;
class TProgressBar;
class TWebUpdate;

class Tform_MainWindow : public TForm {
    FV_CLASS(Tform_MainWindow, TForm)
public:
    explicit Tform_MainWindow(TComponent* owner);
    ~Tform_MainWindow() override;
    static void Publish(TPublisher<Tform_MainWindow>& p);

    TGroupBox* grp_ComponentUpdate = nullptr;
    TLabel* lbl_ProductName = nullptr;
    TLabel* lbl_Author = nullptr;
    TLabel* lbl_Email = nullptr;
    TLabel* lbl_File = nullptr;
    TBevel* Bevel1 = nullptr;
    TImage* Image1 = nullptr;
    TProgressBar* ProgressBar = nullptr;
    TBitBtn* btn_Update = nullptr;
    TBitBtn* btn_Exit = nullptr;
    TWebUpdate* WebUpdate = nullptr;

private:
    void StartFolhavida();
    void HideWaitWindow();

    void FormCreate(TObject* Sender);
    void FormClose(TObject* Sender, TCloseAction& Action);
    void BitBtn1Click(TObject* Sender);
    void btn_ExitClick(TObject* Sender);
    void WebUpdateBeforeGetInfo(TObject* Sender);
    void WebUpdateAfterGetInfo(TObject* Sender);
    void WebUpdateNoUpdateFound(TObject* Sender);
    void WebUpdateUpdateAvailable(TObject* Sender, const String& ActualVersion, const String& NewVersion,
                                  bool& CanUpdate);
    void WebUpdateBeforeShowInfo(TObject* Sender, bool& ShowInfo, bool& CheckForUpdate);
    void WebUpdateAfterShowInfo(TObject* Sender, bool CheckForUpdate);
    void WebUpdateGetClientFileName(TObject* Sender, String& FileName);
    void WebUpdateClientFileExists(TObject* Sender, String& FileName, bool& Overwrite);
    void WebUpdateBeforeDownload(TObject* Sender, const String& FileName);
    void WebUpdateDownload(TObject* Sender, int Total, int Downloaded);
    void WebUpdateAfterDownload(TObject* Sender, const String& FileName);
    void WebUpdateDownloadError(TObject* Sender);
    void WebUpdateCannotExecute(TObject* Sender);

    bool restartAfterCheck_ = false;
};

extern Tform_MainWindow* form_MainWindow;
