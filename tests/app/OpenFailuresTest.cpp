// Opening says what went wrong: a refused container, a holder file that
// cannot be read and markup errors end the open with an "ERROR:" status that
// names the file and the reason, and with a box that names them too.

#include <filesystem>

#include "app/AppTestSupport.h"
#include "model/MemoHolder.h"
#include "platform/Compression.h"

namespace zel {
namespace {

class OpenFailuresTest : public AppTest {
  protected:
    void TearDown() override {
        setInflateLimits({});
        AppTest::TearDown();
    }
    // A compressed holder file of one node, cut after half its bytes.
    void writeTruncatedHolder(const std::string& name) {
        writeMemoFile("source.mxa", {{"h", {"n1", "n2"}}});
        ASSERT_TRUE(writeCompressedFile(path(name), readText("h.mxh")));
        const std::string whole = readText(name);
        writeText(name, whole.substr(0, whole.size() / 2));
    }
    // The status the open ended with begins "ERROR: " and names `file`.
    void expectErrorNaming(const std::string& file, const std::string& reason) {
        const std::string& status = window->statusMessage();
        EXPECT_TRUE(status.starts_with("ERROR: ")) << status;
        EXPECT_NE(status.find(file), std::string::npos) << status;
        EXPECT_NE(status.find(reason), std::string::npos) << status;
    }
};

TEST_F(OpenFailuresTest, ARefusedContainerSaysWhyInABoxAndInTheStatus) {
    writeMemoFile("box.maz", {{"alpha", {std::string(5000, 'a')}}});
    makeWindow();
    setInflateLimits({1000, 2, 0});
    prompter->answer(Answer::Ok, "Could Not Open " + path("box.maz") + "\r\nRefused to decompress");
    window->openArg1({path("box.maz")});
    expectErrorNaming(path("box.maz"), "Refused to decompress");
    EXPECT_FALSE(exists("box.mxa"));
}

TEST_F(OpenFailuresTest, ATruncatedHolderOpenedAloneExplainsItsEmptiness) {
    writeTruncatedHolder("cut.mhz");
    makeWindow();
    prompter->answer(Answer::Ok,
                     "SYSTEM ERROR: aH.countOfNodes = 0 in _changeCurrentHolder_ cut\r\n" +
                         path("cut.mhz") + ": Could not decompress");
    window->openArg1({path("cut.mhz")});
    expectErrorNaming(path("cut.mhz"), "Could not decompress");
}

TEST_F(OpenFailuresTest, AHolderOfTheIndexThatCannotBeReadSaysSoAndStaysUntouched) {
    writeMemoFile("idx.mxa", {{"hh", {"x"}}});
    const std::string broken =
        "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<Holder name=\"hh\">\r\n"
        "<Record name=\"a\">\r\n</Holder>\r\n";
    writeText("hh.mxh", broken);
    makeWindow();
    prompter->answer(Answer::Ok, "Markup error in " + path("hh.mxh"));
    window->openArg1({path("idx.mxa")});
    expectErrorNaming(path("hh.mxh"), "Markup error");
    EXPECT_TRUE(window->getCurHolder()->isReadOnlyEffective_());
    EXPECT_EQ(readText("hh.mxh"), broken);

    // A later open starts with a clean slate.
    writeMemoFile("fine.mxa", {{"ok", {"y"}}});
    makeWindow();
    window->openArg1({path("fine.mxa")});
    EXPECT_EQ(window->statusMessage(), "Done: Loaded " + path("fine.mxa"));
}

TEST_F(OpenFailuresTest, MarkupErrorsInTheIndexEndTheOpenWithTheFirstOne) {
    writeText("bad.mxa",
              "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<File name=\"broken\">\r\n"
              "  <Holder name=\"kept\">\r\n    <Field FlagLoaded=\"false\" />\r\n  </Holder>\r\n"
              "  <Holder name=\"cut\">\r\n  </Record>\r\n</File>\r\n");
    writeMemoFile("kept.mxa", {{"kept", {"k"}}});
    makeWindow();
    prompter->answer(Answer::Ok, "Markup error in " + path("bad.mxa") + "\r\n6:</Record>");
    window->openArg1({path("bad.mxa")});
    expectErrorNaming(path("bad.mxa"), "markup error, line 6:</Record>");
    EXPECT_EQ(window->getCurHolder()->getName_(), "kept") << "what could be read is shown";
}

}  // namespace
}  // namespace zel
