#include "platform/Downloader.h"

#include <gtest/gtest.h>

#include "platform/FileSystem.h"
#include "platform/SafeFileWriter.h"
#include "support/LocalHttpServer.h"
#include "support/TempFolder.h"

namespace zel {
namespace {

CurlOptions quick() {
    CurlOptions options;
    options.connectTimeoutSeconds = 5;
    options.totalTimeoutSeconds = 20;
    return options;
}

TEST(CurlDownloader, StoresTheBodyOfASuccessfulAnswer) {
    test::LocalHttpServer server;
    std::string body = "<html>\x83\x81\x83\x82</html>" + std::string(200000, 'x');
    server.answer("/page.html", {200, body, "Content-Type: text/html\r\n"});
    server.answer("/moved", {302, "", "Location: /page.html\r\n"});
    test::TempFolder dir;

    DownloadResult result =
        CurlDownloader(quick()).download(server.url("/moved"), dir.path("a.html"));
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.httpStatus, 200);
    std::string stored;
    ASSERT_TRUE(readFile(dir.path("a.html"), stored));
    EXPECT_EQ(stored, body);
}

TEST(CurlDownloader, AnErrorAnswerLeavesNoFileAndKeepsAnOldOne) {
    test::LocalHttpServer server;
    test::TempFolder dir;
    CurlDownloader curl(quick());

    DownloadResult missing = curl.download(server.url("/nothing"), dir.path("new.html"));
    EXPECT_EQ(missing.code, DownloadResult::HttpError);
    EXPECT_EQ(missing.httpStatus, 404);
    EXPECT_NE(missing.message.find("404"), std::string::npos);
    EXPECT_FALSE(pathExists(dir.path("new.html")));

    ASSERT_TRUE(writeFileSafely(dir.path("old.html"), "old"));
    server.answer("/broken", {500, "server trouble", ""});
    EXPECT_EQ(curl.download(server.url("/broken"), dir.path("old.html")).code,
              DownloadResult::HttpError);
    std::string stored;
    ASSERT_TRUE(readFile(dir.path("old.html"), stored));
    EXPECT_EQ(stored, "old");
    std::vector<FolderEntry> entries;
    listFolder(dir.path(), entries);
    EXPECT_EQ(entries.size(), 1u);
}

TEST(CurlDownloader, RefusesOtherSchemesUnreachableHostsAndOversizedBodies) {
    test::TempFolder dir;
    ASSERT_TRUE(writeFileSafely(dir.path("secret"), "local"));
    CurlDownloader curl(quick());
    DownloadResult local = curl.download("file://" + dir.path("secret"), dir.path("copy"));
    EXPECT_FALSE(local.ok());
    EXPECT_FALSE(pathExists(dir.path("copy")));

    std::string closedPort;
    {
        test::LocalHttpServer gone;
        closedPort = gone.url("/x");
    }
    DownloadResult refused = curl.download(closedPort, dir.path("copy"));
    EXPECT_EQ(refused.code, DownloadResult::NetworkError);
    EXPECT_EQ(refused.httpStatus, 0);

    test::LocalHttpServer server;
    server.answer("/big", {200, std::string(5000, 'b'), ""});
    CurlOptions small = quick();
    small.maxBytes = 1000;
    EXPECT_EQ(CurlDownloader(small).download(server.url("/big"), dir.path("big")).code,
              DownloadResult::Refused);
    EXPECT_FALSE(pathExists(dir.path("big")));
}

class FakeDownloader : public Downloader {
  public:
    DownloadResult download(std::string_view url, std::string_view localPath) override {
        requested = std::string(url) + " -> " + std::string(localPath);
        return {DownloadResult::HttpError, 404, "fake"};
    }
    std::string requested;
};

TEST(Downloader, TestsInstallAFakeAndRestoreTheService) {
    auto fake = std::make_unique<FakeDownloader>();
    FakeDownloader* seen = fake.get();
    std::unique_ptr<Downloader> previous = installDownloader(std::move(fake));
    EXPECT_EQ(downloader().download("http://host/a", "/tmp/a").httpStatus, 404);
    EXPECT_EQ(seen->requested, "http://host/a -> /tmp/a");
    installDownloader(std::move(previous));
    EXPECT_NE(dynamic_cast<CurlDownloader*>(&downloader()), nullptr);
}

}  // namespace
}  // namespace zel
