// Download of a VM pack over HTTP or FTP through WinINet, with the installer's
// progress lines on standard output.
#pragma once

#include <string>

namespace kiv {

class VmPackDownloader {
public:
    // The launcher executable's instance handle; kept for a dialog mode that
    // `console` never shows.
    void* moduleInstance() const { return moduleInstance_; }
    void setModuleInstance(void* instance) { moduleInstance_ = instance; }

    // `console` has no dialog: progress always goes to the console.
    bool showProgressDialog() const { return showProgressDialog_; }
    void setShowProgressDialog(bool show) { showProgressDialog_ = show; }

    // When set, nothing at all is written to standard output.
    bool quiet() const { return quiet_; }
    void setQuiet(bool quiet) { quiet_ = quiet; }

    // Fetches `url` (http..., https..., ftp...) into `destinationPath`, created
    // or truncated. Returns true only when the whole body was received and
    // written; on any failure after the file was created the partial file is
    // removed. Every WinINet handle it opens is closed before it returns.
    // Windows only.
    bool download(const std::wstring& url, const std::wstring& destinationPath);

private:
    void* moduleInstance_ = nullptr;
    bool showProgressDialog_ = false;
    bool quiet_ = false;
};

}  // namespace kiv
