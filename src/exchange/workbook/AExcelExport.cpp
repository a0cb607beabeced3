#include "exchange/workbook/AExcel.h"

#include "core/AtomicFile.h"
#include "core/CodePage.h"
#include "exchange/workbook/XlsPackage.h"
#include "exchange/workbook/XlsProgress.h"
#include "exchange/workbook/XlsZip.h"
#include "exchange/xml/xmlNodes.h"
#include "exchange/xml/xmlReader.h"

#include <algorithm>
#include <functional>

namespace ExportImport::FileTypeExcel {

using UtilityClasses::Streams::AMemoryStream;

namespace {

// Freeing the tree of a large document takes as long as packing a sheet: it goes item by
// item (the elements two levels below the root), telling the share of elements freed,
// so that the bar goes on moving meanwhile.
void FreeByItems(UtilityClasses::XML::ADocument& document, const std::function<void(unsigned)>& share)
{
    const std::size_t total = std::max<std::size_t>(document.ElementCount(), 1);
    std::size_t freed = 0;
    std::size_t items = 0;
    while (UtilityClasses::XML::ANode* top = document.FirstChild()) {
        if (UtilityClasses::XML::AElement* root = top->ToElement())
            while (UtilityClasses::XML::ANode* section = root->FirstChild()) {
                if (UtilityClasses::XML::AElement* content = section->ToElement())
                    while (UtilityClasses::XML::ANode* item = content->FirstChild()) {
                        freed += item->ToElement() ? item->ToElement()->ElementCount() + 1 : 0;
                        content->Remove(item);
                        if (++items % 256 == 0)
                            share(static_cast<unsigned>(std::min<std::size_t>(freed * 100 / total, 100)));
                    }
                root->Remove(section);
            }
        document.Remove(top);
    }
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
    HRESULT hr = text_->Seek(0, UtilityClasses::Streams::ESeekOrigin::Set, nullptr);
    if (Result::Succeeded(hr))
        hr = WriteWorkbook(*text_, text_->Bytes().size(), UtilityClasses::Strings::Utf16ToUtf8(FileName()), &progress);
    text_.Reset();
    if (Result::Failed(hr))
        return hr;
    return AFileModule::End();
}

HRESULT AExportToXLS::WriteWorkbook(std::string_view interchangeText, const std::string& path,
                                    UtilityClasses::XML::AUserProgressNotifier* progress)
{
    const auto text = AMemoryStream::Create(interchangeText);
    return WriteWorkbook(*text, interchangeText.size(), path, progress);
}

HRESULT AExportToXLS::WriteWorkbook(IStream& interchangeText, std::uint64_t size, const std::string& path,
                                    UtilityClasses::XML::AUserProgressNotifier* progress)
{
    // Reading the text takes about as long as writing the sheets and packing them; the shared
    // strings, closing the package and flushing it take a fifth of that at the end.
    AProgressSteps steps(progress, {5, 5, 2});
    UtilityClasses::XML::ADocument document;
    if (!UtilityClasses::XML::ParseDocument(document, &interchangeText, steps.Get(), size).Ok())
        return Result::kFail;
    const UtilityClasses::XML::AElement* root = document.RootElement();
    if (!root || root->Name() != "fendral")
        return Result::kFail;
    steps.Next();
    const std::vector<AWorksheet> sheets = Worksheets(*root);
    std::vector<unsigned> weights;
    for (const AWorksheet& sheet : sheets)
        weights.push_back(static_cast<unsigned>(std::min<std::size_t>(sheet.items, 1u << 24)));
    AProgressSteps sheetSteps(steps.Get(), weights);

    // Written beside the target and renamed over it, so a failed export leaves an
    // existing workbook as it was.
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
        const std::string part = WorksheetPart(*root, sheets[i], parts.Get());
        parts.Next();
        hr = zip->Add("xl/worksheets/sheet" + std::to_string(i + 1) + ".xml", part, parts.Get());
        sheetSteps.Next();
    }
    steps.Next();
    const auto finishing = [&steps](unsigned percent) {
        if (auto* bar = steps.Get())
            bar->Notify(percent);
    };
    if (Result::Succeeded(hr))
        hr = zip->Add("xl/sharedStrings.xml", SharedStringsPart());
    finishing(40);
    if (Result::Succeeded(hr))
        hr = zip->Add("xl/workbook.xml", WorkbookPart(sheets));
    if (Result::Succeeded(hr))
        hr = zip->Add("xl/_rels/workbook.xml.rels", WorkbookRelationshipsPart(sheets.size()));
    finishing(50);
    const HRESULT closed = zip->Close();
    if (Result::Succeeded(hr))
        hr = closed;
    finishing(80);
    // The zip library wrote through its own handle to the same file; the flush goes by ours.
    if (Result::Succeeded(hr))
        if (const int rc = replacement.Commit())
            hr = Result::FromErrno(rc);
    FreeByItems(document, [&](unsigned share) { finishing(80 + share / 5); });
    steps.Finish();
    return hr;
}

}  // namespace ExportImport::FileTypeExcel
