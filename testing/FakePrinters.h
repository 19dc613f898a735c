// A simulated machine's printers for tests of printing code: the printers it lists, their driver
// settings, resolution, margins and papers, and a record of every print job. Its printers draw
// into memory at a low resolution; at the end of each page the page is looked at (the colour at
// its middle, the box that holds every inked pixel) and kept in the record.
//
//     FakePrintMachine machine;                 // one A4 printer at 60 dpi, the default
//     ScopedFakePrinters installed(machine);    // new printer objects and Printer() use it
//     ... print ...
//     EXPECT_EQ(machine.Pages().size(), 3u);
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "framework/graphics/Colors.h"
#include "framework/graphics/Geometry.h"
#include "framework/printers/Printer.h"

struct FakePrinterModel {
    TPrinterInfo Info{L"Fake Printer", L"Fake Driver", L"LPT1:"};
    DWORD Fields = DM_ORIENTATION | DM_PAPERSIZE | DM_COPIES | DM_DEFAULTSOURCE | DM_DUPLEX | DM_COLLATE;
    short PaperCode = DMPAPER_A4;
    short DefaultSource = DMBIN_AUTO;
    short Duplex = DMDUP_SIMPLEX;
    short Copies = 1;
    int PixelsPerInch = 60;  // both directions
    // The physical page in 0.1 mm (portrait), and the unprintable margins in device units.
    int PaperWidth = 2100;
    int PaperLength = 2970;
    int OffsetX = 0;
    int OffsetY = 0;
    // DC_PAPERS; nothing: the driver cannot tell.
    std::optional<std::vector<Word>> Papers = std::vector<Word>{DMPAPER_LETTER, DMPAPER_A4};
    bool GivesDevMode = true;
    String DriverPath = L"C:\\windows\\system32\\spool\\drivers\\x64\\3\\FAKEPS.DRV";
};

struct FakePageShot {
    TColor Middle = clWhite;  // the colour at the page's middle
    TRect Inked;              // the smallest box holding every non-white pixel (empty: none)
};

class FakePrintMachine {
public:
    FakePrintMachine() : Printers{FakePrinterModel{}} {}

    std::vector<FakePrinterModel> Printers;
    String DefaultPrinter = L"Fake Printer";
    // What happened, in order: "StartDoc <title>", "StartPage", "EndPage", "EndDoc", "AbortDoc".
    std::vector<String> Events;
    std::vector<FakePageShot> Shots;          // one per page ended
    std::vector<DEVMODEW> DeviceModes;        // the settings of each device context made
    std::function<void()> OnEndPage;          // runs after a page was looked at
    bool FailPapers = false;                  // reading the papers raises EPrinter

    FakePrinterModel* Find(const String& device) {
        for (auto& model : Printers)
            if (model.Info.Device == device) return &model;
        return nullptr;
    }
    int Count(const String& event) const {
        int n = 0;
        for (const String& e : Events) n += e == event ? 1 : 0;
        return n;
    }
};

namespace fakeprinters_detail {

// A printer's device context: memory with a page-sized picture, and what the model answers.
struct FakeDC {
    FakePrinterModel Model;
    bool Landscape = false;
    HDC Handle = nullptr;  // owned by the printer object that asked for it
    UniqueBitmap Bitmap;
    std::uint32_t* Bits = nullptr;
    int Width = 0;
    int Height = 0;

    // A device without a resolution still gets a picture to draw on.
    int Device(int tenthsMM) const { return std::max(1, MulDiv(tenthsMM, Model.PixelsPerInch, 254)); }
    void Clear() {
        for (int i = 0; i < Width * Height; ++i) Bits[i] = 0x00FFFFFF;
    }
    FakePageShot Look() const {
        GdiFlush();
        FakePageShot shot;
        const std::uint32_t middle = Bits[(Height / 2) * Width + Width / 2] & 0x00FFFFFF;
        shot.Middle = static_cast<TColor>(((middle & 0xFF) << 16) | (middle & 0xFF00) | ((middle >> 16) & 0xFF));
        int left = Width, top = Height, right = 0, bottom = 0;
        for (int y = 0; y < Height; ++y)
            for (int x = 0; x < Width; ++x)
                if ((Bits[y * Width + x] & 0x00FFFFFF) != 0x00FFFFFF) {
                    left = std::min(left, x);
                    top = std::min(top, y);
                    right = std::max(right, x + 1);
                    bottom = std::max(bottom, y + 1);
                }
        if (right > left) shot.Inked = Rect(left, top, right, bottom);
        return shot;
    }
};

class FakeSpooler : public TPrintSpooler {
public:
    explicit FakeSpooler(FakePrintMachine& machine) : machine_(machine) {}
    ~FakeSpooler() override = default;

