#include "exchange/AExcel.h"

#include "core/CodePage.h"
#include "exchange/XlsSheetReaders.h"
#include "exchange/XlsWorkbook.h"
#include "exchange/xmlBuild.h"
#include "exchange/xmlNodes.h"
#include "exchange/xmlWriter.h"

namespace ExportImport::FileTypeExcel {

using UtilityClasses::Streams::AMemoryStream;
using UtilityClasses::XML::ADocument;

AImportFromXLS::AImportFromXLS()
    : AFileModule({kImportFromXlsId, u"Книга Microsoft Excel", u"xlsImportFileName", u"xlsx"})
{
}

bool AImportFromXLS::ReadWorkbook(const std::string& path, const std::function<void(const std::string&)>& report,
                                  std::string& interchangeText, std::uint64_t partLimit)
{
    interchangeText.clear();
    AWorkbookError error = AWorkbookError::None;
    const auto workbook = AWorkbookReader::Open(path, error, partLimit);
    if (!workbook) {
        report("Невозможно открыть файл \"" + path + "\"");
        return false;
    }
    ADocument document;
    UtilityClasses::XML::AddXmlDeclaration(document);
    UtilityClasses::XML::AElement& root = *UtilityClasses::XML::AddElement(document, "fendral");
    AClassifierCollection classifiers;
    const AReportError reportError = report;
    for (const ASheetReaderKind& kind : SheetReaders()) {
        const ASheetEntry* sheet = workbook->Find(kind.sheet);
        if (!sheet)
            continue;
        std::vector<ASheetProblem> problems;
        const std::vector<ASheetRow> rows = workbook->ReadSheet(*sheet, problems);
        for (const ASheetProblem& problem : problems)
            report(problem.text);
        kind.create(reportError, classifiers)->Convert(rows, root);
    }
    interchangeText = UtilityClasses::XML::ToText(document);
    return true;
}

HRESULT AImportFromXLS::OpenStream(IStream** stream)
{
    if (!stream)
        return Result::kInvalidArg;
    *stream = nullptr;
    if (Tools())
        Tools()->SetProgressText(u"Подготовка данных.");
    const auto report = [this](const std::string& text) {
        if (Tools())
            Tools()->AddError(UtilityClasses::Strings::Utf8ToUtf16(text).c_str());
    };
    std::string text;
    if (!ReadWorkbook(UtilityClasses::Strings::Utf16ToUtf8(FileName()), report, text))
        return Result::kFail;
    auto memory = AMemoryStream::Create(text);
    memory->AddRef();  // the caller's reference
    *stream = memory.get();
    return Result::kOk;
}

}  // namespace ExportImport::FileTypeExcel
