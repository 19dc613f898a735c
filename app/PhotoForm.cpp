#include "app/PhotoForm.h"

#include "app/MainForm.h"
#include "capture/DSErrors.h"
#include "capture/DeviceFilter.h"
#include "capture/DirectShow.h"
#include "capture/FilterGraph.h"
#include "capture/SampleGrabber.h"
#include "capture/SysDevEnum.h"
#include "capture/VideoWindow.h"
#include "framework/controls/Buttons.h"
#include "framework/controls/ExtCtrls.h"
#include "framework/controls/Menus.h"
#include "framework/controls/UiThread.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Picture.h"

Tfrm_foto* frm_foto = nullptr;

String NoCameraMessage() {
    return L"Nenhuma WebCam foi encontrada! Conecte uma WebCam ao computador e abra o Folhavida novamente.";
}

Tfrm_foto::Tfrm_foto(TComponent* owner) : TForm(owner) {
    ReadForm([this] {
        FV_BIND(VideoWindow);
        FV_BIND(FilterGraph);
        FV_BIND(Filter);
        FV_BIND(SampleGrabber);
        FV_BIND(MainMenu1);
        FV_BIND(Devices);
        FV_BIND(BitBtn3);
        FV_BIND(BitBtn1);
        RefreshDevices();
    });
}

Tfrm_foto::~Tfrm_foto() = default;

void Tfrm_foto::Publish(TPublisher<Tfrm_foto>& p) {
    p.Handler(L"BitBtn3Click", &Tfrm_foto::BitBtn3Click);
    p.Handler(L"FormCloseQuery", &Tfrm_foto::FormCloseQuery);
}

int Tfrm_foto::DeviceCount() const { return devices_ ? devices_->FilterCount() : 0; }

void Tfrm_foto::RefreshDevices() {
    Devices->Clear();
    devices_.reset();
    // Start-up never ends for want of a camera: without a device list the menu stays empty.
    try {
        devices_ = std::make_unique<TSysDevEnum>(CLSID_VideoInputDeviceCategory);
    } catch (...) {
        return;
    }
    for (int i = 0; i < devices_->FilterCount(); ++i) {
        auto* item = new TMenuItem(Devices);
        item->SetCaption(devices_->FilterEntry(i).FriendlyName);
        item->SetTag(i);
        item->OnClick = TNotifyEvent(this, &Tfrm_foto::DeviceClick);
        Devices->Add(item);
    }
}

void Tfrm_foto::ChooseDevice(int index) {
    try {
        FilterGraph->ResetGraph();
        FilterGraph->SetActive(false);
        TComPtr<IMoniker> moniker = devices_ ? devices_->MonikerAt(index) : TComPtr<IMoniker>();
        Filter->BaseFilter()->StoreMoniker(moniker.Get());
        FilterGraph->SetActive(true);
        // A device that is gone has no filter; the system's builder must not be asked without one.
        if (Filter->ProvidedFilter() == nullptr) CheckDSResult(VFW_E_NOT_FOUND);
        TComPtr<ICaptureGraphBuilder2> builder = FilterGraph->Query<ICaptureGraphBuilder2>();
        CheckDSResult(builder ? builder->RenderStream(&PIN_CATEGORY_PREVIEW, nullptr, Filter->ProvidedFilter(),
                                                      SampleGrabber->ProvidedFilter(), VideoWindow->ProvidedFilter())
                              : E_NOINTERFACE);
        FilterGraph->RunGraph();
    } catch (...) {
        // The device may be gone: the next choice is offered from the devices there are now.
        try {
            FilterGraph->SetActive(false);
        } catch (...) {
        }
        throw;
    }
}

void Tfrm_foto::DeviceClick(TObject* Sender) {
    const int index = static_cast<TMenuItem*>(Sender)->Tag();
    try {
        ChooseDevice(index);
    } catch (...) {
        // The menu is rebuilt once the click that is running now is over.
        if (!refresher_) refresher_ = std::make_unique<TUiPoster>();
        refresher_->Post([this] { RefreshDevices(); });
        throw;
    }
}

bool Tfrm_foto::GrabInto(TPicture& photo) {
    TBitmap frame;
    if (!SampleGrabber->GrabBitmap(&frame)) return false;
    photo.Assign(frame);
    return true;
}

void Tfrm_foto::BitBtn3Click(TObject*) {
    if (Form1 != nullptr) GrabInto(*Form1->Image1->Picture());
}

void Tfrm_foto::FormCloseQuery(TObject*, bool& CanClose) {
    CanClose = true;
    try {
        FilterGraph->SetActive(false);
    } catch (...) {
        Application().HandleException(this);
    }
}
