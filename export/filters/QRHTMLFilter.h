// TQRHTMLFilter: the component a report form holds to offer HTML export. While one exists the
// filter library lists the HTML document filter; its properties read and write the HTML
// filter's process-wide settings, which every filter construction resets, so that an export
// always runs with the filter's own values whatever a form stored.
#pragma once

#include "framework/classes/Component.h"

class TQRHTMLFilter : public TComponent {
    FV_CLASS(TQRHTMLFilter, TComponent)
public:
    explicit TQRHTMLFilter(TComponent* owner);
    ~TQRHTMLFilter() override;
    static void Publish(TPublisher<TQRHTMLFilter>& p);

    String PictureDir() const;
    void SetPictureDir(const String& value);
    bool MultiPage() const;
    void SetMultiPage(bool value);
    bool PageLinks() const;
    void SetPageLinks(bool value);
    int FinalPage() const;
    void SetFinalPage(int value);
    bool FirstLastLinks() const;
    void SetFirstLastLinks(bool value);
    bool Concat() const;
    void SetConcat(bool value);
    int ConcatCount() const;
    void SetConcatCount(int value);
    int LinkFontSize() const;
    void SetLinkFontSize(int value);
    String LinkFontName() const;
    void SetLinkFontName(const String& value);
    const String& ImageLinkPrefix() const { return imageLinkPrefix_; }
    void SetImageLinkPrefix(const String& value) { imageLinkPrefix_ = value; }
    const String& PagelinkPrefix() const { return pagelinkPrefix_; }
    void SetPagelinkPrefix(const String& value) { pagelinkPrefix_ = value; }

private:
    String imageLinkPrefix_;
    String pagelinkPrefix_;
};
