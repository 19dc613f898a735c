#include "webupdate/WebUpdate.h"

#include <climits>

#include "framework/forms/Forms.h"
#include "framework/rtl/FileUtils.h"
#include "framework/rtl/UniqueHandle.h"
#include "framework/rtl/WinApi.h"
#include "webupdate/HttpTransfer.h"
#include "webupdate/ProgramStart.h"
#include "webupdate/UpdateAddress.h"
#include "webupdate/WebUpdateInfo.h"

// ---- TWuProductInfo, TWuTagInfo, TWuInfoCaption

TWuProductInfo::TWuProductInfo() { SetURL(String()); }

void TWuProductInfo::Publish(TPublisher<TWuProductInfo>& p) {
    p.Property(L"URL", &TWuProductInfo::URL, &TWuProductInfo::SetURL);
    p.Property(L"Version", &TWuProductInfo::Version, &TWuProductInfo::SetVersion).Default(String(L"1.0"));
    p.Property(L"VersionFormat", &TWuProductInfo::VersionFormat, &TWuProductInfo::SetVersionFormat)
        .Default(vfStandard);
}

void TWuProductInfo::SetURL(const String& value) { url_ = WithHttpPrefix(value); }

void TWuProductInfo::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TWuProductInfo*>(source)) {
        url_ = other->url_;
        version_ = other->version_;
        versionFormat_ = other->versionFormat_;
        return;
    }
    TPersistent::Assign(source);
}

void TWuTagInfo::Publish(TPublisher<TWuTagInfo>& p) {
    const TWuTagNames defaults;
    p.Property(L"ProductName", &TWuTagInfo::ProductName, &TWuTagInfo::SetProductName).Default(defaults.ProductName);
    p.Property(L"ClientFileName", &TWuTagInfo::ClientFileName, &TWuTagInfo::SetClientFileName)
        .Default(defaults.ClientFileName);
    p.Property(L"Version", &TWuTagInfo::Version, &TWuTagInfo::SetVersion).Default(defaults.Version);
    p.Property(L"Author", &TWuTagInfo::Author, &TWuTagInfo::SetAuthor).Default(defaults.Author);
    p.Property(L"Email", &TWuTagInfo::Email, &TWuTagInfo::SetEmail).Default(defaults.Email);
    p.Property(L"Download", &TWuTagInfo::Download, &TWuTagInfo::SetDownload).Default(defaults.Download);
    p.Property(L"Redirection", &TWuTagInfo::Redirection, &TWuTagInfo::SetRedirection).Default(defaults.Redirection);
    p.Property(L"RunParameters", &TWuTagInfo::RunParameters, &TWuTagInfo::SetRunParameters)
        .Default(defaults.RunParameters);
}

void TWuTagInfo::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TWuTagInfo*>(source)) {
        names_ = other->names_;
        return;
    }
    TPersistent::Assign(source);
}

void TWuInfoCaption::Publish(TPublisher<TWuInfoCaption>& p) {
    p.Property(L"OkButton", &TWuInfoCaption::OkButton, &TWuInfoCaption::SetOkButton).Default(String(L"&OK"));
    p.Property(L"CancelButton", &TWuInfoCaption::CancelButton, &TWuInfoCaption::SetCancelButton)
        .Default(String(L"&Cancel"));
    p.Property(L"CheckForUpdate", &TWuInfoCaption::CheckForUpdate, &TWuInfoCaption::SetCheckForUpdate)
        .Default(String(L"C&heck for updates in the future"));
}

void TWuInfoCaption::Assign(const TPersistent* source) {
    if (const auto* other = dynamic_cast<const TWuInfoCaption*>(source)) {
        okButton_ = other->okButton_;
        cancelButton_ = other->cancelButton_;
        checkForUpdate_ = other->checkForUpdate_;
        return;
    }
    TPersistent::Assign(source);
}

// ---- the transfer's sink: the page in memory, or the download in its temporary file

