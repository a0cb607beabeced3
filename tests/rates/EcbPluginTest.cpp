// The European Central Bank plug-in: its parser on a sample of the bank's reference
// rate document, the documents it asks for, and damaged documents.
#include "rates/RatesTestSupport.h"

#include "core/TempFolder.h"
#include "rates/PackedDate.h"

#include <random>

namespace RatesTest {
namespace {

struct AReported {
    std::string code;
    std::string name;
    std::int64_t amount1;
    std::int64_t amount2;
    APackedDate date;
};

// A callback that keeps whatever the plug-in hands it.
struct ACollector : ACallback {
    std::vector<AReported> rates;
    std::vector<std::string> paths;
    std::vector<std::uint32_t> expected;

    ACollector() { table = &kTable; }
    static void AddResource(ACallback* self, const AResourceRequest* request)
    {
        static_cast<ACollector*>(self)->paths.push_back(request->path);
        static_cast<ACollector*>(self)->expected.push_back(request->expectedSize);
    }
    static void AddRate(ACallback* self, const ARateRecord* rate)
    {
        static_cast<ACollector*>(self)->rates.push_back(
            {rate->code, rate->name ? rate->name : "", rate->amount1, rate->amount2, rate->date});
    }
    static constexpr ACallbackTable kTable = {&AddResource, &AddRate};
};

class EcbPluginTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(source, nullptr); }
    std::vector<AReported> Fetch(const std::string& document, ADate wanted)
    {
        ACollector collector;
        source->Exports().fetchRates(document.c_str(), Rates::PackDate(wanted), &collector);
        return collector.rates;
    }

    std::unique_ptr<ADataSourceItem> source = ADataSourceItem::Load(PluginPath("ecbrates.so"), 1251);
    const std::string sample = ReadTextFile(std::string(FENDRAL_TEST_DATA) + "/rates/eurofxref-sample.xml");
};

TEST_F(EcbPluginTest, DescribesItselfInUtf8)
{
    EXPECT_EQ(source->CodePage(), 65001u);
    EXPECT_EQ(source->Name(), u"Европейский центральный банк (курсы евро)");
    EXPECT_EQ(source->Host(), "www.ecb.europa.eu");
    const ASourceDetails details = source->Details();
    EXPECT_EQ(details.baseCode, u"EUR");
    EXPECT_EQ(details.baseName, u"Евро");
}

TEST_F(EcbPluginTest, RatesOfTheLatestBusinessDayOfTheWeekBefore)
{
    ASSERT_GT(sample.size(), 1000u);
    const struct {
        ADate wanted;
        std::size_t count;
        ADate reported;
    } cases[] = {
        {Day(2024, 3, 1), 30, Day(2024, 3, 1)},
        {Day(2024, 3, 3), 30, Day(2024, 3, 1)},  // a Sunday
        {Day(2024, 3, 8), 30, Day(2024, 3, 1)},  // seven days on
        {Day(2024, 2, 29), 5, Day(2024, 2, 29)},
        {Day(2024, 2, 28), 3, Day(2024, 2, 28)},
        {Day(2024, 3, 9), 0, 0},                 // too long after
        {Day(2024, 2, 27), 0, 0},                // before the document
    };
    for (const auto& c : cases) {
        const std::vector<AReported> rates = Fetch(sample, c.wanted);
        ASSERT_EQ(rates.size(), c.count) << c.wanted;
        for (const AReported& rate : rates)
            EXPECT_EQ(Rates::UnpackDate(rate.date), c.reported) << c.wanted << " " << rate.code;
    }
}

TEST_F(EcbPluginTest, OneEuroIsWorthTheRateWithNames)
{
    const std::vector<AReported> rates = Fetch(sample, Day(2024, 3, 1));
    ASSERT_EQ(rates.size(), 30u);
    EXPECT_EQ(rates[0].code, "USD");
    EXPECT_EQ(source->Text(rates[0].name.c_str()), u"Доллар США");
    EXPECT_EQ(rates[0].amount1, 10000);
    EXPECT_EQ(rates[0].amount2, 10830);
    const auto rateOf = [&](const std::string& code) {
        for (const AReported& rate : rates)
            if (rate.code == code)
                return rate.amount2;
        return std::int64_t{-1};
    };
    EXPECT_EQ(rateOf("GBP"), 8558);          // 0.85583: the fifth decimal rounds
    EXPECT_EQ(rateOf("IDR"), 170313500);     // 17031.35
    EXPECT_EQ(rateOf("JPY"), 1624300);
}

