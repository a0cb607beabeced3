#include "core/Assert.h"
#include "core/AStrings.h"
#include "core/LanguageFile.h"
#include "StringTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

using namespace UtilityClasses::Strings;
using StringTests::U8;

namespace {

std::span<const std::uint8_t> Bytes(std::string_view text)
{
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

std::string Utf16File(std::u16string_view text)
{
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes.push_back(static_cast<char>(c & 0xFF));
        bytes.push_back(static_cast<char>(c >> 8));
    }
    return bytes;
}

std::unique_ptr<AStrings> Apply(std::string_view content)
{
    auto table = std::make_unique<AStrings>(StringTests::Russian());
    ApplyLanguageFile(*table, Bytes(content));
    return table;
}

std::string Builtin(int id) { return std::string(BuiltInTextUtf8(id)); }

class ATempFolder {
public:
    ATempFolder()
    {
        char pattern[] = "/tmp/fendral-lng-XXXXXX";
        path_ = mkdtemp(pattern);
    }
    ~ATempFolder() { std::filesystem::remove_all(path_); }
    const std::string& path() const { return path_; }
    std::string Write(const std::string& name, std::string_view content) const
    {
        std::string file = path_ + "/" + name;
        std::ofstream(file, std::ios::binary) << content;
        return file;
    }

private:
    std::string path_;
};

}  // namespace

TEST(LanguageFile, EightBitFileWithCommentsAndBlanks)
{
    auto table = Apply(
        "; German, partly\r\n"
        "252=Seite #d von #d\r\n"
        "   0=Deutsch\r\n"          // blanks before an id are skipped
        "1 =Ja\r\n"                 // and between the id and "="
        "2= Nein\r\n"               // a blank after "=" belongs to the text
        "3=\r\n"                    // an empty text is a text
        "5000=ignored\r\n"
        "x4=lead skipped\n"         // other characters at a line start are skipped too
        "7=\xC4\xE0\n");            // code page 1251 until a line says otherwise
    EXPECT_EQ(U8(table->Text(252)), "Seite #d von #d");
    EXPECT_EQ(U8(table->Format(252, {1, 2})), "Seite 1 von 2");
    EXPECT_EQ(U8(table->Text(0)), "Deutsch");
    EXPECT_EQ(U8(table->Text(1)), "Ja");
    EXPECT_EQ(U8(table->Text(2)), " Nein");
    EXPECT_EQ(U8(table->Text(3)), "");
    EXPECT_EQ(U8(table->Text(4)), "lead skipped");
    EXPECT_EQ(U8(table->Text(7)), "Да");
    EXPECT_EQ(U8(table->Text(6)), Builtin(6));  // untouched entries keep the built-in text
    EXPECT_EQ(table->GetString(791), nullptr);
}

TEST(LanguageFile, Utf16FileWithByteOrderMark)
{
    auto table = Apply(Utf16File(u"252=Стр. #d / #d\r\n0=Ελληνικά\r\n; 1=no\r\n2=\U0001F600\r\n"));
    EXPECT_EQ(U8(table->Text(252)), "Стр. #d / #d");
    EXPECT_EQ(U8(table->Text(0)), "Ελληνικά");
    EXPECT_EQ(U8(table->Text(1)), Builtin(1));
    EXPECT_EQ(table->Text(2), u"\U0001F600");
    // A lone last byte is no character; a NUL character ends the file.
    auto odd = Apply(Utf16File(u"1=a\n") + "\x32");
    EXPECT_EQ(U8(odd->Text(1)), "a");
    auto stopped = Apply(Utf16File(std::u16string(u"1=a\n\0" u"2=b\n", 9)));
    EXPECT_EQ(U8(stopped->Text(2)), Builtin(2));
}

TEST(LanguageFile, LastLineWithoutLineBreakIsLost)
{
    auto table = Apply("1=Ok\r\n2=Abbrechen");
    EXPECT_EQ(U8(table->Text(1)), "Ok");
    EXPECT_EQ(U8(table->Text(2)), Builtin(2));
    auto escaped = Apply("2=x\\");
    EXPECT_EQ(U8(escaped->Text(2)), Builtin(2));
}

