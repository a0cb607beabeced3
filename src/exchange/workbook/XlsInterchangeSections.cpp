#include "exchange/workbook/XlsInterchangeSections.h"

#include "exchange/xml/xmlNodes.h"
#include "exchange/xml/xmlReader.h"

#include <algorithm>
#include <array>

namespace ExportImport::FileTypeExcel {

namespace XML = UtilityClasses::XML;
using XML::AElement;

namespace {

// The sections whose items are read a run at a time; the rest of the root is small.
constexpr std::array<XML::ASectionNames, 6> kRunSections = {{
    {"currencies", "currency"},
    {"rates", "rate"},
    {"accounts", "account"},
    {"classifiers", "classifier"},
    {"transactions", "transaction"},
    {"account-plans", "account-plan"},
}};
// Items parsed together: a run's tree stays small whatever the size of the document.
constexpr std::size_t kItemsPerRun = 256;

// Moves the elements of a stretch of the root's content under the root; false when the
// stretch does not parse.
bool AppendElements(XML::AElement& root, std::string_view content)
{
    XML::ADocument document;
    if (!XML::ParseDocument(document, content).Ok())
        return false;
    while (XML::AElement* element = document.FirstElement())
        root.Append(document.Remove(element));
    return true;
}

}  // namespace

AInterchangeSections::AInterchangeSections(const AElement& root) : root_(&root) {}
AInterchangeSections::AInterchangeSections(AInterchangeSections&&) noexcept = default;
AInterchangeSections& AInterchangeSections::operator=(AInterchangeSections&&) noexcept = default;
AInterchangeSections::~AInterchangeSections() = default;

std::optional<AInterchangeSections> AInterchangeSections::OverRuns(std::string_view text,
                                                                   const std::function<void(unsigned)>& scanned)
{
    const auto runFound = [&](std::size_t offset) {
        if (scanned && !text.empty())
            scanned(static_cast<unsigned>(offset * 100 / text.size()));
    };
    const auto layout = XML::ScanDocumentLayout(text, "fendral", kRunSections, kItemsPerRun, runFound);
    if (!layout || !layout->rootStartTag)
        return std::nullopt;
    // Before the root, nothing but what is no element; after it, anything well formed.
    XML::ADocument outside;
    if (!XML::ParseDocument(outside, layout->others.front().In(text)).Ok() || outside.FirstElement() ||
        !XML::ParseDocument(outside, layout->others.back().In(text)).Ok())
        return std::nullopt;

    AInterchangeSections sections;
    sections.text_ = text;
    sections.ownRoot_ = XML::StartTagElement(layout->rootStartTag->In(text));
    if (!sections.ownRoot_)
        return std::nullopt;
    AElement& root = *sections.ownRoot_->ToElement();
    sections.root_ = &root;
    // The root's content: the stretches between the sections, each section without its items.
    const auto& between = layout->others;
    for (std::size_t i = 0; i < layout->sections.size(); ++i) {
        std::unique_ptr<XML::ANode> section = XML::StartTagElement(layout->sections[i].startTag.In(text));
        if (!section || !AppendElements(root, between[i + 1].In(text)))
            return std::nullopt;
        root.Append(std::move(section));
    }
    if (between.size() > 2 && !AppendElements(root, between[between.size() - 2].In(text)))
        return std::nullopt;

    // The sheets walk the runs of the first section of each kind that has items; every
    // other run must still parse, as it would in the whole tree.
    sections.firstRuns_.resize(kRunSections.size());
    for (std::size_t kind = 0; kind < kRunSections.size(); ++kind) {
        const auto first = std::find_if(layout->sections.begin(), layout->sections.end(),
                                        [&](const auto& section) { return section.kind == kind; });
        const auto firstIndex = static_cast<std::size_t>(first - layout->sections.begin());
        for (const auto& run : layout->runs[kind])
            if (run.section == firstIndex)
                sections.firstRuns_[kind].push_back(run);
            else if (!XML::ParseDocument(outside, run.text.In(text)).Ok())
                return std::nullopt;
        if (sections.ItemCount(kRunSections[kind].section, kRunSections[kind].item) == 0) {
            for (const auto& run : sections.firstRuns_[kind])
                if (!XML::ParseDocument(outside, run.text.In(text)).Ok())
                    return std::nullopt;
            sections.firstRuns_[kind].clear();
        }
    }
    return sections;
}

const std::vector<XML::ADocumentLayout::ARun>* AInterchangeSections::RunsOf(std::string_view section,
                                                                           std::string_view item) const
{
    if (firstRuns_.empty())
        return nullptr;
    for (std::size_t kind = 0; kind < kRunSections.size(); ++kind)
        if (kRunSections[kind].section == section && kRunSections[kind].item == item)
            return &firstRuns_[kind];
    return nullptr;
}

void AInterchangeSections::ForEachItem(std::string_view section, std::string_view item,
                                       const std::function<void(const AElement&)>& visit) const
{
    const auto visitChildren = [&](const XML::ANodeContainer& parent) {
        for (const AElement* child = parent.FirstElement(item); child;
             child = XML::ANodeContainer::NextElement(child, item))
            visit(*child);
    };
    const auto* runs = RunsOf(section, item);
    if (!runs) {
        if (const AElement* parent = root_->FirstElement(section))
            visitChildren(*parent);
        return;
    }
    for (const auto& run : *runs) {
        XML::ADocument document;
        if (failed_ || !XML::ParseDocument(document, run.text.In(text_)).Ok()) {
            failed_ = true;
            return;
        }
        visitChildren(document);
    }
}

std::size_t AInterchangeSections::ItemCount(std::string_view section, std::string_view item) const
{
    std::size_t count = 0;
    if (const auto* runs = RunsOf(section, item))
        for (const auto& run : *runs)
            count += run.items;
    else
        ForEachItem(section, item, [&](const AElement&) { ++count; });
    return count;
}

}  // namespace ExportImport::FileTypeExcel
