// A reopened résumé in its preview: its file is the pages' stream while the preview shows it,
// and free to be saved over once the preview has closed.
#include "app/CurriculoTemplate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "app/Curriculo.h"
#include "app/PageTexts_test.h"
#include "framework/forms/Forms.h"
#include "framework/graphics/Picture.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/StringUtils.h"
#include "report/previewwindow/QRStandardPreview.h"
#include "report/printer/QRPrinter.h"

namespace {

std::vector<Byte> FileBytes(const String& path) {
    TFileStream in(path, fmOpenRead | fmShareDenyNone);
    std::vector<Byte> bytes(static_cast<size_t>(in.Size()));
    in.ReadBuffer(bytes.data(), in.Size());
    return bytes;
}

std::vector<String> Texts(TQRPrinter& printer) {
    std::vector<String> texts;
    for (int n = 1; n <= printer.PageCount(); ++n)
        for (const TTextRecord& r : TextRecords(*printer.PageMetafile(n))) texts.push_back(r.Text);
    return texts;
}

bool Has(const std::vector<String>& texts, const String& text) {
    return std::find(texts.begin(), texts.end(), text) != texts.end();
}

TCurriculoState ResumeWithCompany(const String& company) {
    TResumeData d;
    d.Nome = L"João Conceição";
    d.Experiencias[0] = {company, L"Caixa", L"Atendimento", L"01/02/2001", L"01/03/2002", L"(81)1111-0001"};
    return FillCurriculo(d, TFillVariant::Save, {});
}

// The preview window of the printer, closed the way the user closes it, and freed.
void ClosePreview(TQRPrinter& printer) {
    auto* preview = dynamic_cast<TForm*>(printer.PreviewForm());
    ASSERT_NE(preview, nullptr);
    preview->Close();
    Application().ProcessMessages();
}

struct OpenedResume : ::testing::Test {
    OpenedResume() {
        curriculo.SetShowProgress(false);
        ForceDirectories(folder);
    }
    ~OpenedResume() override {
        DeleteFile(file);
        RemoveDir(folder);
    }
    void Save(const String& company) {
        output.Apply(ResumeWithCompany(company), photo, [](TFillStep) {});
        output.SavePreparedReport(file);
    }

    const String folder = GetTempDirectory() + L"fv-reopen-" + std::to_wstring(GetCurrentProcessId());
    const String file = folder + L"\\João Conceição.QRP";
    TLocal<TCurriculo> curriculo{nullptr};
    TCurriculoTemplate output{curriculo};
    TPicture photo;
};

TEST_F(OpenedResume, IsSavedOverOnlyOnceItsPreviewHasClosed) {
    Save(L"Padaria Central");
    output.OpenPreparedReport(file);
    TQRPrinter& shared = SharedReportPrinter();
    ASSERT_TRUE(shared.PreviewShowing());
    const std::vector<Byte> before = FileBytes(file);

    // While the preview shows the file, saving over it is refused, and says why.
    try {
        Save(L"Livraria Norte");
        ADD_FAILURE() << "saved over the file the preview reads";
    } catch (const Exception& e) {
        EXPECT_NE(e.Message().find(L"aberto numa visualização"), String::npos) << StringToUtf8(e.Message());
        EXPECT_NE(e.Message().find(file), String::npos) << StringToUtf8(e.Message());
    }
    EXPECT_EQ(FileBytes(file), before) << "the old file is whole";
    EXPECT_TRUE(Has(Texts(shared), L"Padaria Central")) << "the preview still reads its pages";

    ClosePreview(shared);
    EXPECT_EQ(shared.Status(), qpIdle) << "the pages and their file are let go";
    EXPECT_EQ(shared.Stream(), nullptr);

    Save(L"Livraria Norte");
    output.OpenPreparedReport(file);
    const std::vector<String> texts = Texts(shared);
    EXPECT_TRUE(Has(texts, L"Livraria Norte"));
    EXPECT_FALSE(Has(texts, L"Padaria Central"));
    ClosePreview(shared);
}

TEST_F(OpenedResume, EachPreviewKeepsItsFileUntilItCloses) {
    Save(L"Padaria Central");
    output.OpenPreparedReport(file);
    output.OpenPreparedReport(file);  // the shared printer is busy: another one shows the file too
    std::vector<TQRStandardPreview*> previews;
    for (int i = 0; i < Screen().FormCount(); ++i)
        if (auto* preview = dynamic_cast<TQRStandardPreview*>(Screen().Forms(i))) previews.push_back(preview);
    ASSERT_EQ(previews.size(), 2u);
    TQRPrinter* first = previews[0]->QRPrinter();
    TQRPrinter* second = previews[1]->QRPrinter();
    ASSERT_NE(first, second);

    ClosePreview(*first);
    EXPECT_THROW(Save(L"Livraria Norte"), EQRError) << "the other preview still shows the file";
    ClosePreview(*second);
    EXPECT_EQ(second->Stream(), nullptr);
    Save(L"Livraria Norte");

    // A later file goes to a printer whose preview has closed: no third one is made.
    output.OpenPreparedReport(file);
    output.OpenPreparedReport(file);
    int shown = 0;
    for (int i = 0; i < Screen().FormCount(); ++i)
        if (auto* preview = dynamic_cast<TQRStandardPreview*>(Screen().Forms(i))) {
            EXPECT_TRUE(preview->QRPrinter() == first || preview->QRPrinter() == second);
            EXPECT_TRUE(Has(Texts(*preview->QRPrinter()), L"Livraria Norte"));
            ++shown;
        }
    EXPECT_EQ(shown, 2);
    ClosePreview(*first);
    ClosePreview(*second);
}

}  // namespace