TEST(LanguageFile, EscapesAndLengthLimit)
{
    auto table = Apply("4=a\\nb\\rc\\\\d\\e\\=\n" + std::string("5=") + std::string(2000, 'w') + "\n6=after\n");
    EXPECT_EQ(U8(table->Text(4)), "a\nb\rc\\de=");
    EXPECT_EQ(table->Text(5), std::u16string(kMaxLanguageTextLength, u'w'));
    EXPECT_EQ(U8(table->Text(6)), "after");
    // An escaped line break belongs to the text.
    auto joined = Apply("8=one\\\ntwo\n");
    EXPECT_EQ(U8(joined->Text(8)), "one\ntwo");
}

TEST(LanguageFile, CodePageLines)
{
    auto table = Apply("cp=1252\n6=caf\xE9\nCp =866\n7=\x91\xe7\xa5\xe2\ncp=65001\n8=\xD0\x94\xD0\xB0\n");
    EXPECT_EQ(U8(table->Text(6)), "café");
    EXPECT_EQ(U8(table->Text(7)), "Счет");
    EXPECT_EQ(U8(table->Text(8)), "Да");
    EXPECT_EQ(table->CodePage(), 65001u);

    // An unknown code page or 0 changes nothing; a line that only starts with c is a comment.
    auto kept = Apply("cp=4242\n7=\xC4\ncp=0\ncomment 1=x\n8=\xE0\n");
    EXPECT_EQ(U8(kept->Text(7)), "Д");
    EXPECT_EQ(U8(kept->Text(8)), "а");
    EXPECT_EQ(U8(kept->Text(1)), Builtin(1));
    EXPECT_EQ(kept->CodePage(), 1251u);

    auto utf16 = Apply(Utf16File(u"cp=1252\r\n"));
    EXPECT_EQ(utf16->CodePage(), 1252u);
}

TEST(LanguageFile, LinesWithoutEqualsSignRunIntoTheNextLine)
{
    // Digits of an id keep counting over line ends until "=": "8" and "9=z" make id 89.
    auto table = Apply("8\n9=z\n");
    EXPECT_EQ(U8(table->Text(89)), "z");
    EXPECT_EQ(U8(table->Text(8)), Builtin(8));
    // Huge ids stay huge and are ignored.
    auto huge = Apply("99999999999999999999999=x\n1=ok\n");
    EXPECT_EQ(U8(huge->Text(1)), "ok");
    // "cp" looks for its "=" over line ends as well.
    auto cp = Apply("cp\n1252\n=1252\n6=\xE9\n");
    EXPECT_EQ(U8(cp->Text(6)), "é");
}

TEST(LanguageFile, TruncatedAtEveryLengthStoresOnlyWholeLines)
{
    const std::string eightBit = "; c\r\ncp=1252\r\n252=Page #d of #d\r\n0=English\r\n4=a\\nb\r\n13=<&< Back\r\n";
    const std::string utf16 = Utf16File(u"252=Страница #d/#d\r\n0=Русский (копия)\r\n14=Next >\r\n");
    for (const std::string& file : {eightBit, utf16}) {
        auto full = Apply(file);
        for (std::size_t length = 0; length <= file.size(); ++length) {
            auto table = Apply(std::string_view(file).substr(0, length));
            for (int id : {0, 4, 13, 14, 252}) {
                std::u16string_view text = table->Text(id);
                EXPECT_TRUE(text == full->Text(id) || U8(text) == Builtin(id)) << length << " id " << id;
            }
        }
    }
}

