// The updater's window as its stored description builds it: the component's settings and the
// handlers bound to its events.
#include <gtest/gtest.h>

#include "framework/controls/Buttons.h"
#include "framework/controls/ComCtrls.h"
#include "framework/controls/StdCtrls.h"
#include "framework/forms/Forms.h"
#include "framework/graphics/Picture.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/rtl/FileUtils.h"
#include "updater/MainWindow.h"
#include "updater/MessageWindow.h"
#include "updater/UpdateServer.h"
#include "webupdate/WebUpdate.h"

TEST(UpdaterWindow, TheStoredComponentAndItsHandlers) {
    TLocal<Tform_MainWindow> window(nullptr);
    EXPECT_EQ(window.Caption(), L"Folhavida - Atualizador");
    EXPECT_EQ(window.ClientWidth(), 352);
    EXPECT_EQ(window.ClientHeight(), 192);
    EXPECT_EQ(window.btn_Update->Caption(), L"Atualizar");
    EXPECT_EQ(window.btn_Exit->Caption(), L"Desconectar");
    EXPECT_EQ(window.ProgressBar->Width(), 321);
    // The picture and the buttons' glyphs, from the program's resources.
    ASSERT_NE(window.Image1->Picture()->Graphic(), nullptr);
    EXPECT_EQ(window.Image1->Picture()->Graphic()->Width(), 57);
    EXPECT_EQ(window.btn_Update->Glyph()->Width(), 16);
    EXPECT_EQ(window.btn_Exit->Glyph()->Width(), 16);

    TWebUpdate& wu = *window.WebUpdate;
    ConfigureUpdateServer(wu);  // as the program does after creating the window
    EXPECT_EQ(wu.ProductInfo()->Version(), L"0");
    EXPECT_EQ(wu.ProductInfo()->VersionFormat(), vfStandard);
    EXPECT_EQ(wu.ProductInfo()->URL(), L"http://127.0.0.1/folhavida/update.htm");
    EXPECT_EQ(wu.HTTPPort(), 8080u) << "from the build setting of this test program";
    EXPECT_EQ(wu.Options(), (TWuUpdateOptions{uoRunUpdate, uoOverwrite}));
    EXPECT_EQ(wu.InfoCaption()->OkButton(), L"&OK");
    EXPECT_EQ(wu.InfoCaption()->CancelButton(), L"&Cancelar");
    EXPECT_EQ(wu.InfoCaption()->CheckForUpdate(), L"Perguntar no futuro.");
    EXPECT_EQ(wu.TagInfo()->Version(), L"wuVersion");
    EXPECT_EQ(wu.TargetFolder(), ProgramFolder());

    EXPECT_TRUE(wu.OnBeforeGetInfo && wu.OnAfterGetInfo && wu.OnNoUpdateFound && wu.OnUpdateAvailable &&
                wu.OnBeforeShowInfo && wu.OnAfterShowInfo && wu.OnGetClientFileName && wu.OnClientFileExists &&
                wu.OnBeforeDownload && wu.OnDownload && wu.OnAfterDownload && wu.OnDownloadError &&
                wu.OnCannotExecute);
    // The page's values show as they are, an "&" included.
    for (const TLabel* value : {window.lbl_ProductName, window.lbl_Author, window.lbl_Email})
        EXPECT_FALSE(value->ShowAccelChar());
}

TEST(UpdaterWindow, TheWaitWindow) {
    TLocal<TForm_Message> wait(nullptr);
    EXPECT_EQ(wait.ClientWidth(), 214);
    EXPECT_EQ(wait.ClientHeight(), 78);
    EXPECT_EQ(wait.BorderStyle(), bsNone);
}
