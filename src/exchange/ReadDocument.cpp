#include "exchange/ReadDocument.h"

#include "exchange/ImportItemReaders.h"
#include "exchange/xmlNodes.h"
#include "exchange/xmlReader.h"

#include <array>

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

// Tells the notifier each whole percent once.
class AItemProgress {
public:
    AItemProgress(XML::AUserProgressNotifier* notifier, std::size_t total) : notifier_(notifier), total_(total) {}
    void Advance()
    {
        if (!notifier_ || total_ == 0)
            return;
        const auto percent = static_cast<unsigned>(++done_ * 100 / total_);
        if (percent != reported_)
            notifier_->Notify(reported_ = percent);
    }

private:
    XML::AUserProgressNotifier* notifier_;
    std::size_t total_;
    std::size_t done_ = 0;
    unsigned reported_ = 0;
};

}  // namespace

bool ReadInterchangeDocument(const AImportEnvironment& environment, const XML::ADocument& document,
                             AImportBatch& batch, AImportMessages& messages)
{
    const XML::AElement* root = FendralRoot(document);
    std::array<std::size_t, kSections.size()> counts{};
    if (root)
        for (std::size_t i = 0; i < kSections.size(); ++i)
            ForEachItem(*root, kSections[i], [&](const XML::AElement&) { ++counts[i]; });
    std::size_t total = 0;
    for (const std::size_t count : counts)
        total += count;
    if (total == 0) {
        messages.AddError(ImportText::kNothingToImport.Resolve(environment.strings));
        return false;
    }

    Private::ADataFileIndex dataFileIndex(environment.dataFile);
    AImportReadContext context{environment.strings, messages, batch, environment.dataFile, dataFileIndex};
    AItemProgress progress(environment.progress, total);
    for (std::size_t i = 0; i < kSections.size(); ++i) {
        ShowStatus(environment, environment.strings.Text(ImportText::kSectionCurrencies + static_cast<int>(i)));
        ForEachItem(*root, kSections[i], [&](const XML::AElement& item) {
            kSections[i].read(context, item);
            progress.Advance();
        });
    }
    ShowStatus(environment, u".");
    batch.Close();
    return true;
}

bool ReadInterchange(const AImportEnvironment& environment, Streams::IStream& stream, AImportBatch& batch,
                     AImportMessages& messages)
{
    std::uint64_t size = 0;
    if (Result::Failed(stream.Seek(0, Streams::ESeekOrigin::End, &size)) ||
        Result::Failed(stream.Seek(0, Streams::ESeekOrigin::Set, nullptr))) {
        messages.AddError(ImportText::kUnknownModuleError.Resolve(environment.strings));
        return false;
    }
    // Parsing takes about as long as checking the items.
    if (environment.progress)
        environment.progress->LoadSteps({1, 1});
    XML::ADocument document;
    const XML::AParseResult parsed = XML::ParseDocument(document, &stream, environment.progress, size);
    // A failed read cuts the text, so the parse error it causes says nothing about the document.
    if (Result::Failed(parsed.streamError)) {
        messages.AddError(ImportText::kUnknownModuleError.Resolve(environment.strings));
        return false;
    }
    if (parsed.code != 0) {
        messages.AddError(environment.strings.Format(ImportText::kParseErrorId, {parsed.code, parsed.line, parsed.column}));
        return false;
    }
    if (environment.progress)
        environment.progress->NextStep();
    return ReadInterchangeDocument(environment, document, batch, messages);
}

}  // namespace ExportImport
