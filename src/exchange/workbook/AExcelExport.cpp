#include "exchange/workbook/AExcel.h"

#include "core/AtomicFile.h"
#include "core/CodePage.h"
#include "exchange/workbook/XlsInterchangeSections.h"
#include "exchange/workbook/XlsPackage.h"
#include "exchange/workbook/XlsProgress.h"
#include "exchange/workbook/XlsZip.h"
#include "exchange/xml/xmlNodes.h"
#include "exchange/xml/xmlReader.h"

#include <algorithm>
#include <optional>

namespace ExportImport::FileTypeExcel {

using UtilityClasses::Streams::AMemoryStream;

namespace {

// The package for the document's sections, written beside the target and renamed over
// it, so a failed export leaves an existing workbook as it was. The steps are at the
// sheets' one and go on to the finishing one.
HRESULT WritePackage(const AInterchangeSections& document, const std::string& path, AProgressSteps& steps)
{
    const std::vector<AWorksheet> sheets = Worksheets(document);
    std::vector<unsigned> weights;
    for (const AWorksheet& sheet : sheets)
        weights.push_back(static_cast<unsigned>(std::min<std::size_t>(sheet.items, 1u << 24)));
    AProgressSteps sheetSteps(steps.Get(), weights);

    Files::AAtomicFile replacement;
    if (replacement.Begin(path) != 0)
        return Result::kAccessDenied;
    auto zip = AZipWriter::Create(replacement.TempPath());
    if (!zip)
        return Result::kAccessDenied;
    HRESULT hr = zip->Add("[Content_Types].xml", ContentTypesPart(sheets.size()));
    if (Result::Succeeded(hr))
        hr = zip->Add("_rels/.rels", PackageRelationshipsPart());
    if (Result::Succeeded(hr))
        hr = zip->Add("xl/styles.xml", StylesPart());
    // Each sheet is packed as soon as it is written, so only one is held at a time.
    for (std::size_t i = 0; i < sheets.size() && Result::Succeeded(hr); ++i) {
        // Packing a sheet takes about two thirds as long as writing it.
        AProgressSteps parts(sheetSteps.Get(), {3, 2});
        const std::string part = WorksheetPart(document, sheets[i], parts.Get());
        if (document.Failed())
            return Result::kFail;
        parts.Next();
        hr = zip->Add("xl/worksheets/sheet" + std::to_string(i + 1) + ".xml", part, parts.Get());
        sheetSteps.Next();
    }
    steps.Next();
    if (Result::Succeeded(hr))
        hr = zip->Add("xl/sharedStrings.xml", SharedStringsPart());
    steps.Notify(20);
    if (Result::Succeeded(hr))
        hr = zip->Add("xl/workbook.xml", WorkbookPart(sheets));
    if (Result::Succeeded(hr))
        hr = zip->Add("xl/_rels/workbook.xml.rels", WorkbookRelationshipsPart(sheets.size()));
    steps.Notify(30);
    const HRESULT closed = zip->Close();
    if (Result::Succeeded(hr))
        hr = closed;
    steps.Notify(60);
    // The zip library wrote through its own handle to the same file; the flush goes by ours.
    if (Result::Succeeded(hr))
        if (const int rc = replacement.Commit())
            hr = Result::FromErrno(rc);
    steps.Finish();
    return hr;
}

}  // namespace

AExportToXLS::AExportToXLS()
    : AFileModule({kExportToXlsId, u"Книга Microsoft Excel", u"xlsExportFileName", u"xlsx"})
{
}

HRESULT AExportToXLS::OpenStream(IStream** stream)
{
    if (!stream)
        return Result::kInvalidArg;
    text_ = AMemoryStream::Create();
    text_->AddRef();  // the caller's reference
    *stream = text_.get();
    return Result::kOk;
}

HRESULT AExportToXLS::End()
{
    if (!text_)
        return Result::kUnexpected;
    if (Tools())
        Tools()->SetProgressText(u"Окончательная обработка экспортируемых данных.");
    AToolsProgress progress(Tools());
    const HRESULT hr = WriteWorkbook(text_->Bytes(), UtilityClasses::Strings::Utf16ToUtf8(FileName()), &progress);
    text_.Reset();
    if (Result::Failed(hr))
        return hr;
    return AFileModule::End();
}

HRESULT AExportToXLS::WriteWorkbook(std::string_view interchangeText, const std::string& path,
                                    UtilityClasses::XML::AUserProgressNotifier* progress)
{
    // The sheets are written from the text a run of items at a time; the scan that finds
    // the runs takes an eighth of their time, the shared strings, closing the package and
    // flushing it a sixteenth at the end.
    std::optional<AForwardOnly> forward;
    if (progress)
        forward.emplace(*progress);
    AProgressSteps steps(forward ? &*forward : nullptr, {2, 16, 1});
    const auto scanned = [&steps](unsigned percent) { steps.Notify(percent); };
    if (const auto document = AInterchangeSections::OverRuns(interchangeText, scanned)) {
        steps.Next();
        const HRESULT hr = WritePackage(*document, path, steps);
        if (!document->Failed())
            return hr;
    }
    // What the scan cannot follow, or a run that does not parse alone: the whole tree
    // decides, as the parser sees the text. The bar does not go back meanwhile.
    AProgressSteps again(forward ? &*forward : nullptr, {2, 16, 1});
    UtilityClasses::XML::ADocument document;
    if (!UtilityClasses::XML::ParseDocument(document, interchangeText).Ok())
        return Result::kFail;
    const UtilityClasses::XML::AElement* root = document.RootElement();
    if (!root || root->Name() != "fendral")
        return Result::kFail;
    again.Next();
    return WritePackage(AInterchangeSections(*root), path, again);
}

}  // namespace ExportImport::FileTypeExcel
