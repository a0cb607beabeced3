#include "exchange/workbook/AExcel.h"

#include "core/CodePage.h"
#include "exchange/workbook/XlsInterchangeWriter.h"
#include "exchange/workbook/XlsProgress.h"
#include "exchange/workbook/XlsSheetReaders.h"
#include "exchange/workbook/XlsWorkbook.h"
#include "exchange/xml/xmlBuild.h"
#include "exchange/xml/xmlNodes.h"
#include "exchange/xml/xmlWriter.h"

#include <algorithm>
#include <optional>

namespace ExportImport::FileTypeExcel {

using UtilityClasses::Streams::AMemoryStream;
using UtilityClasses::XML::ADocument;

AImportFromXLS::AImportFromXLS()
    : AFileModule({kImportFromXlsId, u"Книга Microsoft Excel", u"xlsImportFileName", u"xlsx"})
{
}

namespace {

// Items written out at a time while a sheet is streamed.
constexpr std::size_t kItemsPerWrite = 256;

// One pass over the sheets into the interchange text, every message kept in `messages`:
// a sheet's reading problems before what its reader reports. Streamed, each sheet is read
// a row at a time; false when some sheet cannot be streamed, and the pass must be made
// again with whole sheets.
bool ReadSheets(AWorkbookReader& workbook, bool streamed, std::vector<std::string>& messages, std::string& text,
                UtilityClasses::XML::AUserProgressNotifier* progress)
{
    // One step per sheet, weighted by its size.
    std::vector<unsigned> weights;
    for (const ASheetReaderKind& kind : SheetReaders())
        if (const ASheetEntry* sheet = workbook.Find(kind.sheet))
            weights.push_back(static_cast<unsigned>(std::min<std::uint64_t>(workbook.DeclaredSize(*sheet) / 1024 + 1, 1u << 24)));
    AProgressSteps steps(progress, weights);

    ADocument document;
    UtilityClasses::XML::AddXmlDeclaration(document);
    UtilityClasses::XML::AElement& root = *UtilityClasses::XML::AddElement(document, "fendral");
    AInterchangeWriter writer(document, root);
    AClassifierCollection classifiers;
    std::vector<std::string> readerMessages;
    const AReportError report = [&](const std::string& message) { readerMessages.push_back(message); };
    for (const ASheetReaderKind& kind : SheetReaders()) {
        const ASheetEntry* sheet = workbook.Find(kind.sheet);
        if (!sheet)
            continue;
        const ASheetReaderPtr reader = kind.create(report, classifiers);
        std::vector<ASheetProblem> problems;
        if (streamed) {
            bool header = true, usable = false;
            std::size_t unwritten = 0;
            const bool read = workbook.StreamSheet(*sheet, problems, [&](const ASheetRow& row) {
                if (header) {
                    header = false;
                    usable = reader->Header(row, root);
                } else if (usable) {
                    reader->Row(row);
                    UtilityClasses::XML::AElement* section = reader->FinishedItems();
                    if (section && ++unwritten == kItemsPerWrite) {
                        writer.WriteItems(*section);
                        unwritten = 0;
                    }
                }
            }, steps.Get());
            if (!read)
                return false;
        } else {
            reader->Convert(workbook.ReadSheet(*sheet, problems), root);
        }
        steps.Next();
        for (ASheetProblem& problem : problems)
            messages.push_back(std::move(problem.text));
        for (std::string& message : readerMessages)
            messages.push_back(std::move(message));
        readerMessages.clear();
    }
    text = writer.Finish();
    steps.Finish();
    return true;
}

}  // namespace

bool AImportFromXLS::ReadWorkbook(const std::string& path, const std::function<void(const std::string&)>& report,
                                  std::string& interchangeText, std::uint64_t partLimit,
                                  UtilityClasses::XML::AUserProgressNotifier* progress)
{
    interchangeText.clear();
    AWorkbookError error = AWorkbookError::None;
    const auto workbook = AWorkbookReader::Open(path, error, partLimit);
    if (!workbook) {
        report("Невозможно открыть файл \"" + path + "\"");
        return false;
    }
    // Sheets as spreadsheet programs write them stream; the rare sheet with rows out of
    // order, or text the stream cannot follow, is read whole, and then so is every sheet,
    // since the classifier sheets feed the sheets after them.
    std::vector<std::string> messages;
    std::optional<AForwardOnly> forward;
    if (progress)
        forward.emplace(*progress);
    UtilityClasses::XML::AUserProgressNotifier* bar = forward ? &*forward : nullptr;
    if (!ReadSheets(*workbook, true, messages, interchangeText, bar)) {
        messages.clear();
        ReadSheets(*workbook, false, messages, interchangeText, bar);
    }
    for (const std::string& message : messages)
        report(message);
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
    AToolsProgress progress(Tools());
    std::string text;
    if (!ReadWorkbook(UtilityClasses::Strings::Utf16ToUtf8(FileName()), report, text, AZipReader::kDefaultPartLimit,
                      &progress))
        return Result::kFail;
    auto memory = AMemoryStream::Create(text);
    memory->AddRef();  // the caller's reference
    *stream = memory.get();
    return Result::kOk;
}

}  // namespace ExportImport::FileTypeExcel
