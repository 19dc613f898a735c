// TWebUpdate: finds out whether a newer version of the installed product exists and, when the
// user agrees, downloads it into a folder and runs it. It reads the update-information page
// (UpdatePage.h) over HTTP (HttpTransfer.h), compares versions (VersionCompare.h), shows the
// page in its information dialog (WebUpdateInfo.h) and reports every step through its events;
// it shows no message itself and raises nothing to its caller.
//
// Transfers pump the application's messages after every block and while they wait for the
// network (which is read on a thread of its own), so the window that holds the component stays
// live during a check however slowly the server answers: Cancel (from a button or the window
// closing) ends a running check within a tenth of a second, silently; a second CheckAndUpdate
// meanwhile returns false at once.
//
// Everything the server sends is taken as hostile. What the page names is checked before it is
// used: an address must be an http:// one (or a path on the page's host), the client-side file
// name a new program's plain ".exe" name (never one the programs ship or read, never a device),
// and a chain of page redirections ends after MaxRedirections hops. Only a complete HTTP/1.x 200
// reply counts; a page larger than MaxPageBytes and a download larger than MaxDownloadBytes are
// refused as they arrive. A download goes to a temporary file beside the target ("wu*.tmp"),
// which takes the target's place only once complete and is removed on every other way out; one
// left by a process that was killed goes with RemoveLeftoverDownloads. The downloaded program is
// started directly, its run parameters as its arguments, never through the shell's file
// associations or a command interpreter.
#pragma once

#include <memory>
#include <vector>

#include "framework/classes/Component.h"
#include "webupdate/UpdatePage.h"
#include "webupdate/VersionCompare.h"

class Tfrm_ShowInfoUpdate;

FV_ENUM(TWuUpdateOption, uoRunUpdate, uoTerminate, uoOverwrite)
using TWuUpdateOptions = TSet<TWuUpdateOption>;

// The page's address and the installed version.
class TWuProductInfo : public TPersistent {
    FV_CLASS(TWuProductInfo, TPersistent)
public:
    TWuProductInfo();
    static void Publish(TPublisher<TWuProductInfo>& p);
    void Assign(const TPersistent* source) override;

    const String& URL() const { return url_; }
    void SetURL(const String& value);  // "http://" goes in front unless it is there
    const String& Version() const { return version_; }
    void SetVersion(const String& value) { version_ = value; }
    TWuVersionFormat VersionFormat() const { return versionFormat_; }
    void SetVersionFormat(TWuVersionFormat value) { versionFormat_ = value; }

private:
    String url_;
    String version_ = L"1.0";
    TWuVersionFormat versionFormat_ = vfStandard;
};

// The eight META names looked for on the page.
class TWuTagInfo : public TPersistent {
    FV_CLASS(TWuTagInfo, TPersistent)
public:
    TWuTagInfo() = default;
    static void Publish(TPublisher<TWuTagInfo>& p);
    void Assign(const TPersistent* source) override;

    const TWuTagNames& Names() const { return names_; }
    TWuTagNames& Names() { return names_; }

#define FV_WU_TAG(Prop)                                 \
    const String& Prop() const { return names_.Prop; } \
    void Set##Prop(const String& value) { names_.Prop = value; }
    FV_WU_TAG(ProductName)
    FV_WU_TAG(ClientFileName)
    FV_WU_TAG(Version)
    FV_WU_TAG(Author)
    FV_WU_TAG(Email)
    FV_WU_TAG(Download)
    FV_WU_TAG(Redirection)
    FV_WU_TAG(RunParameters)
#undef FV_WU_TAG

private:
    TWuTagNames names_;
};

// Captions of the information dialog.
class TWuInfoCaption : public TPersistent {
    FV_CLASS(TWuInfoCaption, TPersistent)
public:
    TWuInfoCaption() = default;
    static void Publish(TPublisher<TWuInfoCaption>& p);
    void Assign(const TPersistent* source) override;

    const String& OkButton() const { return okButton_; }
    void SetOkButton(const String& value) { okButton_ = value; }
    const String& CancelButton() const { return cancelButton_; }
    void SetCancelButton(const String& value) { cancelButton_ = value; }
    const String& CheckForUpdate() const { return checkForUpdate_; }
    void SetCheckForUpdate(const String& value) { checkForUpdate_ = value; }

private:
    String okButton_ = L"&OK";
    String cancelButton_ = L"&Cancel";
    String checkForUpdate_ = L"C&heck for updates in the future";
};

using TUpdateAvailableEvent =
    TMethod<void(TObject* Sender, const String& ActualVersion, const String& NewVersion, bool& CanUpdate)>;
using TShowInfoEvent = TMethod<void(TObject* Sender, bool& ShowInfo, bool& CheckForUpdate)>;
using TAfterShowInfoEvent = TMethod<void(TObject* Sender, bool CheckForUpdate)>;
using TGetClientFileNameEvent = TMethod<void(TObject* Sender, String& FileName)>;
using TClientFileExistsEvent = TMethod<void(TObject* Sender, String& FileName, bool& Overwrite)>;
using TDownloadFileEvent = TMethod<void(TObject* Sender, const String& FileName)>;
using TDownloadEvent = TMethod<void(TObject* Sender, int Total, int Downloaded)>;

