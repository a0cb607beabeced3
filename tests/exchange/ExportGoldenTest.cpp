// A full export of a rich set of books, compared byte for byte with the document kept
// beside the tests.
#include "ExportTestSupport.h"
#include "core/MemoryStream.h"
#include "exchange/xml/xmlReader.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {

using namespace ExportTest;

const std::string kGoldenPath = std::string(FENDRAL_TEST_DATA) + "/exchange/export-rich.xml";

std::string ReadFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

TEST(ExportGolden, RichBooksGiveTheKeptDocument)
{
    TRichBooks books;
    ExpectConsistentBalances(books.db);
    const std::string exported = ExportText(books.db);
    // Set FENDRAL_WRITE_GOLDEN=1 to write the document anew after a deliberate change of
    // the format; the run fails so that the new file is looked at before it is kept.
    if (std::getenv("FENDRAL_WRITE_GOLDEN")) {
        std::ofstream(kGoldenPath, std::ios::binary) << exported;
        FAIL() << "golden document written to " << kGoldenPath;
    }
    const std::string golden = ReadFile(kGoldenPath);
    ASSERT_FALSE(golden.empty()) << kGoldenPath;
    EXPECT_EQ(exported, golden);
}

TEST(ExportGolden, TheKeptDocumentIsWellFormed)
{
    const std::string golden = ReadFile(kGoldenPath);
    UtilityClasses::XML::ADocument document;
    const auto result = UtilityClasses::XML::ParseDocument(document, golden);
    ASSERT_TRUE(result.Ok()) << result.code;
    ASSERT_NE(document.RootElement(), nullptr);
    EXPECT_EQ(document.RootElement()->Name(), "fendral");
}

TEST(ExportGolden, WrittenThroughAStreamWithProgress)
{
    class TProgress final : public AExchangeProgress {
    public:
        void SetCaption(std::u16string_view caption) override { captions.emplace_back(caption); }
        void LoadSteps(std::vector<unsigned> loaded) override { weights = std::move(loaded); }
        void NextStep() override { ++step; }
        void Notify(unsigned percent) override
        {
            if (percent < last && step == lastStep)
                backwards = true;
            last = percent;
            lastStep = step;
            ++notifications[std::min(step, 2)];
        }
        std::vector<std::u16string> captions;
        std::vector<unsigned> weights;
        int step = 0, lastStep = 0, notifications[3] = {};
        unsigned last = 0;
        bool backwards = false;
    };
    TRichBooks books;
    UtilityClasses::Strings::AStrings strings(UtilityClasses::Strings::RussianLocale());
    TProgress progress;
    AExportEnvironment environment{&strings, ExportTime, &progress};
    auto stream = UtilityClasses::Streams::AMemoryStream::Create();
    ASSERT_EQ(ExportDocument(books.db, Everything(books.db), environment, stream.get()), Result::kOk);
    EXPECT_EQ(std::string(stream->Bytes()), ReadFile(kGoldenPath));

    // 3 currencies, 3 rates, 4 accounts and 8 transactions: the count, a quarter, a fifth.
    EXPECT_EQ(progress.weights, (std::vector<unsigned>{18, 4, 3}));
    EXPECT_EQ(progress.captions,
              (std::vector<std::u16string>{u"Валюты", u"Курсы валют", u"Счета", u"Классификаторы", u"Операции"}));
    EXPECT_EQ(progress.step, 2);  // left on the third step for the module
    EXPECT_GT(progress.notifications[0], 0);
    EXPECT_GT(progress.notifications[1], 0);
    EXPECT_FALSE(progress.backwards);
}

}  // namespace
