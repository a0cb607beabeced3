// Rates of the European Central Bank: the euro foreign exchange reference rates,
// published on business days, against the euro.
//
// Recent dates are read from the document of the last 90 days, older ones from the
// whole history; the program downloads each document once however many dates name
// it. For a date without rates of its own (a weekend, a holiday) the latest rates of
// the week before are reported, with their own date.
#include "EcbDocument.h"

#include <fendral/ratesource.h>

#include <cstring>
#include <ctime>
#include <string>

namespace {

constexpr char kRecentPath[] = "/stats/eurofxref/eurofxref-hist-90d.xml";
constexpr char kHistoryPath[] = "/stats/eurofxref/eurofxref-hist.xml";
// Dates this close to today are in the 90-day document (it leaves out the last
// days of its span as it moves on).
constexpr int kRecentDays = 80;
// About one day's part of a document: the estimate grows with the dates asked for.
constexpr std::uint32_t kExpectedPerDate = 1500;
constexpr int kLookBackDays = 7;

// Names of the currencies the bank quotes or has quoted, in UTF-8.
struct ACurrencyName {
    const char* code;
    const char* name;
};
constexpr ACurrencyName kNames[] = {
    {"USD", "Доллар США"},          {"JPY", "Японская иена"},         {"BGN", "Болгарский лев"},
    {"CYP", "Кипрский фунт"},       {"CZK", "Чешская крона"},         {"DKK", "Датская крона"},
    {"EEK", "Эстонская крона"},     {"GBP", "Фунт стерлингов"},       {"HUF", "Венгерский форинт"},
    {"LTL", "Литовский лит"},       {"LVL", "Латвийский лат"},        {"MTL", "Мальтийская лира"},
    {"PLN", "Польский злотый"},     {"ROL", "Румынский лей (старый)"}, {"RON", "Румынский лей"},
    {"SEK", "Шведская крона"},      {"SIT", "Словенский толар"},      {"SKK", "Словацкая крона"},
    {"CHF", "Швейцарский франк"},   {"ISK", "Исландская крона"},      {"NOK", "Норвежская крона"},
    {"HRK", "Хорватская куна"},     {"RUB", "Российский рубль"},      {"TRL", "Турецкая лира (старая)"},
    {"TRY", "Турецкая лира"},       {"AUD", "Австралийский доллар"},  {"BRL", "Бразильский реал"},
    {"CAD", "Канадский доллар"},    {"CNY", "Китайский юань"},        {"HKD", "Гонконгский доллар"},
    {"IDR", "Индонезийская рупия"}, {"ILS", "Израильский шекель"},    {"INR", "Индийская рупия"},
    {"KRW", "Южнокорейская вона"},  {"MXN", "Мексиканское песо"},     {"MYR", "Малайзийский ринггит"},
    {"NZD", "Новозеландский доллар"}, {"PHP", "Филиппинское песо"},   {"SGD", "Сингапурский доллар"},
    {"THB", "Тайский бат"},         {"ZAR", "Южноафриканский рэнд"},
};

const ALibraryInfo kInfo = {
    sizeof(ALibraryInfo),
    65001,
    "Европейский центральный банк (курсы евро)",
    "www.ecb.europa.eu",
    "EUR",
    "Евро",
    "Fendral",
    "fendral@users.noreply.invalid",
    "https://www.ecb.europa.eu/stats/policy_and_exchange_rates/euro_reference_exchange_rates/",
};

Ecb::ADay DayOf(APackedDate date)
{
    return {FENDRAL_PACKED_YEAR(date), FENDRAL_PACKED_MONTH(date), FENDRAL_PACKED_DAY(date)};
}

Ecb::ADay Today()
{
    const std::time_t now = std::time(nullptr);
    std::tm parts = {};
    gmtime_r(&now, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday};
}

bool Valid(const Ecb::ADay& day) { return day.year >= 1 && day.month >= 1 && day.month <= 12 && day.day >= 1 && day.day <= 31; }

}  // namespace

extern "C" {

FENDRAL_RATESOURCE_EXPORT const ALibraryInfo* GetLibraryInfo(void) { return &kInfo; }

FENDRAL_RATESOURCE_EXPORT void GetResources(APackedDate date, ACallback* callback)
{
    const Ecb::ADay day = DayOf(date);
    if (!Valid(day))
        return;
    AResourceRequest request = {};
    request.expectedSize = kExpectedPerDate;
    request.value = date;
    request.path = Today().Serial() - day.Serial() <= kRecentDays ? kRecentPath : kHistoryPath;
    callback->table->AddResource(callback, &request);
}

FENDRAL_RATESOURCE_EXPORT void FetchRates(const char* data, uint32_t value, ACallback* callback)
{
    const Ecb::ADay wanted = DayOf(value);
    Ecb::ADayRates found;
    if (!data || !Valid(wanted) || !Ecb::RatesFor(data, wanted, kLookBackDays, found))
        return;
    const APackedDate date = FENDRAL_PACK_DATE(found.day.year, found.day.month, found.day.day);
    for (const Ecb::ARate& rate : found.rates) {
        const std::string code(rate.currency);
        const char* name = code.c_str();
        for (const ACurrencyName& known : kNames)
            if (code == known.code)
                name = known.name;
        const ARateRecord record = {10000, rate.rate, code.c_str(), name, date};
        callback->table->AddRate(callback, &record);
    }
}

}  // extern "C"
