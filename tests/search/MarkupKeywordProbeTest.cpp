#include "search/MarkupKeywordProbe.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "model/HolderFile.h"
#include "model/MemoFile.h"
#include "model/MemoHolder.h"
#include "model/MemoNode.h"
#include "platform/Compression.h"
#include "text/LineMatcher.h"

namespace zel {
namespace {

// Markup where the bytes and the nodes' lines differ in every way the reader
// knows: entities, a tag and a line break between two text runs that join,
// attributes that become field lines, names made unique or dated, and text
// after a record that becomes its memo line, and a Base64 body whose field
// the reader rewrites.
constexpr std::string_view kTricky =
    "<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>\r\n"
    "<Holder name=\"h\">\r\n"
    "  <Record name=\"plan9\">\r\n"
    "    <Field flagMarked=\"true\" UID=\"20060301_1\" Tag = \"blue sky\" />\r\n"
    "x&lt;y and &quot;Quoted&quot; a&amp;b<BR/>\r\n"
    "mee<i>skipped</i>ting, lunch<BR/>\r\n"
    "cof\r\nfee&nbsp;break<BR/>\r\n"
    "  <Comment>note<BR/>se<b/>cond<BR/></Comment>\r\n"
    "  </Record>\r\n"
    "  <Record name=\"plan9\"><Field UID=\"2\"/>tail<BR/></Record>\r\n"
    "after the record\r\n"
    "  <Record name=\"dup\"></Record>\r\n"
    "  <Record name=\"DUP\"></Record>\r\n"
    "  <Record name=\"\"></Record>\r\n"
    "  <Record name=\"\x83\x41\x83\x43\"></Record>\r\n"
    "  <Record name=\"img\"><Field Content-Transfer-Encoding=\"base64\"/>aGk=<BR/></Record>\r\n"
    "</Holder>\r\n";

bool holderHolds(const MemoHolder& holder, std::string_view keyword, bool ignoreCase) {
    const LineMatcher matcher(keyword, ignoreCase);
    for (int i = 0; i < holder.count_(); ++i)
        if (holder.at_(i)->contains_(matcher, true, true, true, true)) return true;
    return false;
}

TEST(MarkupKeywordProbe, NeverRulesOutWhatTheReaderFinds) {
    MemoFile file;
    MemoHolder& holder = *file.createHolder_(-1);
    ASSERT_EQ(readHolderText_(holder, kTricky, "tricky"), 0);
    // Each is found by the reader: across an entity, a tag or a line break,
    // in a field line, a made-up name or text after a record.
    const std::vector<std::string> found = {
        "x<y",      "\"quoted\" a&b", "meeting,",     "coffee break", "second",
        "g=true",   "tag=blue sky",   "plan0",        "plan9",        "P_02",
        "an0",      "record",         "after the re", "y and \"Q",    "x&lt;y",
        "\x83\x41", "meeting, lunch", "flagmarked=t", "UID=2006",     "binary",
        "g=\"bin"};
    for (const std::string& keyword : found) {
        for (bool ignoreCase : {false, true}) {
            if (!holderHolds(holder, keyword, ignoreCase)) continue;
            const MarkupKeywordProbe probe(keyword, ignoreCase);
            EXPECT_TRUE(probe.mayHold(kTricky)) << keyword << " ignoreCase=" << ignoreCase;
        }
    }
    // The oracle saw the hard cases.
    for (const char* keyword :
         {"meeting, lunch", "coffee break", "P_02", "plan0", "second", "binary"})
        EXPECT_TRUE(holderHolds(holder, keyword, true)) << keyword;
}

TEST(MarkupKeywordProbe, RulesOutWordsThatCannotBeThere) {
    // Each stops at a line break or lies nowhere. "meetings" may lie across
    // the <i> element, and a word whose rarest byte stands in a name (the
    // "n" of "notes" in "plan9") may lie in a name made longer.
    for (const char* absent : {"zebra", "chess", "skyblue", "cofe", "breakfast", "skylark"}) {
        const MarkupKeywordProbe probe(absent, false);
        ASSERT_TRUE(probe.selective()) << absent;
        EXPECT_FALSE(probe.mayHold(kTricky)) << absent;
    }
    // Case: folded only when asked.
    EXPECT_FALSE(MarkupKeywordProbe("MEETING", false).mayHold(kTricky));
    EXPECT_TRUE(MarkupKeywordProbe("MEETING", true).mayHold(kTricky));
    EXPECT_TRUE(MarkupKeywordProbe("notes", false).mayHold(kTricky));
    // Inside a Record tag only the values count.
    EXPECT_FALSE(MarkupKeywordProbe("Recordx", false).mayHold(kTricky));
}

TEST(MarkupKeywordProbe, KeywordsOfMadeUpBytesOnlyAreNeverRuledOut) {
    // Digits, "_" and blanks may come from a dated or counted name; "<" and
    // "&" from an entity.
    for (const char* keyword : {"2026", "_01", " ", "<&>", "\"=\""}) {
        const MarkupKeywordProbe probe(keyword, true);
        EXPECT_FALSE(probe.selective()) << keyword;
        EXPECT_TRUE(probe.mayHold("<Holder name=\"h\"></Holder>")) << keyword;
    }
}

TEST(MarkupKeywordProbe, ReadsCompressedFilesAndTrustsUnreadableOnes) {
    const auto folder =
        std::filesystem::temp_directory_path() / ("zel-probe-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    std::string compressed;
    ASSERT_TRUE(deflateBytes(kTricky, compressed));
    const std::string path = (folder / "h.mhz").string();
    std::ofstream(path, std::ios::binary) << compressed;

    EXPECT_TRUE(MarkupKeywordProbe("lunch", false).fileMayHold(path));
    EXPECT_FALSE(MarkupKeywordProbe("zebra", false).fileMayHold(path));
    EXPECT_TRUE(MarkupKeywordProbe("zebra", false).fileMayHold((folder / "none.mxh").string()));
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zel