class TWebUpdate : public TComponent {
    FV_CLASS(TWebUpdate, TComponent)
public:
    // Pages followed through their redirections before the check fails.
    static constexpr int MaxRedirections = 5;
    // Largest information page read into memory.
    static constexpr Int64 MaxPageBytes = 1024 * 1024;
    // Largest download accepted.
    static constexpr Int64 MaxDownloadBytes = 64 * 1024 * 1024;

    explicit TWebUpdate(TComponent* owner);
    ~TWebUpdate() override;
    static void Publish(TPublisher<TWebUpdate>& p);

    TWuProductInfo* ProductInfo() const { return productInfo_.get(); }
    TWuTagInfo* TagInfo() const { return tagInfo_.get(); }
    TWuInfoCaption* InfoCaption() const { return infoCaption_.get(); }
    const String& UserName() const { return userName_; }
    void SetUserName(const String& value) { userName_ = value; }
    const String& Password() const { return password_; }
    void SetPassword(const String& value) { password_ = value; }
    TWuUpdateOptions Options() const { return options_; }
    void SetOptions(TWuUpdateOptions value) { options_ = value; }
    // The component's own version, "1.21"; writing it changes nothing.
    String Version() const;
    void SetVersion(const String&) {}
    const String& TargetFolder() const { return targetFolder_; }
    void SetTargetFolder(const String& value) { targetFolder_ = value; }
    Cardinal HTTPPort() const { return httpPort_; }
    void SetHTTPPort(Cardinal value) { httpPort_ = value; }

    // Reads the page, compares, asks, downloads and runs (see the events for the order). True
    // when an update was downloaded, whether or not it could be started.
    bool CheckAndUpdate();
    // Ends a running check at its next transfer step, without an event.
    void Cancel() { cancelRequested_ = true; }
    // Removes the temporary files of downloads that never ended (their process was killed) from
    // TargetFolder; one still being written stays.
    void RemoveLeftoverDownloads();

    // One GET of url (a bare path takes the host of ProductInfo.URL) into PageLines, or into
    // fileName when toFile; sets TransferOk and fires OnDownloadError on failure.
    void HttpGet(const String& url, const String& userName, const String& password, bool lengthRequired,
                 bool toFile, const String& fileName);
    virtual void SplitURL(const String& url, String& host, String& path);
    // True when the user pressed OK or the dialog was skipped by OnBeforeShowInfo.
    virtual bool ShowInfoDialog();
    // TargetFolder (when it exists, else the temporary folder) plus the page's client file name.
    virtual String ClientFilePath();

    const String& WebProductName() const { return web_.ProductName; }
    const String& WebClientFileName() const { return web_.ClientFileName; }
    const String& WebVersion() const { return web_.Version; }
    const String& WebAuthor() const { return web_.Author; }
    const String& WebEmail() const { return web_.Email; }
    const String& WebDownloadURL() const { return web_.Download; }
    const String& WebRedirection() const { return web_.Redirection; }
    const String& WebRunParameters() const { return web_.RunParameters; }
    const String& LocalFile() const { return localFile_; }
    const std::vector<String>& PageLines() const { return pageLines_; }
    bool Busy() const { return busy_; }
    bool CancelRequested() const { return cancelRequested_; }
    bool TransferOk() const { return transferOk_; }
    Int64 TotalSize() const { return totalSize_; }
    Int64 DownloadedSize() const { return downloadedSize_; }
    // The information dialog once it has been shown, else null.
    Tfrm_ShowInfoUpdate* InfoDialog() const { return infoDialog_.get(); }

    TNotifyEvent OnBeforeGetInfo;
    TNotifyEvent OnAfterGetInfo;
    TNotifyEvent OnNoUpdateFound;
    TUpdateAvailableEvent OnUpdateAvailable;
    TShowInfoEvent OnBeforeShowInfo;
    TAfterShowInfoEvent OnAfterShowInfo;
    TGetClientFileNameEvent OnGetClientFileName;
    TClientFileExistsEvent OnClientFileExists;
    TDownloadFileEvent OnBeforeDownload;
    TDownloadEvent OnDownload;
    TDownloadFileEvent OnAfterDownload;
    TNotifyEvent OnDownloadError;
    TNotifyEvent OnCannotExecute;

protected:
    void BeforeDestruction() override;
    virtual void DoDownload(int total, int downloaded);
    virtual void DoDownloadError();
    virtual void DoBeforeDownload(const String& fileName);
    virtual void DoAfterDownload(const String& fileName);
    virtual void DoNoUpdateFound();
    virtual void DoAfterGetInfo();
    virtual void DoBeforeGetInfo();
    virtual void DoCannotExecute();

private:
    class TTransferSink;
    void FetchInfo();
    bool IsNewerVersion();
    void DownloadUpdate();
    void RunDownload();
    std::vector<String> ReservedFileNames() const;

    std::unique_ptr<TWuProductInfo> productInfo_;
    std::unique_ptr<TWuTagInfo> tagInfo_;
    std::unique_ptr<TWuInfoCaption> infoCaption_;
    std::unique_ptr<Tfrm_ShowInfoUpdate> infoDialog_;
    String userName_;
    String password_;
    TWuUpdateOptions options_{uoRunUpdate, uoTerminate};
    Word versionWord_ = 277;
    String targetFolder_;
    Cardinal httpPort_ = 80;

    TWuPageValues web_;
    String localFile_;
    std::vector<String> pageLines_;
    bool busy_ = false;
    bool cancelRequested_ = false;
    bool transferOk_ = false;
    Int64 totalSize_ = 0;
    Int64 downloadedSize_ = 0;
};
