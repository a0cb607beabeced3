#include "core/IniDocument.h"
#include "core/ProfileStruct.h"

#include <gtest/gtest.h>
#include <random>

using namespace UserInterface::Settings::OptionStorage;

namespace {

std::string Utf16Le(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

}  // namespace

TEST(IniDocument, FindsValuesTheWayHandEditedFilesAreWritten)
{
    struct Case { std::string text; const char* name; std::optional<std::string> expected; };
    const Case cases[] = {
        {"[Settings]\nBackupMode=3\n", "BackupMode", "3"},
        {"[Settings]\n  BackupMode =  3 \t\n", "BackupMode", "3"},
        {"[ settings ]\r\nbackupmode=3\r\n", "BackupMode", "3"},
        {"[Settings]\rA=1\rB=2", "B", "2"},
        {"[Settings]\nLanguage=\"  English \"\n", "Language", "  English "},
        {"[Settings]\nLanguage='x'\n", "Language", "x"},
        {"[Settings]\nLanguage=\"x'\n", "Language", "\"x'"},
        {"[Settings]\nLanguage=\"\n", "Language", "\""},
        {"[Other]\nBackupMode=3\n", "BackupMode", std::nullopt},
        {"[Settings]\n;BackupMode=3\n", "BackupMode", std::nullopt},
        {"[Settings]\nBackupMode\n", "BackupMode", std::nullopt},
        {"BackupMode=3\n[Settings]\n", "BackupMode", std::nullopt},
        {"[Settings]\nA=1\n[Other]\nA=2\n[Settings]\nB=3\n", "B", "3"},
        {"[Settings]\nA=first\nA=second\n", "A", "first"},
        {"[Settings]\nA=x=y\n", "A", "x=y"},
        {"[Settings]\nA=\n", "A", ""},
        {std::string("[Settings]\nA=ab\0cd\n", 19), "A", "ab"},
        {"[Settings\nA=1\n", "A", std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AIniDocument::Parse(c.text).Find("Settings", c.name), c.expected) << c.text;
}

TEST(IniDocument, WritingKeepsCommentsOtherSectionsAndLineBreaks)
{
    AIniDocument doc = AIniDocument::Parse("; portable settings\r\n[Settings]\r\nA=1\r\n\r\n[Other]\r\nB=2\r\n");
    ASSERT_TRUE(doc.Set("Settings", "A", "5"));
    ASSERT_TRUE(doc.Set("Settings", "C", "new"));
    ASSERT_TRUE(doc.Set("Other", "b", "7"));
    EXPECT_EQ(doc.Serialize(), "; portable settings\r\n[Settings]\r\nA=5\r\nC=new\r\n\r\n[Other]\r\nb=7\r\n");
    doc.Remove("Settings", "A");
    doc.Remove("Settings", "Missing");
    EXPECT_EQ(doc.Serialize(), "; portable settings\r\n[Settings]\r\nC=new\r\n\r\n[Other]\r\nb=7\r\n");

    AIniDocument empty;
    ASSERT_TRUE(empty.Set("Settings", "A", "1"));
    EXPECT_EQ(empty.Serialize(), "[Settings]\nA=1\n");
    AIniDocument other = AIniDocument::Parse("[Other]\nB=2");
    ASSERT_TRUE(other.Set("Settings", "A", "1"));
    EXPECT_EQ(other.Serialize(), "[Other]\nB=2\n\n[Settings]\nA=1\n");
}

TEST(IniDocument, ValuesSurviveTheRoundTripOrAreRefused)
{
    const std::string values[] = {"", "plain", " lead", "trail\t", "\"quoted\"", "'q'", "\"", "a=b;c[d]",
                                  "Дом/Бюджет.fend", "\xF0\x9F\x98\x80"};
    for (const std::string& value : values) {
        AIniDocument doc;
        ASSERT_TRUE(doc.Set("Settings", "V", value)) << value;
        EXPECT_EQ(AIniDocument::Parse(doc.Serialize()).Find("Settings", "V"), value);
    }
    // A line break would let a value plant settings of its own.
    for (const std::string& bad : {std::string("a\nBackupMode=3"), std::string("a\rb"), std::string("a\0b", 3)}) {
        AIniDocument doc = AIniDocument::Parse("[Settings]\nV=old\n");
        EXPECT_FALSE(doc.Set("Settings", "V", bad));
        EXPECT_EQ(doc.Find("Settings", "V"), "old");
        EXPECT_EQ(doc.Find("Settings", "BackupMode"), std::nullopt);
    }
    for (const char* name : {"", " A", "A=B", "[A", "A\n"}) {
        AIniDocument doc;
        EXPECT_FALSE(doc.Set("Settings", name, "1")) << name;
    }
}

TEST(IniDocument, Utf16FilesAreReadAndWrittenBackInTheirOwnForm)
{
    const std::string le = Utf16Le(u"[Settings]\r\nLanguage=Русский\r\n");
    AIniDocument doc = AIniDocument::Parse(le);
    EXPECT_EQ(doc.Form(), ATextForm::Utf16Le);
    EXPECT_EQ(doc.Find("Settings", "Language"), "Русский");
    EXPECT_EQ(doc.Serialize(), le);
    ASSERT_TRUE(doc.Set("Settings", "mru0", "/home/u/Дом.fend"));
    EXPECT_EQ(doc.Serialize(), Utf16Le(u"[Settings]\r\nLanguage=Русский\r\nmru0=/home/u/Дом.fend\r\n"));

    std::string be = "\xFE\xFF";
    for (char16_t c : std::u16string(u"[Settings]\nA=Я\n")) {
        be += static_cast<char>(c >> 8);
        be += static_cast<char>(c & 0xFF);
    }
    AIniDocument big = AIniDocument::Parse(be);
    EXPECT_EQ(big.Form(), ATextForm::Utf16Be);
    EXPECT_EQ(big.Find("Settings", "A"), "Я");
    EXPECT_EQ(big.Serialize(), be);

    const std::string bom = "\xEF\xBB\xBF[Settings]\nA=1\n";
    EXPECT_EQ(AIniDocument::Parse(bom).Find("Settings", "A"), "1");
    EXPECT_EQ(AIniDocument::Parse(bom).Serialize(), bom);

    // Surrogate pairs decode to one character; a lone one becomes U+FFFD.
    std::string pair = Utf16Le(u"[Settings]\nA=");
    pair += std::string("\x3D\xD8\x00\xDE\x3D\xD8", 6);
    EXPECT_EQ(AIniDocument::Parse(pair).Find("Settings", "A"), "\xF0\x9F\x98\x80\xEF\xBF\xBD");
}

TEST(IniDocument, Utf16UnitsCountAndCutWholeCharacters)
{
    EXPECT_EQ(Utf16Units("abc"), 3u);
    EXPECT_EQ(Utf16Units("Дом"), 3u);
    EXPECT_EQ(Utf16Units("\xF0\x9F\x98\x80"), 2u);
    EXPECT_EQ(TruncateToUtf16Units("aДb", 2), "aД");
    EXPECT_EQ(TruncateToUtf16Units("a\xF0\x9F\x98\x80", 2), "a");
    EXPECT_EQ(TruncateToUtf16Units("a\xF0\x9F\x98\x80", 3), "a\xF0\x9F\x98\x80");
    EXPECT_EQ(TruncateToUtf16Units("\xFF\xFE", 1), "\xEF\xBF\xBD");
    EXPECT_EQ(TruncateToUtf16Units("\xFF\xFE", 2), "\xFF\xFE") << "an uncut value keeps its bytes";
}

TEST(ProfileStruct, HexWithChecksumRoundTripsAndRejectsDamage)
{
    const std::uint8_t data[] = {0x01, 0xAB, 0xFF};
    EXPECT_EQ(EncodeProfileStruct(data), "01ABFFAB");
    EXPECT_EQ(EncodeProfileStruct({}), "00");

    std::uint8_t out[3] = {7, 7, 7};
    EXPECT_TRUE(DecodeProfileStruct("01abffab", out));
    EXPECT_EQ(std::vector<std::uint8_t>(out, out + 3), std::vector<std::uint8_t>(data, data + 3));

    const char* damaged[] = {"01ABFFAC", "01ABFFA", "01ABFFAB00", "01ABFF", "01ABFGAB", "", "01 BFFAB", "+1ABFFAB"};
    for (const char* text : damaged) {
        std::uint8_t kept[3] = {7, 7, 7};
        EXPECT_FALSE(DecodeProfileStruct(text, kept)) << text;
        EXPECT_EQ(kept[0] + kept[1] + kept[2], 21) << "a refused value must leave the default " << text;
    }
}

TEST(IniDocumentFuzz, ArbitraryBytesNeverBreakTheReaderOrTheWriter)
{
    const std::string sample = "\xEF\xBB\xBF; c\r\n[Settings]\r\nA=1\r\nB=\"x\"\r\n[Other]\r\nC=3";
    std::vector<std::string> inputs;
    for (std::size_t n = 0; n <= sample.size(); ++n)
        inputs.push_back(sample.substr(0, n));
    const std::string utf16 = Utf16Le(u"[Settings]\r\nA=Дом\r\n");
    for (std::size_t n = 0; n <= utf16.size(); ++n)
        inputs.push_back(utf16.substr(0, n));
    std::mt19937 random(1234);
    for (int i = 0; i < 2000; ++i) {
        std::string bytes = (i % 2 ? sample : utf16);
        for (int flips = 0; flips < 4; ++flips)
            bytes[random() % bytes.size()] = static_cast<char>(random());
        inputs.push_back(bytes);
        std::string noise(random() % 200, '\0');
        for (char& c : noise)
            c = static_cast<char>(random());
        inputs.push_back(noise);
    }
    for (const std::string& bytes : inputs) {
        AIniDocument doc = AIniDocument::Parse(bytes);
        (void)doc.Find("Settings", "A");
        const std::string once = doc.Serialize();
        // After one pass the text is in its normal form and stays there.
        EXPECT_EQ(AIniDocument::Parse(once).Serialize(), once);
        if (doc.Set("Settings", "A", "value")) {
            EXPECT_EQ(AIniDocument::Parse(doc.Serialize()).Find("Settings", "A"), "value");
        }
    }
}
