// The text printer's settings: bounds, the serial form and its reader.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "export/PrintSettings.h"

namespace zel {
namespace {

TEST(PrintSettingsTest, ValuesOutsideTheirRangeStoreTheNearestBound) {
    PrintSettings s;
    s.setColumnCount(5);
    s.setColumnSpace(-3);
    s.setMarginLeft(1000);
    s.setStartPage(0);
    s.setLastLine(5000000);
    s.setHeaderAlign(static_cast<HeaderAlign>(9));
    PrintFont font;
    font.size = 0;
    s.setFont(font);
    EXPECT_EQ(s.columnCount(), 3);
    EXPECT_EQ(s.columnSpace(), 0);
    EXPECT_EQ(s.marginLeft(), 100);
    EXPECT_EQ(s.startPage(), 1);
    EXPECT_EQ(s.lastLine(), 999999);
    EXPECT_EQ(s.headerAlign(), haRight);
    EXPECT_EQ(s.font().size, 1);

    // The dialog's page and line entries wrap around instead.
    EXPECT_EQ(wrapPrintNumberEntry(0), 999999);
    EXPECT_EQ(wrapPrintNumberEntry(-4), 999999);
    EXPECT_EQ(wrapPrintNumberEntry(1000000), 1);
    EXPECT_EQ(wrapPrintNumberEntry(42), 42);
}

TEST(PrintSettingsTest, SerialFormListsEveryPropertyInOrderAndReadsBack) {
    PrintSettings defaults;
    const std::string text = serialisePrintSettings(defaults);
    EXPECT_EQ(text.substr(0, 39), "ColumnCount=1\nColumnSpace=4\nFileName=\nF");
    EXPECT_NE(text.find("\nFont.Name=\x82\x6C\x82\x72 \x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E\n"
                        "Font.Size=9\nFont.Style=\nFont.Charset=128\nFont.Color=$80000008\n"),
              std::string::npos);
    EXPECT_NE(text.find("\nLineNumber=False\nLineRangeOption=roWhole\n"), std::string::npos);
    EXPECT_EQ(printPropertyNames().size(), 27u);
    EXPECT_EQ(printPropertyNames().back(), "StartPage");

    PrintSettings changed;
    changed.setColumnCount(2);
    changed.setFileName("h : n\r\nx");
    changed.setHeader("%p / %f");
    changed.setHeaderAlign(haCenter);
    changed.setFooterAlign(haRight);
    changed.setLineNumber(true);
    changed.setPageOption(poEven);
    changed.setRangeOption(roLimited);
    changed.setLineRangeOption(roLimited);
    changed.setStartLine(7);
    changed.setMarginTop(12);
    PrintFont font;
    font.name = "IPAGothic";
    font.size = 11;
    font.bold = font.strikeOut = true;
    font.color = 0x0000FF;
    changed.setFont(font);

    PrintSettings read;
    ASSERT_TRUE(deserialisePrintSettings(serialisePrintSettings(changed), read));
    // A line break in a text would end its line: it is stored as a blank.
    EXPECT_EQ(read.fileName(), "h : n  x");
    changed.setFileName("h : n  x");
    EXPECT_EQ(read, changed);
    EXPECT_NE(serialisePrintSettings(changed).find("Font.Style=fsBold,fsStrikeOut\n"),
              std::string::npos);
}

TEST(PrintSettingsTest, ReaderKeepsWhatIsNotNamedAndRejectsWhatDoesNotParse) {
    PrintSettings s;
    s.setMarginLeft(10);
    ASSERT_TRUE(deserialisePrintSettings("columncount=3\r\nSomethingNew=1\n\nHeader=a=b\n", s));
    EXPECT_EQ(s.columnCount(), 3);
    EXPECT_EQ(s.marginLeft(), 10);
    EXPECT_EQ(s.header(), "a=b");

    const PrintSettings before = s;
    EXPECT_FALSE(deserialisePrintSettings("ColumnCount=2\nMarginTop=ten\n", s));
    EXPECT_FALSE(deserialisePrintSettings("ColumnCount=2\nno equals sign\n", s));
    EXPECT_FALSE(deserialisePrintSettings("PageOption=poSome\n", s));
    EXPECT_FALSE(deserialisePrintSettings("Font.Style=fsWide\n", s));
    EXPECT_FALSE(deserialisePrintSettings("LineNumber=maybe\n", s));
    EXPECT_EQ(s, before);

    EXPECT_TRUE(setPrintProperty(s, "fontrangeoption", "x") == false);
    EXPECT_TRUE(setPrintProperty(s, "RANGEOPTION", "roLimited"));
    EXPECT_EQ(s.rangeOption(), roLimited);
    EXPECT_TRUE(setPrintProperty(s, "ColumnCount", "5"));
    EXPECT_EQ(s.columnCount(), 3);
}

}  // namespace
}  // namespace zel