TEST_F(EcbPluginTest, RecentDatesUseTheNinetyDayDocumentAndOldOnesTheHistory)
{
    ACollector collector;
    const ADate today = SystemLocalTime().date;
    for (const ADate date : {Day(2000, 1, 3), today, today - 30})
        source->Exports().getResources(Rates::PackDate(date), &collector);
    source->Exports().getResources(FENDRAL_PACK_DATE(2024, 13, 1), &collector);
    EXPECT_EQ(collector.paths, (std::vector<std::string>{"/stats/eurofxref/eurofxref-hist.xml",
                                                         "/stats/eurofxref/eurofxref-hist-90d.xml",
                                                         "/stats/eurofxref/eurofxref-hist-90d.xml"}));
    for (const std::uint32_t size : collector.expected)
        EXPECT_GT(size, 0u);
}

TEST_F(EcbPluginTest, DamagedDocumentsGiveNoMoreThanTheyHold)
{
    const ADate wanted = Day(2024, 3, 1);
    // Cut at every length.
    for (std::size_t length = 0; length <= sample.size(); ++length) {
        const std::vector<AReported> rates = Fetch(sample.substr(0, length), wanted);
        ASSERT_LE(rates.size(), 30u) << length;
        for (const AReported& rate : rates)
            ASSERT_GT(rate.amount2, 0) << length;
    }
    // Every byte flipped in turn.
    for (std::size_t at = 0; at < sample.size(); ++at) {
        std::string damaged = sample;
        damaged[at] = static_cast<char>(damaged[at] ^ 0x5A);
        if (damaged[at] == '\0')
            damaged[at] = 'x';
        ASSERT_LE(Fetch(damaged, wanted).size(), 30u) << at;
    }
    // Random bytes, and random bytes around real tags.
    std::mt19937 random(7);
    std::uniform_int_distribution<int> byte(1, 255);
    for (int round = 0; round < 200; ++round) {
        std::string noise(static_cast<std::size_t>(byte(random)) * 20, ' ');
        for (char& c : noise)
            c = static_cast<char>(byte(random));
        const std::string mixed = "<Cube time='2024-03-01'>" + noise + "<Cube currency='USD' rate='1.5'/>" + noise;
        for (const AReported& rate : Fetch(mixed, wanted))
            EXPECT_GT(rate.amount2, 0);
        Fetch(noise, wanted);
    }
}

TEST_F(EcbPluginTest, UnreadableRatesAreLeftOut)
{
    const std::string document =
        "<Cube><Cube time='2024-03-01'>"
        "<Cube currency='AAA' rate='1.5'/>"
        "<Cube currency='BBB' rate='-1'/>"
        "<Cube currency='CCC' rate='0'/>"
        "<Cube currency='DDD' rate='12345678901234567890'/>"
        "<Cube currency='DDE' rate='998999999999992'/>"
        "<Cube currency='EEE' rate='1.2.3'/>"
        "<Cube currency='' rate='2'/>"
        "<Cube rate='2'/>"
        "<Cube currency=\"FFF\" rate=\"2.25\"/>"
        "</Cube><Cube time='2024-02-30'><Cube currency='GGG' rate='1'/></Cube></Cube>";
    const std::vector<AReported> rates = Fetch(document, Day(2024, 3, 2));
    ASSERT_EQ(rates.size(), 2u);
    EXPECT_EQ(rates[0].code, "AAA");
    EXPECT_EQ(rates[0].amount2, 15000);
    EXPECT_EQ(rates[1].code, "FFF");
    EXPECT_EQ(rates[1].amount2, 22500);
    // A code it has no name for is named by its code.
    EXPECT_EQ(rates[1].name, "FFF");
}

}  // namespace
}  // namespace RatesTest
