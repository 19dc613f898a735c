// Tfrm_foto: the webcam photo form. It lists the video-input devices in its menu (read once, when
// it is created), shows the chosen device's live picture and, on OK, puts the current frame into
// the main window's photo. All video work is the capture components'; everything here runs on
// the UI thread.
#pragma once

#include <memory>

#include "framework/forms/Forms.h"

class TBitBtn;
class TFilter;
class TFilterGraph;
class TPicture;
class TSampleGrabber;
class TSysDevEnum;
class TVideoWindow;
class TUiPoster;

// Said instead of opening the form when no camera is connected. The device list is read at
// start-up, so a camera connected later needs the program started again.
String NoCameraMessage();

class Tfrm_foto : public TForm {
    FV_CLASS(Tfrm_foto, TForm)
public:
    explicit Tfrm_foto(TComponent* owner);
    ~Tfrm_foto() override;
    static void Publish(TPublisher<Tfrm_foto>& p);

    // Starts device index (the menu item's Tag) in the video window. A device that cannot be
    // started raises the capture components' exception after the device list was read again.
    void ChooseDevice(int index);
    // Replaces photo by the current frame; a photo stays as it was when there is no frame.
    bool GrabInto(TPicture& photo);
    // Reads the device list again and rebuilds the menu from it; a failure leaves it empty.
    void RefreshDevices();
    int DeviceCount() const;

    TVideoWindow* VideoWindow = nullptr;
    TFilterGraph* FilterGraph = nullptr;
    TFilter* Filter = nullptr;
    TSampleGrabber* SampleGrabber = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TMenuItem* Devices = nullptr;
    TBitBtn* BitBtn3 = nullptr;  // OK
    TBitBtn* BitBtn1 = nullptr;  // Cancel

private:
    void DeviceClick(TObject* Sender);
    void BitBtn3Click(TObject* Sender);
    void FormCloseQuery(TObject* Sender, bool& CanClose);

    std::unique_ptr<TSysDevEnum> devices_;
    std::unique_ptr<TUiPoster> refresher_;
};

extern Tfrm_foto* frm_foto;
