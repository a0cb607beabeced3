// The built-in spreadsheet modules: the interchange document as an Office Open XML
// workbook, one worksheet per kind of data, and such a workbook read back.
#pragma once
#include "exchange/xml/xmlForward.h"
#include "exchange/modules/FileModule.h"

#include "core/MemoryStream.h"

#include <cstdint>
#include <functional>
#include <string>

namespace ExportImport::FileTypeExcel {

// {9E2A4C61-7B3D-4F85-A1C9-5D0E8B2F6A34}
constexpr AModuleGuid kExportToXlsId = {0x9E2A4C61, 0x7B3D, 0x4F85, {0xA1, 0xC9, 0x5D, 0x0E, 0x8B, 0x2F, 0x6A, 0x34}};
// {4D7F1B93-2E6C-4A08-B53D-8C1A9E7F2B65}
constexpr AModuleGuid kImportFromXlsId = {0x4D7F1B93, 0x2E6C, 0x4A08, {0xB5, 0x3D, 0x8C, 0x1A, 0x9E, 0x7F, 0x2B, 0x65}};

class AExportToXLS final : public Private::AFileModule<AExportInterface> {
public:
    AExportToXLS();

    // The wizard writes the interchange text into memory; End turns it into the workbook.
    HRESULT OpenStream(IStream** stream) override;
    HRESULT End() override;

    // Writes the workbook for an interchange document's text into the file, reporting
    // progress to the notifier when there is one.
    static HRESULT WriteWorkbook(std::string_view interchangeText, const std::string& path,
                                 UtilityClasses::XML::AUserProgressNotifier* progress = nullptr);

    class ASheetBase;

private:
    UtilityClasses::ARefPtr<UtilityClasses::Streams::AMemoryStream> text_;
};

class AImportFromXLS final : public Private::AFileModule<AImportInterface> {
public:
    AImportFromXLS();

    // Reads the workbook into the interchange text (messages go to the tools) and
    // returns that text as the stream.
    HRESULT OpenStream(IStream** stream) override;
    HRESULT Reserved1() override { return Result::kOk; }
    const char16_t* Reserved2() override { return u""; }

    // The interchange text of the workbook, every problem passed to `report` (UTF-8);
    // false when the file is not a workbook at all.
    static bool ReadWorkbook(const std::string& path, const std::function<void(const std::string&)>& report,
                             std::string& interchangeText,
                             std::uint64_t partLimit = std::uint64_t{512} << 20,
                             UtilityClasses::XML::AUserProgressNotifier* progress = nullptr);

    class ASheetBase;
};

}  // namespace ExportImport::FileTypeExcel