TEST(LanguageFile, RandomAndFlippedBytesNeverBreakTheTable)
{
    std::mt19937 random(12345);
    auto check = [](const AStrings& table) {
        for (int id = 0; id < AStrings::kCount; ++id) {
            ASSERT_NE(table.GetString(id), nullptr);
            ASSERT_LE(table.Text(id).size(), std::max(kMaxLanguageTextLength, BuiltInTextUtf8(id).size()));
        }
    };
    for (int round = 0; round < 300; ++round) {
        std::string bytes(random() % 3000, '\0');
        for (char& b : bytes)
            b = static_cast<char>(random() % 4 == 0 ? "0123456789=\r\n\\cp;"[random() % 17] : random());
        if (round % 3 == 0)
            bytes.insert(0, "\xFF\xFE");
        check(*Apply(bytes));
    }
    const std::string sample = "cp=65001\r\n252=\xD0\xA1\xD1\x82\xD1\x80 #d\r\n0=X\\r\\n\r\n";
    for (std::size_t at = 0; at < sample.size(); ++at)
        for (int bit = 0; bit < 8; ++bit) {
            std::string flipped = sample;
            flipped[at] = static_cast<char>(flipped[at] ^ (1 << bit));
            check(*Apply(flipped));
        }
}

TEST(LanguageFile, LoadingFromDisk)
{
    ATempFolder folder;
    AStrings table(StringTests::Russian());
    EXPECT_FALSE(LoadLanguageFile(table, folder.path() + "/missing.lng"));
    EXPECT_FALSE(LoadLanguageFile(table, folder.path()));  // a folder is no file
    std::string big = folder.Write("big.lng", "1=x\n");
    std::filesystem::resize_file(big, kMaxLanguageFileSize + 1);
    EXPECT_FALSE(LoadLanguageFile(table, big));
    EXPECT_EQ(U8(table.Text(1)), Builtin(1));
    EXPECT_TRUE(LoadLanguageFile(table, folder.Write("ok.lng", "1=Yes\n")));
    EXPECT_EQ(U8(table.Text(1)), "Yes");
}

TEST(LanguageFile, ListsLngFilesByName)
{
    ATempFolder folder;
    folder.Write("English.lng", "0=English\n");
    folder.Write("deutsch.LNG", "0=Deutsch\n");
    folder.Write("Old.v2.lng", "0=Old\n");
    folder.Write(".lng", "0=nameless\n");
    folder.Write("notes.txt", "");
    folder.Write("English.lng.bak", "");
    std::filesystem::create_directory(folder.path() + "/Folder.lng");

    std::vector<ALanguage> languages = ListLanguages(folder.path());
    ASSERT_EQ(languages.size(), 3u);
    EXPECT_EQ(languages[0].name, "English");
    EXPECT_EQ(languages[1].name, "Old");  // the name ends at the first "."...
    EXPECT_EQ(languages[1].path, folder.path() + "/Old.v2.lng");  // ...but its own file is read
    EXPECT_EQ(languages[2].name, "deutsch");
    EXPECT_EQ(FindLanguage(languages, "Old"), 1);
    EXPECT_EQ(FindLanguage(languages, "english"), -1);
    EXPECT_TRUE(ListLanguages(folder.path() + "/nowhere").empty());
}

TEST(LanguageFile, SelectLanguageReplacesTheTableAndReportsTheSetting)
{
    ATempFolder folder;
    folder.Write("English.lng", "0=English\n252=Page #d of #d\n");
    folder.Write("Gone.lng", "0=Gone\n");
    std::vector<ALanguage> languages = ListLanguages(folder.path());
    ASSERT_EQ(languages.size(), 2u);

    auto current = std::make_unique<AStrings>(StringTests::English());
    std::vector<std::string> stored;
    auto store = [&](std::string_view name) { stored.emplace_back(name); };

    SelectLanguage(current, languages, 0, store);
    EXPECT_EQ(U8(current->Format(252, {1, 2})), "Page 1 of 2");
    EXPECT_EQ(current->Locale().decimalSeparator, u".");  // the locale goes with the table

    SelectLanguage(current, languages, -1, store);
    EXPECT_EQ(U8(current->Text(0)), "Русский");

    std::filesystem::remove(languages[1].path);
    SelectLanguage(current, languages, 1, store);
    EXPECT_EQ(U8(current->Text(0)), "Русский");  // an unreadable file leaves the built-in texts

    EXPECT_EQ(stored, (std::vector<std::string>{"English", "", "Gone"}));
}
