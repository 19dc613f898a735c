// The résumé template behind generation: TCurriculoTemplate puts a template state onto the
// report template Curriculo and hands it to the report engine for the preview and the
// prepared-report files.
#pragma once

#include <memory>
#include <vector>

#include "app/CurriculoSections.h"
#include "app/Generation.h"

class TCurriculo;
class TQRPrinter;

// The band switches of a state's Enabled (band name -> on): a band that is on prints, and a
// section whose heading stands on its first entry keeps that heading when only later entries
// print. Bands the map does not name print when they always do and not otherwise.
std::vector<TSectionSwitch> SectionSwitchesOf(const std::map<String, bool>& enabled);

class TCurriculoTemplate : public TResumeTemplate {
public:
    explicit TCurriculoTemplate(TCurriculo& curriculo);
    ~TCurriculoTemplate() override;
    TCurriculoTemplate(const TCurriculoTemplate&) = delete;
    TCurriculoTemplate& operator=(const TCurriculoTemplate&) = delete;

    void Apply(const TCurriculoState& state, const TPicture& photo, const TStepDone& done) override;
    void ShowPreview() override;
    void SavePreparedReport(const String& fileName) override;
    void OpenPreparedReport(const String& fileName) override;

private:
    // The shared printer unless its preview is showing, else one whose preview has closed, else
    // a new one.
    TQRPrinter* PrinterForOpening();
    void ReleasePages(TQRPrinter* printer);
    // A preview of an opened file shows fileName.
    bool OpenInPreview(const String& fileName) const;

    TCurriculo& curriculo_;
    TQRPrinter* shared_ = nullptr;  // once a file was opened with it
    // The printers of files opened while the other ones' previews were showing; each lives as
    // long as the program, since its preview may stay open until the end.
    std::vector<std::unique_ptr<TQRPrinter>> openedPrinters_;
};
