#pragma once
// Fetching an http or https address into a local file. Engines and zel-tool
// ask downloader() for the installed service; the program runs with the
// libcurl one, tests install a fake.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zel {

struct DownloadResult {
    enum Code { Ok = 0, NetworkError = -1, HttpError = -2, WriteError = -3, Refused = -4 };
    int code = Ok;
    long httpStatus = 0;  // 0 when no answer arrived
    std::string message;  // what happened, for the status bar and the log

    bool ok() const { return code == Ok; }
};

class Downloader {
  public:
    virtual ~Downloader() = default;
    // Stores the resource at `url` as the file `localPath` (both Shift_JIS),
    // replacing it only when the whole resource arrived.
    virtual DownloadResult download(std::string_view url, std::string_view localPath) = 0;
};

struct CurlOptions {
    long connectTimeoutSeconds = 30;
    long totalTimeoutSeconds = 300;
    long maxRedirects = 10;
    std::uint64_t maxBytes = std::uint64_t{1} << 30;
};

// Follows redirects, only over http and https; an answer of 400 or above is a
// failure and leaves no file.
class CurlDownloader : public Downloader {
  public:
    explicit CurlDownloader(CurlOptions options = {});
    DownloadResult download(std::string_view url, std::string_view localPath) override;

  private:
    CurlOptions options_;
};

// The installed downloader (a CurlDownloader until another is installed).
Downloader& downloader();
// Installs `replacement` (none means a fresh CurlDownloader) and returns the
// previous one, to be restored when done.
std::unique_ptr<Downloader> installDownloader(std::unique_ptr<Downloader> replacement);

}  // namespace zel