class TWebUpdate::TTransferSink : public THttpSink {
public:
    TTransferSink(TWebUpdate& owner, HANDLE file) : owner_(owner), file_(file) {}
    bool Write(const char* data, size_t size) override {
        if (file_ == nullptr) {
            Text.append(data, size);
            return true;
        }
        DWORD written = 0;
        return WriteFile(file_, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
    }
    void Progress(Int64 total, Int64 done) override {
        owner_.DoDownload(static_cast<int>(std::min<Int64>(total, INT_MAX)), static_cast<int>(std::min<Int64>(done, INT_MAX)));
        // Lets the window that holds us stay live (and its Cancel run) while the bytes come in.
        Application().ProcessMessages();
    }
    bool CancelRequested() override { return owner_.cancelRequested_; }
    void Idle() override { Application().ProcessMessages(); }

    std::string Text;

private:
    TWebUpdate& owner_;
    HANDLE file_;
};

// ---- TWebUpdate

TWebUpdate::TWebUpdate(TComponent* owner)
    : TComponent(owner),
      productInfo_(std::make_unique<TWuProductInfo>()),
      tagInfo_(std::make_unique<TWuTagInfo>()),
      infoCaption_(std::make_unique<TWuInfoCaption>()) {}

TWebUpdate::~TWebUpdate() = default;

void TWebUpdate::BeforeDestruction() {
    Cancel();
    infoDialog_.reset();
    TComponent::BeforeDestruction();
}

void TWebUpdate::Publish(TPublisher<TWebUpdate>& p) {
    p.Property(L"ProductInfo", &TWebUpdate::ProductInfo);
    p.Property(L"TagInfo", &TWebUpdate::TagInfo);
    p.Property(L"InfoCaption", &TWebUpdate::InfoCaption);
    p.Property(L"UserName", &TWebUpdate::UserName, &TWebUpdate::SetUserName).Default(String());
    p.Property(L"Password", &TWebUpdate::Password, &TWebUpdate::SetPassword).Default(String());
    p.Property(L"Options", &TWebUpdate::Options, &TWebUpdate::SetOptions)
        .Default(TWuUpdateOptions{uoRunUpdate, uoTerminate});
    p.Property(L"Version", &TWebUpdate::Version, &TWebUpdate::SetVersion).Stored(false);
    p.Property(L"TargetFolder", &TWebUpdate::TargetFolder, &TWebUpdate::SetTargetFolder).Default(String());
    p.Property(L"HTTPPort", &TWebUpdate::HTTPPort, &TWebUpdate::SetHTTPPort).Default(Cardinal{80});
    p.Event(L"OnBeforeGetInfo", &TWebUpdate::OnBeforeGetInfo);
    p.Event(L"OnAfterGetInfo", &TWebUpdate::OnAfterGetInfo);
    p.Event(L"OnNoUpdateFound", &TWebUpdate::OnNoUpdateFound);
    p.Event(L"OnUpdateAvailable", &TWebUpdate::OnUpdateAvailable);
    p.Event(L"OnBeforeShowInfo", &TWebUpdate::OnBeforeShowInfo);
    p.Event(L"OnAfterShowInfo", &TWebUpdate::OnAfterShowInfo);
    p.Event(L"OnGetClientFileName", &TWebUpdate::OnGetClientFileName);
    p.Event(L"OnClientFileExists", &TWebUpdate::OnClientFileExists);
    p.Event(L"OnBeforeDownload", &TWebUpdate::OnBeforeDownload);
    p.Event(L"OnDownload", &TWebUpdate::OnDownload);
    p.Event(L"OnAfterDownload", &TWebUpdate::OnAfterDownload);
    p.Event(L"OnDownloadError", &TWebUpdate::OnDownloadError);
    p.Event(L"OnCannotExecute", &TWebUpdate::OnCannotExecute);
}

String TWebUpdate::Version() const {
    return std::to_wstring(versionWord_ >> 8) + L"." + std::to_wstring(versionWord_ & 0xFF);
}

void TWebUpdate::DoDownload(int total, int downloaded) {
    if (OnDownload) OnDownload(this, total, downloaded);
}
void TWebUpdate::DoDownloadError() {
    if (OnDownloadError) OnDownloadError(this);
}
void TWebUpdate::DoBeforeDownload(const String& fileName) {
    if (OnBeforeDownload) OnBeforeDownload(this, fileName);
}
void TWebUpdate::DoAfterDownload(const String& fileName) {
    if (OnAfterDownload) OnAfterDownload(this, fileName);
}
void TWebUpdate::DoNoUpdateFound() {
    if (OnNoUpdateFound) OnNoUpdateFound(this);
}
void TWebUpdate::DoAfterGetInfo() {
    if (OnAfterGetInfo) OnAfterGetInfo(this);
}
void TWebUpdate::DoBeforeGetInfo() {
    if (OnBeforeGetInfo) OnBeforeGetInfo(this);
}
void TWebUpdate::DoCannotExecute() {
    if (OnCannotExecute) OnCannotExecute(this);
}

bool TWebUpdate::CheckAndUpdate() {
    if (busy_) return false;
    busy_ = true;
    struct TBusyGuard {
        bool& Flag;
        ~TBusyGuard() { Flag = false; }
    } guard{busy_};
    // A Cancel from now on ends this check, whichever transfer it reaches.
    cancelRequested_ = false;

    web_.Redirection.clear();
    DoBeforeGetInfo();
    FetchInfo();
    DoAfterGetInfo();
    // Cancelled while the page came in (the window is closing): end as quietly as the transfer.
    if (cancelRequested_) return false;
    if (web_.ProductName.empty() || web_.Version.empty()) {
        DoDownloadError();
        transferOk_ = false;
    }
    if (!transferOk_) return false;
    if (!IsNewerVersion()) return false;
    bool canUpdate = true;
    if (OnUpdateAvailable) OnUpdateAvailable(this, productInfo_->Version(), web_.Version, canUpdate);
    if (!canUpdate) return false;
    if (!ShowInfoDialog()) return false;
    DownloadUpdate();
    if (!transferOk_) return false;
    if (options_.Contains(uoRunUpdate)) RunDownload();
    return true;
}

void TWebUpdate::FetchInfo() {
    String address = web_.Redirection.empty() ? productInfo_->URL() : web_.Redirection;
    for (int hop = 0;; ++hop) {
        const String clientFileName = web_.ClientFileName, redirection = web_.Redirection;
        web_ = TWuPageValues{};
        web_.ClientFileName = clientFileName;
        web_.Redirection = redirection;
        HttpGet(address, userName_, password_, false, false, String());
        if (!transferOk_) return;
        web_ = ParseInfoPage(pageLines_, tagInfo_->Names());
        if (web_.Redirection.empty()) return;
        if (hop == MaxRedirections) {
            // A chain this long (or one that comes back to an earlier page) never ends by itself.
            web_ = TWuPageValues{};
            transferOk_ = false;
            DoDownloadError();
            return;
        }
        address = web_.Redirection;
    }
}

bool TWebUpdate::IsNewerVersion() {
    const bool newer = ::IsNewerVersion(productInfo_->Version(), web_.Version, productInfo_->VersionFormat());
    if (!newer) DoNoUpdateFound();
    return newer;
}

String TWebUpdate::ClientFilePath() {
    if (!targetFolder_.empty() && DirectoryExists(targetFolder_))
        return IncludeTrailingPathDelimiter(targetFolder_) + web_.ClientFileName;
    const String temp = GetTempDirectory();
    return temp.empty() ? String() : IncludeTrailingPathDelimiter(temp) + web_.ClientFileName;
}

void TWebUpdate::DownloadUpdate() {
    transferOk_ = false;
    // The page chooses the name: anything but a new program's plain name could write outside the
    // folder, replace a program or a file the programs read, or open a device.
    if (!IsAcceptableSetupName(web_.ClientFileName, ReservedFileNames())) {
        DoDownloadError();
        return;
    }
    localFile_ = ClientFilePath();
    if (OnGetClientFileName) OnGetClientFileName(this, localFile_);
    if (localFile_.empty()) {
        DoDownloadError();
        return;
    }
    if (FileExists(localFile_)) {
        bool overwrite = options_.Contains(uoOverwrite);
        if (OnClientFileExists) OnClientFileExists(this, localFile_, overwrite);
        if (!overwrite) {
            DoDownloadError();
            return;
        }
    }
    DoBeforeDownload(localFile_);
    HttpGet(web_.Download, userName_, password_, true, true, localFile_);
    DoAfterDownload(localFile_);
}

void TWebUpdate::RunDownload() {
    if (!StartProgram(localFile_, web_.RunParameters)) DoCannotExecute();
    if (options_.Contains(uoTerminate)) Application().Terminate();
}

std::vector<String> TWebUpdate::ReservedFileNames() const {
    return {L"Folhavida.exe", L"update.exe", ExtractFileName(ProgramPath())};
}

void TWebUpdate::RemoveLeftoverDownloads() {
    if (targetFolder_.empty()) return;
    const String folder = IncludeTrailingPathDelimiter(targetFolder_);
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"wu*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    const UniqueHandle<HANDLE, ReleaseBy<&FindClose>> owner(search);
    do {
        // A download still running keeps its file open without sharing, so it is not deleted.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) DeleteFile(folder + found.cFileName);
    } while (FindNextFileW(search, &found));
}

void TWebUpdate::SplitURL(const String& url, String& host, String& path) {
    const TWuAddress address = ::SplitURL(url);
    host = address.Host;
    path = address.Path;
}

void TWebUpdate::HttpGet(const String& url, const String& userName, const String& password, bool lengthRequired,
                         bool toFile, const String& fileName) {
    // Called on its own it starts afresh; inside a check, a Cancel already given stays in force.
    if (!busy_) cancelRequested_ = false;
    transferOk_ = false;
    if (!::SplitURL(url).Valid) {
        DoDownloadError();
        return;
    }
    THttpGetRequest request;
    SplitURL(url, request.Host, request.Path);
    if (request.Host.empty()) {
        String path;
        SplitURL(productInfo_->URL(), request.Host, path);
    }
    request.Port = static_cast<Word>(httpPort_ & 0xFFFF);
    request.UserName = userName;
    request.Password = password;
    request.LengthRequired = lengthRequired;
    request.MaxBytes = toFile ? MaxDownloadBytes : MaxPageBytes;

    THttpOutcome outcome = THttpOutcome::Failed;
    String partial;
    try {
        if (toFile) {
            // The target is replaced only by a complete download; until then it stays as it was.
            partial = CreateTempFileBeside(fileName, L"wu");
            UniqueKernelHandle file(CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
            if (file.get() == INVALID_HANDLE_VALUE) (void)file.release();
            if (file) {
                TTransferSink sink(*this, file.get());
                outcome = ::HttpGet(request, sink, totalSize_, downloadedSize_);
                file.reset();
                if (outcome == THttpOutcome::Complete) {
                    ReplaceFileWith(partial, fileName);
                    partial.clear();
                }
            }
        } else {
            TTransferSink sink(*this, nullptr);
            outcome = ::HttpGet(request, sink, totalSize_, downloadedSize_);
            if (outcome == THttpOutcome::Complete) pageLines_ = SplitPageLines(DecodePageBytes(sink.Text));
        }
    } catch (...) {
        // A file that cannot be made or moved, or a handler that raised: the transfer failed.
        outcome = THttpOutcome::Failed;
    }
    if (!partial.empty()) DeleteFile(partial);
    transferOk_ = outcome == THttpOutcome::Complete;
    if (outcome == THttpOutcome::Failed) DoDownloadError();
}

namespace {
String JoinPageLines(const std::vector<String>& lines) {
    String html;
    for (const String& line : lines) html += line + L"\r\n";
    return html;
}
}  // namespace

bool TWebUpdate::ShowInfoDialog() {
    bool showInfo = true, checkForUpdate = true;
    if (OnBeforeShowInfo) OnBeforeShowInfo(this, showInfo, checkForUpdate);
    if (!showInfo) return true;
    if (!infoDialog_) infoDialog_ = std::make_unique<Tfrm_ShowInfoUpdate>(nullptr);
    Tfrm_ShowInfoUpdate& dialog = *infoDialog_;
    dialog.chk_FutureUpdate->SetChecked(checkForUpdate);
    dialog.btn_OK->SetCaption(infoCaption_->OkButton());
    dialog.btn_Cancel->SetCaption(infoCaption_->CancelButton());
    dialog.chk_FutureUpdate->SetCaption(infoCaption_->CheckForUpdate());
    // The page already read, never an address: the page names it, and a browser sent there would
    // fetch whatever that is (another page, a local file, a network share).
    dialog.WebBrowser->SetPage(JoinPageLines(pageLines_), PageText(pageLines_));
    const bool ok = dialog.ShowModal() == mrOk;
    if (OnAfterShowInfo) OnAfterShowInfo(this, dialog.chk_FutureUpdate->Checked());
    return ok;
}
