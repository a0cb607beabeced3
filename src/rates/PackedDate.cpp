#include "rates/PackedDate.h"

namespace Rates {

APackedDate PackDate(ADate date)
{
    const Dates::AYmd ymd = Dates::ToYmd(date);
    return FENDRAL_PACK_DATE(ymd.year, ymd.month, ymd.day);
}

std::optional<ADate> UnpackDate(APackedDate packed)
{
    const int year = FENDRAL_PACKED_YEAR(packed);
    const int month = FENDRAL_PACKED_MONTH(packed);
    const int day = FENDRAL_PACKED_DAY(packed);
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > Dates::DaysInMonth(year, month))
        return std::nullopt;
    return Dates::FromYmd(year, month, day);
}

}  // namespace Rates
