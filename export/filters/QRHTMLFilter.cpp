#include "export/filters/QRHTMLFilter.h"

#include "export/filters/QRHTMLDocumentFilter.h"

void TQRHTMLFilter::Publish(TPublisher<TQRHTMLFilter>& p) {
    p.Property(L"PictureDir", &TQRHTMLFilter::PictureDir, &TQRHTMLFilter::SetPictureDir);
    p.Property(L"MultiPage", &TQRHTMLFilter::MultiPage, &TQRHTMLFilter::SetMultiPage);
    p.Property(L"PageLinks", &TQRHTMLFilter::PageLinks, &TQRHTMLFilter::SetPageLinks);
    p.Property(L"FinalPage", &TQRHTMLFilter::FinalPage, &TQRHTMLFilter::SetFinalPage);
    p.Property(L"FirstLastLinks", &TQRHTMLFilter::FirstLastLinks, &TQRHTMLFilter::SetFirstLastLinks);
    p.Property(L"Concat", &TQRHTMLFilter::Concat, &TQRHTMLFilter::SetConcat);
    p.Property(L"ConcatCount", &TQRHTMLFilter::ConcatCount, &TQRHTMLFilter::SetConcatCount);
    p.Property(L"LinkFontSize", &TQRHTMLFilter::LinkFontSize, &TQRHTMLFilter::SetLinkFontSize);
    p.Property(L"LinkFontName", &TQRHTMLFilter::LinkFontName, &TQRHTMLFilter::SetLinkFontName);
    p.Property(L"ImageLinkPrefix", &TQRHTMLFilter::ImageLinkPrefix, &TQRHTMLFilter::SetImageLinkPrefix).Default(L"");
    p.Property(L"PagelinkPrefix", &TQRHTMLFilter::PagelinkPrefix, &TQRHTMLFilter::SetPagelinkPrefix).Default(L"");
}

TQRHTMLFilter::TQRHTMLFilter(TComponent* owner) : TComponent(owner) {
    ExportFilterLibrary().EnrollFilter(TQRGHTMLDocumentFilter::FilterClass());
}

TQRHTMLFilter::~TQRHTMLFilter() { ExportFilterLibrary().WithdrawFilter(TQRGHTMLDocumentFilter::FilterClass()); }

String TQRHTMLFilter::PictureDir() const { return HTMLFilterSettings().PictureDir; }
void TQRHTMLFilter::SetPictureDir(const String& value) { HTMLFilterSettings().PictureDir = value; }
bool TQRHTMLFilter::MultiPage() const { return HTMLFilterSettings().MultiPage; }
void TQRHTMLFilter::SetMultiPage(bool value) { HTMLFilterSettings().MultiPage = value; }
bool TQRHTMLFilter::PageLinks() const { return HTMLFilterSettings().PageLinks; }
void TQRHTMLFilter::SetPageLinks(bool value) { HTMLFilterSettings().PageLinks = value; }
int TQRHTMLFilter::FinalPage() const { return HTMLFilterSettings().FinalPage; }
void TQRHTMLFilter::SetFinalPage(int value) { HTMLFilterSettings().FinalPage = value; }
bool TQRHTMLFilter::FirstLastLinks() const { return HTMLFilterSettings().FirstLastLinks; }
void TQRHTMLFilter::SetFirstLastLinks(bool value) { HTMLFilterSettings().FirstLastLinks = value; }
bool TQRHTMLFilter::Concat() const { return HTMLFilterSettings().Concat; }
void TQRHTMLFilter::SetConcat(bool value) { HTMLFilterSettings().Concat = value; }
int TQRHTMLFilter::ConcatCount() const { return HTMLFilterSettings().ConcatCount; }
void TQRHTMLFilter::SetConcatCount(int value) { HTMLFilterSettings().ConcatCount = value; }
int TQRHTMLFilter::LinkFontSize() const { return HTMLFilterSettings().LinkFontSize; }
void TQRHTMLFilter::SetLinkFontSize(int value) { HTMLFilterSettings().LinkFontSize = value; }
String TQRHTMLFilter::LinkFontName() const { return HTMLFilterSettings().LinkFontName; }
void TQRHTMLFilter::SetLinkFontName(const String& value) { HTMLFilterSettings().LinkFontName = value; }
