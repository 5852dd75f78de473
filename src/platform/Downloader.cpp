#include "platform/Downloader.h"

#include <curl/curl.h>
#include <dlfcn.h>

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

// libcurl is opened at the first download, not at start: with it come some
// thirty libraries (TLS, Kerberos, LDAP, SSH ...) whose loading made most of
// zel-tool's start-up, and few runs download anything.
struct Curl {
    decltype(&curl_global_init) global_init = nullptr;
    decltype(&curl_easy_init) easy_init = nullptr;
    decltype(&curl_easy_setopt) easy_setopt = nullptr;
    decltype(&curl_easy_perform) easy_perform = nullptr;
    decltype(&curl_easy_getinfo) easy_getinfo = nullptr;
    decltype(&curl_easy_cleanup) easy_cleanup = nullptr;
    decltype(&curl_easy_strerror) easy_strerror = nullptr;
};

template <class F>
bool resolve(void* library, const char* name, F& function) {
    function = reinterpret_cast<F>(dlsym(library, name));
    return function != nullptr;
}

// The library, loaded and initialised once; null when it cannot be loaded.
const Curl* loadedCurl() {
    static const Curl* loaded = []() -> const Curl* {
        void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
        if (!library) return nullptr;
        static Curl found;
        const bool all = resolve(library, "curl_global_init", found.global_init) &&
                         resolve(library, "curl_easy_init", found.easy_init) &&
                         resolve(library, "curl_easy_setopt", found.easy_setopt) &&
                         resolve(library, "curl_easy_perform", found.easy_perform) &&
                         resolve(library, "curl_easy_getinfo", found.easy_getinfo) &&
                         resolve(library, "curl_easy_cleanup", found.easy_cleanup) &&
                         resolve(library, "curl_easy_strerror", found.easy_strerror);
        if (!all || found.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) return nullptr;
        return &found;
    }();
    return loaded;
}

}  // namespace

CurlDownloader::CurlDownloader(CurlOptions options) : options_(options) {}

DownloadResult CurlDownloader::download(std::string_view url, std::string_view localPath) {
    const std::string address = sjisToUtf8(url);
    const std::string where = std::string(url) + " to " + std::string(localPath);
    const Curl* lib = loadedCurl();
    if (!lib) {
        return failed(DownloadResult::NetworkError, 0,
                      "Could not download " + where + ": libcurl (libcurl.so.4) cannot be loaded");
    }
    CURL* curl = lib->easy_init();
    if (!curl) return failed(DownloadResult::NetworkError, 0, "Could not start a download");
    SafeFileWriter writer(localPath);
    if (!writer.status()) {
        lib->easy_cleanup(curl);
        return failed(DownloadResult::WriteError, 0, writer.status().message);
    }
    Transfer transfer{&writer, 0, options_.maxBytes};
    char errorText[CURL_ERROR_SIZE] = {};
    lib->easy_setopt(curl, CURLOPT_URL, address.c_str());
    lib->easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    lib->easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    lib->easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    lib->easy_setopt(curl, CURLOPT_MAXREDIRS, options_.maxRedirects);
    lib->easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, options_.connectTimeoutSeconds);
    lib->easy_setopt(curl, CURLOPT_TIMEOUT, options_.totalTimeoutSeconds);
    lib->easy_setopt(curl, CURLOPT_FAILONERROR, 1L);
    lib->easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    lib->easy_setopt(curl, CURLOPT_USERAGENT, "zel");
    lib->easy_setopt(curl, CURLOPT_ACCEPT_ENCODING, "");
    lib->easy_setopt(curl, CURLOPT_ERRORBUFFER, errorText);
    lib->easy_setopt(curl, CURLOPT_WRITEFUNCTION, receive);
    lib->easy_setopt(curl, CURLOPT_WRITEDATA, &transfer);
    CURLcode code = lib->easy_perform(curl);
    long status = 0;
    lib->easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    lib->easy_cleanup(curl);

    std::string reason = utf8ToSjis(errorText[0] ? errorText : lib->easy_strerror(code));
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