    std::vector<TPrinterInfo> EnumPrinters() override {
        std::vector<TPrinterInfo> infos;
        for (const auto& model : machine_.Printers) infos.push_back(model.Info);
        return infos;
    }
    String DefaultPrinter() override { return machine_.DefaultPrinter; }
    std::vector<Byte> DefaultDevMode(const TPrinterInfo& printer) override {
        const FakePrinterModel* model = machine_.Find(printer.Device);
        if (!model || !model->GivesDevMode) return {};
        std::vector<Byte> block(sizeof(DEVMODEW) + 16);  // with a private part
        auto* dm = reinterpret_cast<DEVMODEW*>(block.data());
        lstrcpynW(dm->dmDeviceName, printer.Device.c_str(), CCHDEVICENAME);
        dm->dmSize = sizeof(DEVMODEW);
        dm->dmDriverExtra = 16;
        dm->dmFields = model->Fields;
        dm->dmOrientation = DMORIENT_PORTRAIT;
        dm->dmPaperSize = model->PaperCode;
        dm->dmDefaultSource = model->DefaultSource;
        dm->dmDuplex = model->Duplex;
        dm->dmCopies = model->Copies;
        dm->dmPrintQuality = static_cast<short>(model->PixelsPerInch);
        dm->dmColor = DMCOLOR_COLOR;
        dm->dmCollate = DMCOLLATE_FALSE;
        return block;
    }
    UniqueDC CreateDC(const TPrinterInfo& printer, const DEVMODEW* settings) override {
        const FakePrinterModel* model = machine_.Find(printer.Device);
        if (!model) return {};
        auto fake = std::make_unique<FakeDC>();
        fake->Model = *model;
        if (settings) {
            machine_.DeviceModes.push_back(*settings);
            fake->Landscape = (settings->dmFields & DM_ORIENTATION) && settings->dmOrientation == DMORIENT_LANDSCAPE;
        }
        fake->Width = fake->Device(fake->Landscape ? model->PaperLength : model->PaperWidth);
        fake->Height = fake->Device(fake->Landscape ? model->PaperWidth : model->PaperLength);
        UniqueDC dc(CreateCompatibleDC(nullptr));
        fake->Handle = dc.get();
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = fake->Width;
        info.bmiHeader.biHeight = -fake->Height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        fake->Bitmap.reset(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!fake->Bitmap) return {};
        fake->Bits = static_cast<std::uint32_t*>(bits);
        SelectObject(dc.get(), fake->Bitmap.get());
        fake->Clear();
        dcs_.push_back(std::move(fake));
        return dc;
    }
    std::optional<std::vector<Word>> Papers(const TPrinterInfo& printer, const DEVMODEW*) override {
        if (machine_.FailPapers) throw EPrinter(L"The driver failed");
        const FakePrinterModel* model = machine_.Find(printer.Device);
        return model ? model->Papers : std::nullopt;
    }
    String DriverPath(const TPrinterInfo& printer) override {
        const FakePrinterModel* model = machine_.Find(printer.Device);
        return model ? model->DriverPath : String();
    }

    int DeviceCaps(HDC dc, int index) override {
        FakeDC* fake = Of(dc);
        if (!fake) return 0;
        const FakePrinterModel& m = fake->Model;
        switch (index) {
            case LOGPIXELSX:
            case LOGPIXELSY: return m.PixelsPerInch;
            case PHYSICALOFFSETX: return fake->Landscape ? m.OffsetY : m.OffsetX;
            case PHYSICALOFFSETY: return fake->Landscape ? m.OffsetX : m.OffsetY;
            case PHYSICALWIDTH: return fake->Width;
            case PHYSICALHEIGHT: return fake->Height;
            case HORZRES: return fake->Width - 2 * (fake->Landscape ? m.OffsetY : m.OffsetX);
            case VERTRES: return fake->Height - 2 * (fake->Landscape ? m.OffsetX : m.OffsetY);
            default: return GetDeviceCaps(dc, index);
        }
    }
    bool StartDoc(HDC, const DOCINFOW& doc) override {
        machine_.Events.push_back(L"StartDoc " + String(doc.lpszDocName ? doc.lpszDocName : L""));
        return true;
    }
    bool StartPage(HDC dc) override {
        machine_.Events.push_back(L"StartPage");
        if (FakeDC* fake = Of(dc)) fake->Clear();
        return true;
    }
    bool EndPage(HDC dc) override {
        machine_.Events.push_back(L"EndPage");
        if (FakeDC* fake = Of(dc)) machine_.Shots.push_back(fake->Look());
        if (machine_.OnEndPage) machine_.OnEndPage();
        return true;
    }
    bool EndDoc(HDC) override {
        machine_.Events.push_back(L"EndDoc");
        return true;
    }
    void AbortDoc(HDC) override { machine_.Events.push_back(L"AbortDoc"); }

private:
    // The newest first: a deleted DC's handle may come back for a new one.
    FakeDC* Of(HDC dc) {
        for (auto it = dcs_.rbegin(); it != dcs_.rend(); ++it)
            if ((*it)->Handle == dc) return it->get();
        return nullptr;
    }

    FakePrintMachine& machine_;
    std::vector<std::unique_ptr<FakeDC>> dcs_;
};

}  // namespace fakeprinters_detail

// New printer objects, and the process-wide one, use the machine's printers while this lives.
class ScopedFakePrinters {
public:
    explicit ScopedFakePrinters(FakePrintMachine& machine)
        : previousFactory_(SetSpoolerFactory(
              [&machine] { return std::make_unique<fakeprinters_detail::FakeSpooler>(machine); })),
          previousPrinter_(SetPrinterObject(std::make_unique<TPrinter>())) {}
    ~ScopedFakePrinters() {
        SetPrinterObject(std::move(previousPrinter_));
        SetSpoolerFactory(std::move(previousFactory_));
    }
    ScopedFakePrinters(const ScopedFakePrinters&) = delete;
    ScopedFakePrinters& operator=(const ScopedFakePrinters&) = delete;

private:
    TSpoolerFactory previousFactory_;
    std::unique_ptr<TPrinter> previousPrinter_;
};
