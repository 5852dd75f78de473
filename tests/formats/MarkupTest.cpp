#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "formats/TTAGNode.h"
#include "object/Report.h"
#include "text/Sjis.h"

namespace zel {
namespace {

std::vector<std::string> wordsOf(std::string_view text, bool keepLineBreaks = false) {
    WordList words;
    splitWords(text, words, keepLineBreaks);
    return words.toLines();
}

using Lines = std::vector<std::string>;

// Parses `text` into `root`; yields the builder's result.
int build(TTAGNode& root, std::string_view text, Lines& errors) {
    WordList words;
    splitWords(text, words, false);
    return parseMarkup(root, words, errors);
}

TEST(SplitWords, TagsTextRunsAndLineBreaks) {
    // Line breaks outside tags join the text on both sides; blank runs vanish.
    EXPECT_EQ(wordsOf("<a>hello\r\nworld</a>  \r\n  <b/>"),
              (Lines{"<a>", "helloworld", "</a>", "<b/>"}));
    // A run keeps its blanks; a trailing run is lost.
    EXPECT_EQ(wordsOf("<a> x y <b>tail"), (Lines{"<a>", " x y ", "<b>"}));
    // CR CR, LF LF and LF CR each count as one break; LF LF LF as two.
    EXPECT_EQ(wordsOf("<a>x\n\ny\r\rz\n\n\nw<b>", true),
              (Lines{"<a>", "x", "<CR/>", "y", "<CR/>", "z", "<CR/>", "<CR/>", "w", "<b>"}));
}

TEST(SplitWords, InsideTags) {
    // A quoted ">" does not end the tag; line breaks in quotes stay, outside are dropped.
    EXPECT_EQ(wordsOf("<Record name=\"a>b\">"), (Lines{"<Record name=\"a>b\">"}));
    EXPECT_EQ(wordsOf("<R\r\n a=\"x\r\ny\"\r\n>"), (Lines{"<R a=\"x\r\ny\">"}));
    // "<" inside a tag is part of it, as in the DOCTYPE line of holder files.
    EXPECT_EQ(wordsOf("<!DOCTYPE H [<!ENTITY quot \"&#34;\">]>\r\n<H>"),
              (Lines{"<!DOCTYPE H [<!ENTITY quot \"&#34;\">", "]>", "<H>"}));
    // An unterminated tag at the end is no word.
    EXPECT_EQ(wordsOf("<a><b c=\"x"), (Lines{"<a>"}));
}

TEST(SplitWords, LinesAreJoinedWithLineBreaks) {
    WordList words;
    splitWords(Lines{"<a>abc", "def<b v=\"1", "2\">"}, words, false);
    EXPECT_EQ(words.toLines(), (Lines{"<a>", "abcdef", "<b v=\"1\r\n2\">"}));
}

TEST(SplitWords, BorrowedWordsViewTheTextUnlessJoined) {
    const std::string text = "<a>one\r\n<b x=\"1\"\r\n/>tw\r\no<c>";
    WordList borrowed;
    splitBorrowedWords(text, borrowed, false);
    EXPECT_EQ(borrowed.toLines(), (Lines{"<a>", "one", "<b x=\"1\"/>", "two", "<c>"}));
    auto insideText = [&](std::string_view word) {
        return word.data() >= text.data() && word.data() + word.size() <= text.data() + text.size();
    };
    EXPECT_TRUE(insideText(borrowed[1]));
    EXPECT_FALSE(insideText(borrowed[2]));  // pieced together around a line break

    // Kept words outlive the text they were split from.
    WordList kept;
    splitWords(std::string(text) + "<d>", kept, true);
    EXPECT_EQ(kept.toLines(),
              (Lines{"<a>", "one", "<CR/>", "<b x=\"1\"/>", "tw", "<CR/>", "o", "<c>", "<d>"}));
}

// The bytes may arrive in pieces of any size: a word cut by a piece's end, a
// quoted section and a CR LF split in two read as they do whole.
TEST(SplitWords, PiecesOfAnySizeGiveTheWordsOfTheWhole) {
    const std::string text =
        "<a>one\r\n<b x=\"1>\r\n2\"\r\n/>tw\r\no<c> \r\n <d>x\r\r\ny\n\r<e/>tail";
    for (bool keep : {false, true}) {
        for (std::size_t size = 1; size <= 7; ++size) {
            Lines words;
            auto take = [&](std::string_view word) {
                words.emplace_back(word);
                return true;
            };
            WordScanner<decltype(take)> scanner(take, keep);
            for (std::size_t at = 0; at < text.size(); at += size)
                scanner.feed(std::string_view(text).substr(at, size));
            scanner.finish();
            EXPECT_EQ(words, wordsOf(text, keep)) << "pieces of " << size;
        }
    }
}

TEST(SplitWords, ShiftJisTextSurvivesByteForByte) {
    // 表 (95 5C) and ソ (83 5C) end in the backslash byte; ー (81 5B) in "[".
    std::string memo = "\x95\x5C\x83\x5C\x81\x5B";
    EXPECT_EQ(wordsOf("<R n=\"" + memo + "\">" + memo + "<BR/>"),
              (Lines{"<R n=\"" + memo + "\">", memo, "<BR/>"}));
}

TEST(ParseTag, NameAttributesAndFlags) {
    TagParts field = parseTag("<Field a=\"x y\" b='z'/>");
    EXPECT_EQ(field.name, "Field");
    EXPECT_TRUE(field.selfClosing);
    EXPECT_FALSE(field.closing);
    EXPECT_EQ(field.attributes, (Lines{"a=\"x y\"", "b='z'"}));

    TagParts end = parseTag("</Record>");
    EXPECT_EQ(end.name, "Record");
    EXPECT_TRUE(end.closing);
    EXPECT_TRUE(end.attributes.empty());

    TagParts xml = parseTag("<?xml version=\"1.0\" encoding=\"Shift_JIS\" ?>");
    EXPECT_EQ(xml.name, "?xml");
    EXPECT_EQ(xml.attributes, (Lines{"version=\"1.0\"", "encoding=\"Shift_JIS\"", "?"}));

    EXPECT_EQ(parseTag("<  >").name, "");
    EXPECT_EQ(parseTag("<Record name=\"a>b\">").attributes, (Lines{"name=\"a>b\""}));
}

TEST(ParseTag, PairingAttributeTokens) {
    EXPECT_EQ(pairAttributes({"a", "=", "\"x\""}), (Lines{"a=\"x\""}));
    EXPECT_EQ(pairAttributes({"a", "b"}), (Lines{"a=\"\"", "b"}));
    EXPECT_EQ(pairAttributes({"a=", "b"}), (Lines{"a=\"\"", "b"}));
    EXPECT_EQ(pairAttributes({"a", "=x", "c=1"}), (Lines{"a=x", "c=1"}));
    EXPECT_EQ(pairAttributes({"\"q\"", "a='1'", "b="}), (Lines{"\"q\"", "a='1'", "b="}));
}

TEST(ParseTag, UnescapesWithAmpersandLast) {
    TagParts tag = parseTag("<F a=\"&amp;lt;&LT;&quot;&nbsp;\"/>");
    EXPECT_EQ(tag.attributes, (Lines{"a=\"&lt;<\" \""}));
}

TEST(TagTree, ItemsInDocumentOrder) {
    TTAGNode root;
    Lines errors;
    ASSERT_EQ(build(root, "<Record name=\"x\">AB<BR/>&amp;lt;CD</Record>", errors), 0);
    EXPECT_TRUE(errors.empty());
    ASSERT_EQ(root.count(), 1u);
    TTAGNode* record = root.itemObject(0);
    EXPECT_EQ(root.itemText(0), "<Record name=\"x\">");
    EXPECT_EQ(record->name, "Record");
    EXPECT_EQ(record->endName, "Record");
    EXPECT_EQ(record->parent, &root);
    ASSERT_EQ(record->count(), 3u);
    EXPECT_EQ(record->itemText(0), "AB");
    EXPECT_EQ(record->itemObject(0), nullptr);
    EXPECT_EQ(record->itemObject(1)->name, "BR");
    EXPECT_EQ(record->itemText(1), "<BR/>");
    EXPECT_EQ(record->itemText(2), "&lt;CD");
}

TEST(TagTree, DeclarationsAndOpenElementsAreAccepted) {
    TTAGNode root;
    Lines errors;
    ASSERT_EQ(build(root,
                    "<?xml version=\"1.0\" ?>\r\n<!-- 20060301 142530 -->\r\n"
                    "<Holder name=\"h\">\r\n  <Record name=\"r\">text<BR/>",
                    errors),
              0);
    ASSERT_EQ(root.count(), 3u);
    EXPECT_EQ(root.itemObject(0)->name, "?xml");
    EXPECT_EQ(root.itemObject(1)->name, "!--");
    TTAGNode* holder = root.getElement_("Holder");
    ASSERT_NE(holder, nullptr);
    EXPECT_EQ(holder->getElement_("Record")->count(), 2u);
}

TEST(TagTree, ErrorLines) {
    const std::string unexpected = utf8ToSjis("いきなり終了タグがあらわれた。");
    const std::string mismatch = utf8ToSjis(" タグの開始と終了が一致しない。");
    struct Case {
        std::string text;
        Lines errors;
    };
    std::vector<Case> cases = {
        {"<a>x</a></Record>",
         {"3:</Record>", mismatch + " Record in TTAGNode._fromXMLWorldList_aOUT_"}},
        {"<A><B></A>", {"2:</A>", mismatch + "B A in TTAGNode._fromXMLWorldList_aOUT_"}},
        {"</ ></Record>",
         {"1:</Record>", unexpected + "Record  in TTAGNode._fromXMLWorldList_aOUT_"}},
        {"</ ><a x=\"1\">",
         {"ERROR Current TAG is nil. Probabry TAG's ireko not matichline number = 1 "
          "word=<a x=\"1\"> in  _FromXMLWordList_aOUT_ "}},
        {"<b/></ >text<c>", {"2:text", " aTTNC = nil in TTAGNode._FromXMLWordList_aOUT_"}},
        {"<a>x<>y</a>", {}},
    };
    for (const auto& c : cases) {
        TTAGNode root;
        Lines errors;
        EXPECT_EQ(build(root, c.text, errors), -1) << c.text;
        EXPECT_EQ(errors, c.errors) << c.text;
    }
    // The elements built before the error stay in the tree.
    TTAGNode root;
    Lines errors;
    build(root, "<A>one<B></A>", errors);
    EXPECT_EQ(root.getElement_("A")->itemText(0), "one");
    EXPECT_EQ(root.getElement_("A")->getElement_("B")->endName, "A");
}

TEST(TagTree, Accessors) {
    TTAGNode root;
    Lines errors;
    build(root, "<R Name=\"a b\" plain/><r/><E>", errors);
    TTAGNode* r = root.getElement_("R");
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(root.getElement_("r"), root.itemObject(1));
    EXPECT_EQ(root.getElement_(" "), nullptr);
    EXPECT_EQ(r->getAttr_("NAME"), "\"a b\"");
    EXPECT_EQ(r->getAttr_("missing"), "");
    EXPECT_EQ(r->attrCount_(), 2);
    EXPECT_EQ(r->attrLine_(1), "plain");
    EXPECT_EQ(r->attrLine_(2), "");
    EXPECT_EQ(r->attrText_(), "Name=\"a b\"\r\nplain");

    std::string key, value;
    EXPECT_EQ(r->attrPair_(0, key, value), 0);
    EXPECT_EQ(key, "Name");
    EXPECT_EQ(value, "\"a b\"");
    EXPECT_EQ(r->attrPair_(1, key, value), 0);
    EXPECT_EQ(key, "plain");
    EXPECT_EQ(value, "");
    EXPECT_EQ(r->attrPair_(2, key, value), -2);
    EXPECT_EQ(root.getElement_("E")->attrPair_(0, key, value), -1);

    build(root, "<F x=1 y=2/>", errors);
    EXPECT_EQ(root.getElement_("F")->attrPair_(1, key, value), 1);
    EXPECT_EQ(value, "2");
}

TEST(TagTree, AddNewWithoutParentReports) {
    std::vector<std::string> reports;
    Reporter previous = setReporter([&](const std::string& text) { reports.push_back(text); });
    EXPECT_EQ(TTAGNode::addNew___(nullptr, "a", {}, "<a>"), nullptr);
    setReporter(previous);
    EXPECT_EQ(reports, (Lines{"ERROR: self = nil word = <a> in TTAGNode.addNew___ "}));
}

TEST(TagTree, HugeTagsAndTextsStayLinear) {
    std::string tag = "<T";
    while (tag.size() < (10u << 20)) tag += " a b=c d= 'e' f =\"g h\"";
    tag += "/>";
    std::string text = "<x>";
    while (text.size() < (10u << 20)) text += "&amp;lt;&LT;";
    text += "</x>";
    TTAGNode root;
    Lines errors;
    ASSERT_EQ(build(root, tag + text, errors), 0);
    const TTAGNode* t = root.getElement_("T");
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->attrLine_(0), "a=\"\"");
    EXPECT_EQ(t->attrLine_(3), "f=\"g h\"");
    EXPECT_EQ(t->attrCount_() % 4, 0);
    const std::string& unescaped = root.getElement_("x")->itemText(0);
    EXPECT_EQ(unescaped.substr(0, 10), "&lt;<&lt;<");
}

TEST(TagTree, DeepNestingNeedsNoDeepStack) {
    std::string text;
    for (int i = 0; i < 1000000; ++i) text += "<a>";
    auto root = std::make_unique<TTAGNode>();
    Lines errors;
    EXPECT_EQ(build(*root, text, errors), 0);
    root.reset();  // must not recurse a million levels
}

// An element with its items as text, nested elements included.
std::string describe(const TTAGNode& element) {
    std::string out = element.name + "{";
    for (const auto& item : element.items()) {
        out += "[" + item.text + "]";
        if (item.object) out += describe(*item.object);
    }
    return out + "}";
}

// What MarkupStream tells, written down as the tree would hold it.
struct ShapeLog {
    std::string log;
    void start(std::size_t depth, const MarkupTag& tag) {
        log += "+" + std::to_string(depth) + std::string(tag.name());
        for (const auto& line : tag.attributes()) log += "(" + line + ")";
    }
    void closeTag(std::size_t depth, std::string_view name) {
        log += "/" + std::to_string(depth) + std::string(name);
    }
    void end(std::size_t depth) { log += "-" + std::to_string(depth); }
    void text(std::size_t depth, std::string_view raw) {
        log += "'" + std::to_string(depth) + std::string(raw);
    }
    bool stopped() const { return false; }
};

std::string shapeOf(std::string_view text, Lines& errors, int& result) {
    ShapeLog shape;
    MarkupStream<ShapeLog> stream(shape, errors);
    stream.feed(text);
    result = stream.finish();
    return shape.log;
}

TEST(TagTree, StreamTellsTheShapeAndTheErrorsOfTheTree) {
    Lines errors;
    int result = 1;
    EXPECT_EQ(shapeOf("<?x?><H a = \"1\">t&amp;<R/>u<C></C></H>", errors, result),
              "+1?x?-1+1H(a=\"1\")'1t&amp;+2R-2'1u+2C/2C-2/1H-1");
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(errors.empty());

    // The same error lines as the tree builder, word numbers included.
    for (std::string_view bad : {"<A><B></A>", "</Record>", "<a></a></></b>", "<a></a></>x"}) {
        Lines fromStream, fromTree;
        shapeOf(bad, fromStream, result);
        TTAGNode root;
        EXPECT_EQ(build(root, bad, fromTree), -1);
        EXPECT_EQ(result, -1);
        EXPECT_EQ(fromStream, fromTree) << bad;
    }
}

TEST(TagTree, StreamedItemsMatchTheWholeTree) {
    // Records shrink, so reused elements and item slots must not show what an
    // earlier, larger record left in them.
    const std::string text =
        "<H><R a=\"1\"><F x=\"1\" y=\"2\"/>long line one<BR/>two &amp; more<BR/>"
        "<C>c<BR/></C>three<BR/></R>between<R>x<BR/></R><R/><R b=\"2\"></R></H>";
    TTAGNode whole;
    Lines errors;
    ASSERT_EQ(build(whole, text, errors), 0);
    std::string expected;
    for (const auto& item : whole.getElement_("H")->items())
        expected += "[" + item.text + "]" + (item.object ? describe(*item.object) : "");

    WordList words;
    splitWords(text, words, false);
    TTAGNode streamed;
    std::string handed;
    auto take = [&](const TTAGNode& owner, const TTAGNode::Item& item) {
        if (owner.name != "H") return false;
        handed += "[" + item.text + "]" + (item.object ? describe(*item.object) : "");
        return true;
    };
    ASSERT_EQ(streamed.FromXMLWordList_aOUT_(words, errors, take), 0);
    EXPECT_EQ(handed, expected);
    EXPECT_EQ(streamed.getElement_("H")->count(), 0u);
}

}  // namespace
}  // namespace zel
