// The four entry points the program looks up: one export and one import module.
#include "CsvModules.h"

FENDRAL_PLUGIN_EXPORT std::uint32_t GetExportInterfaceCount()
{
    return 1;
}

FENDRAL_PLUGIN_EXPORT ExportImport::AExportInterface* GetExportInterface(std::uint32_t index)
{
    return index == 0 ? new CsvExchange::ACsvExport : nullptr;
}

FENDRAL_PLUGIN_EXPORT std::uint32_t GetImportInterfaceCount()
{
    return 1;
}

FENDRAL_PLUGIN_EXPORT ExportImport::AImportInterface* GetImportInterface(std::uint32_t index)
{
    return index == 0 ? new CsvExchange::ACsvImport : nullptr;
}
