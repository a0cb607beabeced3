// The rate source's reading of the bank's document: any text gives no day or the rates of
// one day, each a positive rate, and never more rates than the text could name.
#include "FuzzSupport.h"

#include "EcbDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text = Fuzz::Text(data, size);
    Ecb::ADayRates found;
    if (Ecb::RatesFor(text, Ecb::ADay{2024, 3, 15}, 7, found)) {
        if (found.rates.size() > size / 8 + 1)
            Fuzz::Broken("more rates than the document could hold");
        for (const auto& rate : found.rates)
            if (rate.rate <= 0)
                Fuzz::Broken("a rate that is not positive");
    }
    std::int64_t rate = 0;
    if (Ecb::ParseRate(text, rate) && rate <= 0)
        Fuzz::Broken("ParseRate took a rate that is not positive");
    return 0;
}
