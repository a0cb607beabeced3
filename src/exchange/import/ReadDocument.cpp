#include "exchange/import/ReadDocument.h"

#include "exchange/import/ImportItemReaders.h"
#include "exchange/import/ImportProgress.h"
#include "exchange/xml/xmlDocumentLayout.h"
#include "exchange/xml/xmlNodes.h"
#include "exchange/xml/xmlReader.h"

#include <array>
#include <span>

namespace ExportImport {

namespace {

namespace XML = UtilityClasses::XML;
namespace Streams = UtilityClasses::Streams;
using Private::AImportReadContext;

// The sections in the order they are read: section name, item name, reader.
struct ASection {
    std::string_view section;
    std::string_view item;
    void (*read)(AImportReadContext&, const XML::AElement&);
};
constexpr std::array<ASection, 5> kSections = {{
    {"currencies", "currency", Private::ReadCurrencyItem},
    {"rates", "rate", Private::ReadRateItem},
    {"accounts", "account", Private::ReadAccountItem},
    {"classifiers", "classifier", Private::ReadClassifierItem},
    {"transactions", "transaction", Private::ReadTransactionItem},
}};

// A module's stream holding more than this is refused rather than read into memory.
constexpr std::uint64_t kMaxDocumentSize = std::uint64_t{1} << 31;
// Items parsed together: a run's tree stays small whatever the size of the document.
constexpr std::size_t kItemsPerRun = 256;
constexpr std::uint32_t kReadBlock = 1 << 20;

const XML::AElement* FendralRoot(const XML::ADocument& document)
{
    for (const XML::ANode& node : document.Children())
        if (const XML::AElement* element = node.ToElement(); element && element->Name() == "fendral")
            return element;
    return nullptr;
}

// Calls fn(item) for every item of the section in every occurrence of the section.
template <class Fn>
void ForEachItem(const XML::AElement& root, const ASection& section, Fn fn)
{
    for (const XML::AElement* part = root.FirstElement(section.section); part;
         part = XML::ANodeContainer::NextElement(part, section.section))
        for (const XML::AElement* item = part->FirstElement(section.item); item;
             item = XML::ANodeContainer::NextElement(item, section.item))
            fn(*item);
}

void ShowStatus(const AImportEnvironment& environment, std::u16string_view suffix)
{
    if (environment.progress) {
        std::u16string text(environment.strings.Text(ImportText::kImportCaption));
        text += suffix;
        environment.progress->SetCaption(text);
    }
}

// Hands the items to their readers kind by kind, with the status line and the progress.
class AItemDispatch {
public:
    AItemDispatch(const AImportEnvironment& environment, AImportBatch& batch, AImportMessages& messages,
                  std::size_t total)
        : environment_(environment),
          dataFileIndex_(environment.dataFile),
          context_{environment.strings, messages, batch, environment.dataFile, dataFileIndex_},
          progress_(environment.progress, total)
    {
    }
    AItemDispatch(const AItemDispatch&) = delete;
    AItemDispatch& operator=(const AItemDispatch&) = delete;

