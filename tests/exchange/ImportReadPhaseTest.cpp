// The read phase as a whole: documents that hold nothing or can't be read, the order of
// the sections, locations from `ref` attributes, dependants of refused items, the
// conflict checks against the data file, and progress.
#include "ImportTestSupport.h"

#include "exchange/xml/xmlReader.h"

namespace {

using namespace ImportTest;
namespace Streams = UtilityClasses::Streams;

TEST(ImportReadPhase, NothingToImport)
{
    const char* empty[] = {
        "<fendral><export-options><program-build>235</program-build></export-options></fendral>",
        "<fendral/>",
        "<other><currencies><currency><code>USD</code><name>D</name></currency></currencies></other>",
        // Sections count only directly under the root, and account plans are not read.
        "<fendral><export-options><currencies><currency><code>USD</code><name>D</name></currency></currencies>"
        "</export-options><account-plans><account-plan><name>P</name></account-plan></account-plans></fendral>",
    };
    for (const char* text : empty) {
        TImport import;
        EXPECT_FALSE(import.Read(text)) << text;
        EXPECT_EQ(import.MessageTexts(), std::vector<std::string>{"E: Данные для импорта не обнаружены."}) << text;
    }
}

TEST(ImportReadPhase, UnparsableTextGivesTheParseErrorWithItsPosition)
{
    const std::string text = "<?xml version='1.0'?>\n<fendral>\n  <currencies><currency></currencies>";
    UtilityClasses::XML::ADocument probe;
    const auto expected = UtilityClasses::XML::ParseDocument(probe, text);
    ASSERT_NE(expected.code, 0);

    TImport import;
    EXPECT_FALSE(import.Read(text));
    EXPECT_EQ(import.MessageTexts(),
              std::vector<std::string>{"E: От модуля импорта получены неверные данные.\r\n\nКод ошибки: " +
                                       std::to_string(expected.code) + ";\r\nСтрока: " + std::to_string(expected.line) +
                                       ";\r\nСтолбец: " + std::to_string(expected.column)});
    EXPECT_EQ(expected.line, 3);
}

// Gives its text, then fails every read from `failAt` on.
class TFailingStream final : public Streams::Implementation::ARefCounted<Streams::IStream> {
public:
    TFailingStream(std::string text, std::size_t failAt, bool seekFails)
        : text_(std::move(text)), failAt_(failAt), seekFails_(seekFails)
    {
    }
    HRESULT Read(void* buffer, std::uint32_t size, std::uint32_t* read) override
    {
        if (position_ >= failAt_)
            return Result::kStgReadFault;
        const std::size_t count = std::min<std::size_t>({size, text_.size() - position_, failAt_ - position_});
        std::copy_n(text_.data() + position_, count, static_cast<char*>(buffer));
        position_ += count;
        if (read)
            *read = static_cast<std::uint32_t>(count);
        return Result::kOk;
    }
    HRESULT Write(const void*, std::uint32_t, std::uint32_t*) override { return Result::kAccessDenied; }
    HRESULT Seek(std::int64_t move, Streams::ESeekOrigin origin, std::uint64_t* newPosition) override
    {
        if (seekFails_)
            return Result::kNotImplemented;
        std::uint64_t position = 0;
        const HRESULT result = Streams::Implementation::ComputeSeek(position_, text_.size(), move, origin, &position);
        if (Result::Failed(result))
            return result;
        position_ = position;
        if (newPosition)
            *newPosition = position;
        return Result::kOk;
    }
    HRESULT SetSize(std::uint64_t) override { return Result::kAccessDenied; }
    HRESULT Commit() override { return Result::kOk; }
    HRESULT Stat(Streams::AStreamStat* stat) override
    {
        stat->size = text_.size();
        return Result::kOk;
    }

private:
    std::string text_;
    std::size_t failAt_;
    bool seekFails_;
    std::size_t position_ = 0;
};

TEST(ImportReadPhase, AFailingStreamIsAnUnknownModuleError)
{
    const std::string text = Doc(Currencies({"USD"}));
    for (const bool seekFails : {false, true}) {
        TImport import;
        import.batch = std::make_unique<AImportBatch>();
        auto stream = UtilityClasses::ARefPtr<TFailingStream>::Adopt(new TFailingStream(text, seekFails ? text.size() : 20, seekFails));
        EXPECT_FALSE(ReadInterchange(import.Environment(), *stream, *import.batch, import.messages));
        EXPECT_EQ(import.MessageTexts(), std::vector<std::string>{"E: Неизвестная ошибка модуля импорта."});
    }
}

TEST(ImportReadPhase, LocationsComeFromRefAttributesOutermostFirst)
{
    TImport import;
    ASSERT_TRUE(import.Read(Doc(
        "<currencies ref='Лист: Currencies'>"
        "<currency ref='2'><name ref='A2'>X</name></currency>"
        "<currency><code ref='B3'>RUR</code><name ref='A3'>Рубли</name></currency>"
        "<currency><code>EUR</code><name>E</name><precision ref='C4'>9</precision></currency>"
        "</currencies>")));
    EXPECT_EQ(import.MessageTexts(),
              (std::vector<std::string>{
                  "E: Не указано обозначение для валюты.\r\n\r\nСмотри: Лист: Currencies, 2",
                  // A warning has one space before its location.
                  "W: Импортируемая валюта имеет название,\r\nотличное от уже существующего в файле данных.\r\nНовое "
                  "название будет проигрорировано. \r\n\r\nСмотри: Лист: Currencies",
                  "E: Указано неправильное значение точности валюты.\r\nДолжно быть целое число от 0 до 4 "
                  "включительно.\r\n\r\nСмотри: Лист: Currencies, C4",
              }));
}

TEST(ImportReadPhase, AnEmptyRequiredCellIsReportedAtItsCell)
{
    TImport import;
    ASSERT_TRUE(import.Read(Doc(Currencies({"USD"}) +
                                "<accounts ref='Лист: Accounts'><account><name ref='A2'/>"
                                "<currency ref='B2'>USD</currency></account></accounts>")));
    EXPECT_EQ(import.MessageTexts(),
              std::vector<std::string>{"E: Не указано название счета.\r\n\r\nСмотри: Лист: Accounts, A2"});
}

TEST(ImportReadPhase, SectionsAreReadInTheirOrderWhereverTheyStandAndAsOftenAsTheyOccur)
{
    TImport import;
    ASSERT_TRUE(import.Read(Doc("<transactions><transaction><date>2020-01-01</date><income><income-account>" +
                                AccountRef("A", "USD") +
                                "</income-account><income-amount>1</income-amount></income></transaction>"
                                "</transactions><accounts><account><name>A</name><currency>USD</currency></account>"
                                "</accounts>" +
                                Currencies({"USD"}) + Currencies({"EUR"}))));
    EXPECT_EQ(import.MessageTexts(), std::vector<std::string>{});
    EXPECT_EQ(import.batch->Db().Currencies().SlotCount(), 2u);
    EXPECT_EQ(import.batch->Db().Transactions().SlotCount(), 1u);
}

TEST(ImportReadPhase, DependantsOfARefusedItemFailOnTheirReferences)
{
    TImport import;
    ASSERT_TRUE(import.Read(Doc("<currencies><currency><code>USD</code></currency></currencies>"
                                "<accounts><account><name>A</name><currency>USD</currency></account></accounts>"
                                "<transactions><transaction><date>2020-01-01</date><income><income-account>" +
                                AccountRef("A", "USD") +
                                "</income-account><income-amount>1</income-amount></income></transaction>"
                                "</transactions>")));
    EXPECT_EQ(import.MessageTexts(),
              (std::vector<std::string>{"E: Не указано название валюты.", "E: Валюта не найдена.",
                                        "E: Валюта не найдена."}));
    EXPECT_EQ(import.batch->Db().Transactions().SlotCount(), 0u);
}

TEST(ImportReadPhase, TwoAccountsOfOneNameInDifferentCurrenciesAreBothTaken)
{
    TImport import;
    ASSERT_TRUE(import.Read(Doc(Currencies({"USD", "EUR"}) +
                                "<accounts><account><name>Card</name><currency>USD</currency></account>"
                                "<account><name>Card</name><currency>EUR</currency></account></accounts>")));
    EXPECT_EQ(import.MessageTexts(), std::vector<std::string>{});
    EXPECT_EQ(import.batch->Db().Accounts().SlotCount(), 2u);
}

TEST(ImportReadPhase, RatesAreComparedWithTheDataFileEitherWayRound)
{
    TImport import;
    import.db.BeginStep();
    const auto usd = ATableImpl<ACurrency>::RefTo(
        import.db.Currencies().Create(ACurrency{import.db.NewText(u"Dollar"), import.db.NewText(u"USD"), 2}));
    const auto rur = ATableImpl<ACurrency>::RefTo(import.db.Currencies().Live().front());
    const auto header = ATableImpl<ARateHeader>::RefTo(import.db.RateHeaders().Create(ARateHeader{usd, rur}));
    import.db.RateValues().Create(ARateValue{header, Dates::FromYmd(2020, 1, 1), M(1), M(90)});
    import.db.CommitStep();

    auto rate = [](const char* first, const char* second, const char* amount1, const char* amount2) {
        return "<rate><date>2020-01-01</date><currency-1>" + std::string(first) + "</currency-1><currency-2>" +
               second + "</currency-2><amount-1>" + amount1 + "</amount-1><amount-2>" + amount2 + "</amount-2></rate>";
    };
    const std::string currencies =
        "<currencies><currency><code>USD</code><name>Dollar</name></currency>"
        "<currency><code>RUR</code><name>Российские рубли</name></currency></currencies>";
    // The same price stated the other way round, and in other units: no warning.
    ASSERT_TRUE(import.Read(Doc(currencies + "<rates>" + rate("RUR", "USD", "90", "1") + "</rates>")));
    EXPECT_EQ(import.MessageTexts(), std::vector<std::string>{});
    ASSERT_TRUE(import.Read(Doc(currencies + "<rates>" + rate("USD", "RUR", "10", "900") + "</rates>")));
    EXPECT_EQ(import.MessageTexts(), std::vector<std::string>{});
    // Another price is refused with the warning.
    ASSERT_TRUE(import.Read(Doc(currencies + "<rates>" + rate("RUR", "USD", "80", "1") + "</rates>")));
    EXPECT_EQ(import.MessageTexts(),
              std::vector<std::string>{"W: Попытка изменить уже существующий курс. Игнорируется."});
    EXPECT_EQ(import.batch->Db().RateValues().SlotCount(), 0u);
}

TEST(ImportReadPhase, ReportsCaptionsAndProgress)
{
    TImport import;
    TProgress progress;
    import.progress = &progress;
    ASSERT_TRUE(import.Read(Doc(Currencies({"USD", "EUR"}))));
    EXPECT_EQ(progress.captions,
              (std::vector<std::string>{"Импорт данных (валюты).", "Импорт данных (курсы валют).",
                                        "Импорт данных (счета).", "Импорт данных (классификаторы).",
                                        "Импорт данных (операции).", "Импорт данных."}));
    EXPECT_EQ(progress.steps, std::vector<std::size_t>{2});
    EXPECT_EQ(progress.nextSteps, 1);
    EXPECT_EQ(progress.last, 100u);
}

TEST(ImportReadPhase, TimesAndBudgetDatesFollowTheDataFile)
{
    const std::string document = Doc(
        Currencies({"USD"}) + "<accounts><account><name>A</name><currency>USD</currency></account></accounts>"
                              "<transactions><transaction><date>2009-01-02T09:05:03:007</date><expense><executed/>"
                              "<budget-date>2009-02-01</budget-date><expense-account>" +
        AccountRef("A", "USD") + "</expense-account><expense-amount>-1</expense-amount></expense></transaction>"
                                 "</transactions>");
    for (const bool features : {false, true}) {
        TImport import;
        import.db.BeginStep();
        ADBSettings* settings = import.db.Settings().Change(import.db.Settings().Live().front());
        settings->times = features;
        settings->budgetDates = features;
        import.db.CommitStep();
        ASSERT_TRUE(import.Read(document));
        const ATransaction& read = import.batch->Db().Transactions().SlotAt(0).Record();
        EXPECT_EQ(read.date, Dates::FromYmd(2009, 1, 2));
        // Times are kept in whole seconds.
        EXPECT_EQ(read.time, features ? ((9 * 60 + 5) * 60 + 3) * 1000 : 0);
        EXPECT_EQ(read.budgetDate, features ? Dates::FromYmd(2009, 2, 1) : Dates::FromYmd(2009, 1, 2));
    }
}

}  // namespace
