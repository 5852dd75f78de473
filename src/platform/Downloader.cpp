#include "platform/Downloader.h"

#include <curl/curl.h>

#include <mutex>

#include "platform/SafeFileWriter.h"
#include "text/Sjis.h"

namespace zel {
namespace {

std::unique_ptr<Downloader>& installed() {
    static std::unique_ptr<Downloader> current = std::make_unique<CurlDownloader>();
    return current;
}

struct Transfer {
    SafeFileWriter* writer;
    std::uint64_t received = 0;
    std::uint64_t maxBytes;
    bool tooLarge = false;
};

// Bytes of an error page are never written: the body is kept only after a
// successful status, which libcurl checks before the first write (FAILONERROR).
std::size_t receive(char* data, std::size_t size, std::size_t count, void* user) {
    auto* transfer = static_cast<Transfer*>(user);
    std::size_t bytes = size * count;
    transfer->received += bytes;
    if (transfer->received > transfer->maxBytes) {
        transfer->tooLarge = true;
        return 0;
    }
    return transfer->writer->append(std::string_view(data, bytes)) ? bytes : 0;
}

DownloadResult failed(int code, long status, std::string message) {
    return DownloadResult{code, status, std::move(message)};
}

}  // namespace

CurlDownloader::CurlDownloader(CurlOptions options) : options_(options) {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

DownloadResult CurlDownloader::download(std::string_view url, std::string_view localPath) {
    const std::string address = sjisToUtf8(url);
    const std::string where = std::string(url) + " to " + std::string(localPath);
    CURL* curl = curl_easy_init();
    if (!curl) return failed(DownloadResult::NetworkError, 0, "Could not start a download");
    SafeFileWriter writer(localPath);
    if (!writer.status()) {
        curl_easy_cleanup(curl);
        return failed(DownloadResult::WriteError, 0, writer.status().message);
    }
    Transfer transfer{&writer, 0, options_.maxBytes};
    char errorText[CURL_ERROR_SIZE] = {};
    curl_easy_setopt(curl, CURLOPT_URL, address.c_str());
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, options_.maxRedirects);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, options_.connectTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, options_.totalTimeoutSeconds);
    curl_easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "zel");
    curl_easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
    curl_easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, receive);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    CURLcode code = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(curl);

    std::string reason = utf8ToSjis(errorText[0] ? errorText : curl_easy_strerror(code));
    if (code == CURLE_HTTP_RETURNED_ERROR || status >= 400) {
        return failed(DownloadResult::HttpError, status,
                      "Could not download " + where + ": HTTP " + std::to_string(status));
    }
    if (transfer.tooLarge) {
        return failed(DownloadResult::Refused, status,
                      "Could not download " + where + ": larger than " +
                          std::to_string(options_.maxBytes) + " bytes");
    }
    if (code == CURLE_WRITE_ERROR && !writer.status()) {
        return failed(DownloadResult::WriteError, status, writer.status().message);
    }
    if (code == CURLE_UNSUPPORTED_PROTOCOL) {
        return failed(DownloadResult::Refused, status,
                      "Could not download " + where + ": " + reason);
    }
    if (code != CURLE_OK) {
        return failed(DownloadResult::NetworkError, status,
                      "Could not download " + where + ": " + reason);
    }
    if (IoResult saved = writer.commit(); !saved) {
        return failed(DownloadResult::WriteError, status, saved.message);
    }
    return DownloadResult{DownloadResult::Ok, status, "Downloaded " + where};
}

Downloader& downloader() {
    return *installed();
}

std::unique_ptr<Downloader> installDownloader(std::unique_ptr<Downloader> replacement) {
    if (!replacement) replacement = std::make_unique<CurlDownloader>();
    std::swap(installed(), replacement);
    return replacement;
}

}  // namespace zel
