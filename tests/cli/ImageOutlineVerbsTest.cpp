// zel-tool image and outline over a holder file written here.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "cli/CliTestSupport.h"
#include "formats/Base64.h"
#include "formats/ImageCodecs.h"
#include "formats/ImageSamples.h"
#include "platform/FileSystem.h"

namespace zel {
namespace {

using ::testing::HasSubstr;
using Json = nlohmann::json;

using Outcome = test::VerbOutcome;

Outcome run(const std::vector<std::string>& args) {
    return test::runVerb(args);
}

std::string record(const std::string& name, const std::string& fields,
                   const std::vector<std::string>& memo) {
    std::string text = "  <Record name=\"" + name + "\">\r\n    <Field " + fields + " />\r\n";
    for (const std::string& line : memo) text += line + "<BR/>\r\n";
    return text + "  </Record>\r\n";
}

std::vector<std::string> base64Lines(const std::string& bytes) {
    std::vector<std::string> lines;
    encodeBase64(std::optional<std::string>(bytes), lines);
    return lines;
}

class ImageOutlineVerbs : public ::testing::Test {
  protected:
    void SetUp() override {
        png = test::pngOf(test::gradientBitmap(40, 30, 4));
        const std::string holder =
            "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n<Holder name=\"h\">\r\n" +
            record("a.png",
                   "Content-Transfer-Encoding=\"base64\" Content-Type=\"image/png\" "
                   "Filename=\"a.png\"",
                   base64Lines(png)) +
            record("broken", "Content-Transfer-Encoding=\"base64\" Content-Type=\"image/jpeg\"",
                   base64Lines("\xFF\xD8\xFF not really")) +
            record("figure", "Content-Transfer-Encoding=\"Poser\"",
                   {"{", "figure", "{", "deltas x", "{", "1 2 3", "}", "}", "}"}) +
            "</Holder>\r\n";
        test::writeBytes(dir.path("h.mxh"), holder);
    }
    std::string file() const { return dir.path("h.mxh"); }

    test::TempFolder dir;
    std::string png;
};

TEST_F(ImageOutlineVerbs, ImageSaysWhatTheBodyIsAndWhetherItReads) {
    const Outcome shown = run({"image", file(), "a.png"});
    EXPECT_EQ(shown.status, 0) << shown.err;
    EXPECT_THAT(shown.out, HasSubstr("Type: \"image/png\"\nSize: " + std::to_string(png.size())));
    EXPECT_THAT(shown.out, HasSubstr("Picture: PNG 40 x 30, 4 channels"));
    const Json json = Json::parse(run({"--json", "image", file(), "a.png"}).out);
    EXPECT_EQ(json["width"], 40);
    EXPECT_EQ(json["decodable"], true);

    const Outcome broken = run({"image", file(), "broken"});
    EXPECT_EQ(broken.status, 1);
    EXPECT_THAT(broken.out, HasSubstr("Picture: not readable: Not a readable JPEG picture"));
    EXPECT_THAT(run({"image", file(), "figure"}).err, HasSubstr("holds no binary body"));
}

TEST_F(ImageOutlineVerbs, ConversionsWriteOutAndNameAsTheWindowWould) {
    const Outcome jpeg =
        run({"image", file(), "a.png", "--to-jpeg", "20", "--mono", dir.path("a.jpg")});
    ASSERT_EQ(jpeg.status, 0) << jpeg.err;
    EXPECT_THAT(jpeg.out,
                HasSubstr("Content-Type: \"image/jpeg\"\nFilename: \"a.jpg\"\nName: a.jpg"));
    int status = 0;
    EXPECT_EQ(test::runCommand("djpeg -pnm " + dir.path("a.jpg"), status).substr(0, 9),
              "P5\n40 30\n");

    const Outcome bmp = run({"image", file(), "a.png", "--to-bmp", dir.path("out.bmp")});
    ASSERT_EQ(bmp.status, 0) << bmp.err;
    std::string written;
    ASSERT_TRUE(readFile(dir.path("out.bmp"), written));
    EXPECT_EQ(decodeBmp(written).bitmap.width, 40);

    // Never over the holder file, nothing from a body that does not read,
    // and only qualities that exist.
    EXPECT_THAT(run({"image", file(), "a.png", "--to-bmp", file()}).err,
                HasSubstr("Not written over a file of the memo file"));
    EXPECT_EQ(run({"image", file(), "broken", "--to-bmp", dir.path("b.bmp")}).status, 1);
    EXPECT_FALSE(fileExists(dir.path("b.bmp")));
    for (const char* quality : {"0", "101", "x", "-5"})
        EXPECT_EQ(run({"image", file(), "a.png", "--to-jpeg", quality, dir.path("q.jpg")}).status,
                  1);
    EXPECT_FALSE(fileExists(dir.path("q.jpg")));
}

TEST_F(ImageOutlineVerbs, OutlineShowsTheTreeAndItsWriteBack) {
    const Outcome poser = run({"outline", file(), "figure"});
    ASSERT_EQ(poser.status, 0) << poser.err;
    EXPECT_EQ(poser.out, "figure\n  deltas x\n    | {\n    | 1 2 3\n    | }\n");
    EXPECT_EQ(run({"outline", file(), "figure", "--poserlike"}).out,
              "figure\n  deltas x\n    1 2 3\n");
    EXPECT_EQ(run({"outline", file(), "figure", "--roundtrip"}).out,
              "{\nfigure\n\t{\n\tdeltas x\n\t\t{\n\t\t1 2 3\n\t\t}\n\t}\n}\n");
    const Json json = Json::parse(run({"--json", "outline", file(), "figure"}).out);
    EXPECT_EQ(json["items"][0]["children"][0]["block"][1], "1 2 3");
}

}  // namespace
}  // namespace zel