    void BeginKind(std::size_t kind)
    {
        kind_ = kind;
        ShowStatus(environment_, environment_.strings.Text(ImportText::kSectionCurrencies + static_cast<int>(kind)));
    }
    void Read(const XML::AElement& item)
    {
        kSections[kind_].read(context_, item);
        progress_.Advance();
    }
    void Finish() { ShowStatus(environment_, u"."); }

private:
    const AImportEnvironment& environment_;
    Private::ADataFileIndex dataFileIndex_;
    AImportReadContext context_;
    Private::AItemProgress progress_;
    std::size_t kind_ = 0;
};

// The total of the counts; none (after the error) when there is nothing to import.
std::optional<std::size_t> ItemTotal(const AImportEnvironment& environment, std::span<const std::size_t> counts,
                                     AImportMessages& messages)
{
    std::size_t total = 0;
    for (const std::size_t count : counts)
        total += count;
    if (total != 0)
        return total;
    messages.AddError(ImportText::kNothingToImport.Resolve(environment.strings));
    return std::nullopt;
}

// The whole stream, from its start, with progress by bytes.
HRESULT ReadWhole(Streams::IStream& stream, XML::AUserProgressNotifier* notifier, std::string& text)
{
    std::uint64_t size = 0;
    HRESULT hr = stream.Seek(0, Streams::ESeekOrigin::End, &size);
    if (Result::Succeeded(hr))
        hr = stream.Seek(0, Streams::ESeekOrigin::Set, nullptr);
    if (Result::Failed(hr))
        return hr;
    if (size > kMaxDocumentSize)
        return Result::kOutOfMemory;
    // One byte more than the size said, to see the end of the stream without growing.
    text.resize(static_cast<std::size_t>(size) + 1);
    std::size_t filled = 0;
    for (;;) {
        if (filled == text.size()) {
            // A stream may hold more than its size said; it is still bounded.
            if (text.size() > kMaxDocumentSize)
                return Result::kOutOfMemory;
            text.resize(text.size() + kReadBlock);
        }
        const auto room = static_cast<std::uint32_t>(std::min<std::size_t>(text.size() - filled, kReadBlock));
        std::uint32_t got = 0;
        hr = stream.Read(text.data() + filled, room, &got);
        if (Result::Failed(hr))
            return hr;
        if (got == 0)
            break;
        filled += std::min(got, room);
        if (notifier && size > 0)
            notifier->Notify(static_cast<unsigned>(std::min<std::uint64_t>(filled * 100 / size, 100)));
    }
    text.resize(filled);
    return Result::kOk;
}

// The read phase over the document's runs of items (xmlDocumentLayout.h). Nothing when
// some part does not parse on its own: the caller then parses the text whole, which
// tells exactly what is wrong, and throws away what was read here.
std::optional<bool> ReadRuns(const AImportEnvironment& environment, std::string_view text,
                             const XML::ADocumentLayout& layout, AImportBatch& batch, AImportMessages& messages)
{
    for (const XML::ATextRange& other : layout.others) {
        XML::ADocument document;
        if (!XML::ParseDocument(document, other.In(text)).Ok())
            return std::nullopt;
    }
    std::unique_ptr<XML::ANode> root;
    if (layout.rootStartTag && !(root = XML::StartTagElement(layout.rootStartTag->In(text))))
        return std::nullopt;
    std::vector<XML::AElement*> sections;
    for (const auto& section : layout.sections) {
        std::unique_ptr<XML::ANode> element = XML::StartTagElement(section.startTag.In(text));
        if (!element)
            return std::nullopt;
        sections.push_back(root->ToElement()->Append(std::move(element))->ToElement());
    }
    const auto total = ItemTotal(environment, layout.itemCounts, messages);
    if (!total)
        return false;
    AItemDispatch dispatch(environment, batch, messages, *total);
    for (std::size_t kind = 0; kind < kSections.size(); ++kind) {
        dispatch.BeginKind(kind);
        for (const auto& run : layout.runs[kind]) {
            XML::ADocument document;
            if (!XML::ParseDocument(document, run.text.In(text)).Ok())
                return std::nullopt;
            XML::AElement* section = sections[run.section];
            while (XML::AElement* item = document.FirstElement(kSections[kind].item)) {
                // Under its section, so that messages find the `ref` of every ancestor.
                XML::ANode* placed = section->Append(document.Remove(item));
                dispatch.Read(*placed->ToElement());
                section->Remove(placed);
            }
        }
    }
    dispatch.Finish();
    return true;
}

}  // namespace

bool ReadInterchangeDocument(const AImportEnvironment& environment, const XML::ADocument& document,
                             AImportBatch& batch, AImportMessages& messages)
{
    const XML::AElement* root = FendralRoot(document);
    std::array<std::size_t, kSections.size()> counts{};
    if (root)
        for (std::size_t i = 0; i < kSections.size(); ++i)
            ForEachItem(*root, kSections[i], [&](const XML::AElement&) { ++counts[i]; });
    const auto total = ItemTotal(environment, counts, messages);
    if (!total)
        return false;
    AItemDispatch dispatch(environment, batch, messages, *total);
    for (std::size_t kind = 0; kind < kSections.size(); ++kind) {
        dispatch.BeginKind(kind);
        ForEachItem(*root, kSections[kind], [&](const XML::AElement& item) { dispatch.Read(item); });
    }
    dispatch.Finish();
    return true;
}

bool ReadInterchange(const AImportEnvironment& environment, Streams::IStream& stream, AImportBatch& batch,
                     AImportMessages& messages)
{
    // Reading the text takes about as long as checking the items.
    if (environment.progress)
        environment.progress->LoadSteps({1, 1});
    std::string text;
    if (Result::Failed(ReadWhole(stream, environment.progress, text))) {
        messages.AddError(ImportText::kUnknownModuleError.Resolve(environment.strings));
        return false;
    }
    if (environment.progress)
        environment.progress->NextStep();

    std::array<XML::ASectionNames, kSections.size()> names;
    for (std::size_t i = 0; i < kSections.size(); ++i)
        names[i] = {kSections[i].section, kSections[i].item};
    const std::size_t before = messages.All().size();
    const auto stillAtWork = [&](std::size_t) {
        if (environment.progress)
            environment.progress->Notify(0);
    };
    if (const auto layout = XML::ScanDocumentLayout(text, "fendral", names, kItemsPerRun, stillAtWork))
        if (const auto read = ReadRuns(environment, text, *layout, batch, messages))
            return *read;
    batch.Reset();
    messages.KeepFirst(before);

    XML::ADocument document;
    const XML::AParseResult parsed = XML::ParseDocument(document, text);
    if (parsed.code != 0) {
        messages.AddError(
            environment.strings.Format(ImportText::kParseErrorId, {parsed.code, parsed.line, parsed.column}));
        return false;
    }
    std::string().swap(text);  // the tree holds what is needed from here on
    return ReadInterchangeDocument(environment, document, batch, messages);
}

}  // namespace ExportImport
