// zel-tool against hostile memo files: names that climb out of the folder,
// bombs, full disks and size limits. Nothing may be written outside the
// output folder, and every refusal must fail with its reason.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "cli/CliTestSupport.h"
#include "platform/Compression.h"
#include "platform/SafeFileWriter.h"

namespace zel {
namespace {

using ::testing::HasSubstr;

using Outcome = test::VerbOutcome;

Outcome run(const std::vector<std::string>& args) {
    return test::runVerb(args);
}

std::set<std::string> everyFile(const test::TempFolder& dir) {
    std::set<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(dir.osPath("")))
        files.insert(std::filesystem::relative(entry.path(), dir.osPath("")).string());
    return files;
}

void write(const test::TempFolder& dir, const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(writeFileSafely(dir.path(name), bytes));
}

constexpr const char* kHolder =
    "<Holder name=\"h\">\r\n  <Record name=\"n\">\r\nmemo<BR/>\r\n  </Record>\r\n</Holder>\r\n";

// The index of the report: a holder named .x whose FileExt climbs, one whose
// name does, and one that names an outside file with FlagExtra.
TEST(HostileTool, ConvertWritesAndReadsNothingOutsideTheFolders) {
    test::TempFolder dir;
    std::filesystem::create_directories(dir.osPath("in"));
    std::filesystem::create_directories(dir.osPath("out"));
    write(dir, "in/memo.mxa",
          "<File name=\"memo\">\r\n"
          "<Holder name=\".x\"><Field FileExt=\"/../../victim.mxh\"/></Holder>\r\n"
          "<Holder name=\"../../climb\"></Holder>\r\n"
          "<Holder name=\"extra\"><Field FlagExtra=\"true\" Filename=\"/../victim2.mxh\"/>"
          "</Holder>\r\n</File>\r\n");
    // Where the reduced names lead: inside the index's own folder.
    write(dir, "in/.mxh", kHolder);      // only the last extension of FileExt counts
    write(dir, "in/.._..mxh", kHolder);  // the last dot starts the extension
    write(dir, "in/victim2.mxh", kHolder);
    const std::set<std::string> before = everyFile(dir);

    Outcome converted =
        run({"convert", dir.osPath("in/memo.mxa").string(), dir.osPath("out/o.mxa").string()});
    ASSERT_EQ(converted.status, 0) << converted.err;
    std::set<std::string> added;
    for (const auto& file : everyFile(dir))
        if (!before.count(file)) added.insert(file);
    for (const auto& file : added) EXPECT_EQ(file.rfind("out/", 0), 0u) << file;
    EXPECT_EQ(added.size(), 4u);

    Outcome packed =
        run({"convert", dir.osPath("in/memo.mxa").string(), dir.osPath("out/p.maz").string()});
    ASSERT_EQ(packed.status, 0) << packed.err;
    Outcome unpacked =
        run({"convert", dir.osPath("out/p.maz").string(), dir.osPath("out/sub/u.mxa").string()});
    EXPECT_EQ(unpacked.status, 1) << "no such folder: nothing written";
    std::filesystem::create_directories(dir.osPath("out/sub"));
    unpacked =
        run({"convert", dir.osPath("out/p.maz").string(), dir.osPath("out/sub/u.mxa").string()});
    ASSERT_EQ(unpacked.status, 0) << unpacked.err;
    for (const auto& file : everyFile(dir))
        EXPECT_TRUE(before.count(file) || file.rfind("out/", 0) == 0) << file;
}

TEST(HostileTool, BombsAndBrokenStreamsFailWithTheirReason) {
    test::TempFolder dir;
    const InflateLimits saved = inflateLimits();
    setInflateLimits({64 << 20, 200, 1 << 20});
    std::string bomb;
    ASSERT_TRUE(deflateBytes(std::string(kHolder) + std::string(8 << 20, ' '), bomb));
    write(dir, "bomb.mhz", bomb);
    ASSERT_TRUE(
        deflateBytes("MIME-Version: 1.0\r\nContent-Type: multipart/mixed; boundary=b\r\n\r\n"
                     "--b\r\n\r\n" +
                         std::string(8 << 20, 'A'),
                     bomb));
    write(dir, "bomb.maz", bomb);
    for (const char* verb : {"info", "check"}) {
        for (const char* name : {"bomb.mhz", "bomb.maz"}) {
            Outcome refused = run({verb, dir.osPath(name).string()});
            EXPECT_EQ(refused.status, 1) << verb << " " << name;
            // check lists its problems on the standard output.
            EXPECT_THAT(refused.err + refused.out, HasSubstr("Refused to decompress: "))
                << verb << " " << name;
        }
    }
    Outcome cat = run({"cat", dir.osPath("bomb.maz").string(), "n"});
    EXPECT_THAT(cat.err, HasSubstr("Refused to decompress: "));
    setInflateLimits(saved);

    std::string compressed;
    ASSERT_TRUE(deflateBytes(std::string(kHolder) + std::string(1000, '\n'), compressed));
    write(dir, "cut.mhz", compressed.substr(0, compressed.size() - 6));
    Outcome cut = run({"info", dir.osPath("cut.mhz").string()});
    EXPECT_EQ(cut.status, 1);
    EXPECT_THAT(cut.err, HasSubstr("the compressed data ends early"));
}

TEST(HostileTool, AFullDiskOrASizeLimitFailsTheConvertAndKeepsTheOldFiles) {
    test::TempFolder dir;
    write(dir, "a.mxh", kHolder);
    write(dir, "memo.mxa",
          "<File name=\"memo\"><Holder name=\"a\"></Holder><Holder name=\"b\"></Holder></File>");
    write(dir, "b.mxh", kHolder);
    std::filesystem::create_directories(dir.osPath("out"));
    for (const char* name : {"out/o.mxa", "out/a.mxh", "out/b.mxh"}) write(dir, name, "old");

    int syncs = 0;
    WriteFaultHook previous =
        setWriteFaultHook([&](WriteStep step) { return step == WriteStep::Sync && ++syncs == 3; });
    Outcome failed =
        run({"convert", dir.osPath("memo.mxa").string(), dir.osPath("out/o.mxa").string()});
    setWriteFaultHook(previous);
    EXPECT_EQ(failed.status, 1);
    EXPECT_THAT(failed.err, HasSubstr("zel-tool: "));
    for (const char* name : {"out/o.mxa", "out/a.mxh", "out/b.mxh"}) {
        std::ifstream in(dir.osPath(name));
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old") << name;
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.osPath("out")), {}), 3);

    // Under ulimit -f the tool is not killed silently: it fails with a reason.
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_DFL);
        rlimit limit{64, 64};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        Outcome limited =
            run({"convert", dir.osPath("memo.mxa").string(), dir.osPath("out/o.mxa").string()});
        ::_exit(limited.status == 1 && limited.err.find("zel-tool: ") != std::string::npos ? 0 : 2);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace zel
