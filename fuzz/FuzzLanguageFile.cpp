// Language files: any bytes replace some texts and leave the table usable.
#include "FuzzSupport.h"

#include "core/AStrings.h"
#include "core/LanguageFile.h"

using namespace UtilityClasses::Strings;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    AStrings table(RussianLocale());
    ApplyLanguageFile(table, {data, size});
    for (int id = 0; id < AStrings::kCount; ++id)
        if (table.Text(id).size() > kMaxLanguageTextLength + 1)
            Fuzz::Broken("a text longer than a line may hold");
    (void)table.Format(252, {1, 2});
    return 0;
}
