#include "text/Sjis.h"

#include <gtest/gtest.h>

#include <map>
#include <random>
#include <vector>

namespace zel {
namespace {

TEST(SjisFold, LeavesSecondBytesOfOtherCharactersAlone) {
    EXPECT_EQ(lowerText("AbC\x83\x41"), "abc\x83\x41");
    EXPECT_EQ(lowerText("\x82\x60\x83\x9F\x84\x40\x84\x4F"), "\x82\x81\x83\xBF\x84\x70\x84\x80");
    EXPECT_EQ(upperText("\x82\x81\x83\xBF\x84\x70\x84\x80x"), "\x82\x60\x83\x9F\x84\x40\x84\x4FX");
    EXPECT_TRUE(sameText("\x82\x60z", "\x82\x81Z"));
    EXPECT_FALSE(sameText("\x83\x41", "\x83\x61"));
}

TEST(SjisBoundaries, SecondBytesNeverMatchSingleByteCharacters) {
    // ソ 83 5C, ポ 83 7C and ア 83 40 end in "\", "|" and "@".
    const std::string text = "\x83\x5C\x83\x7C\x83\x40\\|@";
    EXPECT_EQ(findSingleByte(text, '\\'), 6u);
    EXPECT_EQ(findSingleByte(text, '|'), 7u);
    EXPECT_EQ(findAnySingleByte(text, "@"), 8u);
    EXPECT_EQ(findOnBoundary(text, "\x5C\x83"), std::string::npos);
    EXPECT_EQ(findText("x\x83\x61"
                       "A",
                       "a"),
              3u);
    EXPECT_EQ(lastCharStart("a\x83\x5C"), 1u);
    EXPECT_EQ(lastCharStart("\x83\x5C\x5C"), 2u);
    EXPECT_EQ(lastCharStart(""), std::string::npos);
}

// The shortcut back to a byte below 0x40 finds the character the walk from
// the front finds, in text of double-byte characters whose second bytes are
// ASCII, stray lead bytes before blanks and a lead byte at the very end.
TEST(SjisBoundaries, CharacterStartAgreesWithTheWalkFromTheFront) {
    const std::vector<std::string> pieces = {
        "a", " ", "\x83\x5C", "\x82\x60", "\x81\x40", "\x81 ", "\r\n", "\x95\x5C\x8E\xA6", "7"};
    std::mt19937 random(11);
    for (int round = 0; round < 200; ++round) {
        std::string text;
        for (int n = static_cast<int>(random() % 40); n > 0; --n)
            text += pieces[random() % pieces.size()];
        if (round % 3 == 0) text += "\x83";
        std::vector<std::size_t> startOf(text.size());
        for (std::size_t i = 0; i < text.size(); i += charLength(text, i))
            for (std::size_t k = i; k < i + charLength(text, i); ++k) startOf[k] = i;
        for (std::size_t at = 0; at < text.size(); ++at) {
            const std::size_t boundary = startOf[random() % (at + 1)];
            ASSERT_EQ(charStartAt(text, boundary, at), startOf[at])
                << "round " << round << " at " << at;
        }
    }
}

TEST(SjisOrder, FoldedFirstThenBytes) {
    EXPECT_LT(compareText("apple", "Banana"), 0);
    EXPECT_LT(compareText("B", "b"), 0);
    EXPECT_EQ(compareText("\x82\x60", "\x82\x60"), 0);
    EXPECT_LT(compareText("ab", "abc"), 0);
}

// Every code a CP932 text can hold: the single bytes that are no lead byte,
// and every lead byte (81-9F, E0-FC) with every second byte (40-7E, 80-FC).
std::vector<std::string> allCodes() {
    std::vector<std::string> codes;
    for (int c = 0; c < 0x100; ++c) {
        if (!isLeadByte(static_cast<unsigned char>(c))) codes.emplace_back(1, static_cast<char>(c));
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        if (!isLeadByte(static_cast<unsigned char>(lead))) continue;
        for (int trail = 0x40; trail <= 0xFC; ++trail) {
            if (trail != 0x7F) codes.push_back({static_cast<char>(lead), static_cast<char>(trail)});
        }
    }
    return codes;
}

unsigned codeValue(const std::string& code) {
    return code.size() == 1
               ? static_cast<unsigned char>(code[0])
               : static_cast<unsigned char>(code[0]) << 8 | static_cast<unsigned char>(code[1]);
}

unsigned nextDoubleByteCode(unsigned code) {
    unsigned trail = (code & 0xFF) + 1;
    if (trail == 0x7F) ++trail;
    return trail > 0xFC ? ((code >> 8) + 1) << 8 | 0x40 : (code & 0xFF00) | trail;
}

// CP932 holds some characters twice. iconv reads both codes but writes only
// the canonical one, so these codes come back as another code: NEC row 13
// symbols that repeat row 2, IBM codes in FA that repeat NEC row 13 or row 2,
// and the NEC-selected IBM rows ED/EE, which repeat the IBM rows FA-FC. Found
// by converting every code with glibc; each range maps in code order onto the
// codes from `canonical` on.
std::map<unsigned, unsigned> canonicalDuplicates() {
    struct Range {
        unsigned first, last, canonical;
    };
    const Range ranges[] = {
        {0x8790, 0x8790, 0x81E0}, {0x8791, 0x8791, 0x81DF}, {0x8792, 0x8792, 0x81E7},
        {0x8795, 0x8795, 0x81E3}, {0x8796, 0x8796, 0x81DB}, {0x8797, 0x8797, 0x81DA},
        {0x879A, 0x879A, 0x81E6}, {0x879B, 0x879B, 0x81BF}, {0x879C, 0x879C, 0x81BE},
        {0xFA4A, 0xFA53, 0x8754}, {0xFA54, 0xFA54, 0x81CA}, {0xFA58, 0xFA58, 0x878A},
        {0xFA59, 0xFA59, 0x8782}, {0xFA5A, 0xFA5A, 0x8784}, {0xFA5B, 0xFA5B, 0x81E6},
        {0xED40, 0xEEEC, 0xFA5C}, {0xEEEF, 0xEEF8, 0xFA40}, {0xEEF9, 0xEEF9, 0x81CA},
        {0xEEFA, 0xEEFC, 0xFA55},
    };
    std::map<unsigned, unsigned> duplicates;
    for (const auto& r : ranges) {
        for (unsigned code = r.first, to = r.canonical; code <= r.last;
             code = nextDoubleByteCode(code), to = nextDoubleByteCode(to)) {
            duplicates[code] = to;
        }
    }
    return duplicates;
}

std::string codeBytes(unsigned code) {
    if (code < 0x100) return std::string(1, static_cast<char>(code));
    return {static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

TEST(SjisConversion, EveryConvertibleCodeRoundTrips) {
    const auto duplicates = canonicalDuplicates();
    ASSERT_EQ(duplicates.size(), 398u);
    std::size_t converted = 0, duplicatesSeen = 0;
    std::string canonicalText;
    for (const auto& code : allCodes()) {
        bool lossy = true;
        std::string utf8 = sjisToUtf8(code, &lossy);
        if (lossy) {
            EXPECT_EQ(utf8, "\xEF\xBF\xBD") << std::hex << codeValue(code);
            EXPECT_FALSE(duplicates.count(codeValue(code))) << std::hex << codeValue(code);
            continue;
        }
        ++converted;
        auto duplicate = duplicates.find(codeValue(code));
        std::string expected = code;
        if (duplicate != duplicates.end()) {
            expected = codeBytes(duplicate->second);
            ++duplicatesSeen;
        } else {
            canonicalText += code;
        }
        std::size_t replaced = 1;
        EXPECT_EQ(utf8ToSjis(utf8, &replaced), expected) << std::hex << codeValue(code);
        EXPECT_EQ(replaced, 0u) << std::hex << codeValue(code);
    }
    // 191 single bytes (all but 80, A0, FD-FF and the lead bytes) and 9604
    // double-byte codes, the user-defined rows F0-F9 among them.
    EXPECT_EQ(converted, 9795u);
    EXPECT_EQ(duplicatesSeen, duplicates.size());

    // The same codes as one text: longer than the conversion buffer.
    bool lossy = true;
    std::string utf8 = sjisToUtf8(canonicalText, &lossy);
    EXPECT_FALSE(lossy);
    EXPECT_GT(utf8.size(), 8192u);
    EXPECT_EQ(utf8ToSjis(utf8), canonicalText);
}

TEST(SjisConversion, KnownCharacters) {
    EXPECT_EQ(sjisToUtf8("\\~"), "\\~");
    EXPECT_EQ(sjisToUtf8("\xB1"), "\xEF\xBD\xB1");                          // half-width ｱ
    EXPECT_EQ(sjisToUtf8("\x87\x40"), "\xE2\x91\xA0");                      // NEC ①
    EXPECT_EQ(sjisToUtf8("\xF0\x40"), "\xEE\x80\x80");                      // user-defined: U+E000
    EXPECT_EQ(sjisToUtf8("\x83\x5C\x95\x5C"), "\xE3\x82\xBD\xE8\xA1\xA8");  // ソ表
}

TEST(SjisConversion, MalformedShiftJisBecomesReplacementCharacters) {
    bool lossy = false;
    EXPECT_EQ(sjisToUtf8("a\x80"
                         "b",
                         &lossy),
              "a\xEF\xBF\xBD"
              "b");
    EXPECT_TRUE(lossy);
    // An unassigned pair is one bad character.
    EXPECT_EQ(sjisToUtf8("\x85\x40z"), "\xEF\xBF\xBDz");
    // A lead byte before a byte that cannot follow it keeps that byte.
    EXPECT_EQ(sjisToUtf8("a\x81\nb"), "a\xEF\xBF\xBD\nb");
    EXPECT_EQ(sjisToUtf8("ab\x81"), "ab\xEF\xBF\xBD");
    EXPECT_EQ(sjisToUtf8("plain", &lossy), "plain");
    EXPECT_FALSE(lossy);
}

TEST(SjisConversion, Utf8OutsideTheCodePageBecomesCountedQuestionMarks) {
    std::size_t replaced = 0;
    EXPECT_EQ(utf8ToSjis("a\xF0\x9F\x98\x80"
                         "b\xF0\x9F\x8E\x89",
                         &replaced),
              "a?b?");
    EXPECT_EQ(replaced, 2u);
    // Malformed UTF-8: a bad sequence never takes the character after it.
    EXPECT_EQ(utf8ToSjis("\xC3(", &replaced), "?(");
    EXPECT_EQ(replaced, 1u);
    EXPECT_EQ(utf8ToSjis("\xF0\x9F\x98"
                         "A",
                         &replaced),
              "?A");
    EXPECT_EQ(utf8ToSjis("x\xE3\x81", &replaced), "x?");
    EXPECT_EQ(utf8ToSjis("\xFF\xFE", &replaced), "??");
    EXPECT_EQ(replaced, 2u);
    EXPECT_EQ(utf8ToSjis("\xE3\x82\xBD", &replaced), "\x83\x5C");
    EXPECT_EQ(replaced, 0u);
}

}  // namespace
}  // namespace zel
