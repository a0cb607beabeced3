// The interchange document as the worksheets read it: the root with what is small
// (the export options, unknown elements), and the items of each section. Over a text
// cut into runs (xmlDocumentLayout.h) the items are parsed a run at a time while a sheet
// walks them and dropped after it, so no tree of the whole document is ever built; over
// a whole tree they are its elements.
#pragma once
#include "exchange/xml/xmlDocumentLayout.h"
#include "exchange/xml/xmlForward.h"

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace ExportImport::FileTypeExcel {

class AInterchangeSections {
public:
    // The sections of the text under its root `fendral`. Nothing when the scan cannot
    // follow the text, or a part outside the runs does not parse on its own, or the
    // first element is no `fendral`: the whole tree then decides what the text is.
    // `scanned` hears how far into the text the scan has come.
    static std::optional<AInterchangeSections> OverRuns(std::string_view text,
                                                        const std::function<void(unsigned percent)>& scanned = {});
    // Over the root of a whole tree, which must outlive this.
    explicit AInterchangeSections(const UtilityClasses::XML::AElement& root);

    AInterchangeSections(AInterchangeSections&&) noexcept;
    AInterchangeSections& operator=(AInterchangeSections&&) noexcept;
    ~AInterchangeSections();

    // The root: over runs, its sections are there without their items.
    const UtilityClasses::XML::AElement& Root() const { return *root_; }

    // Calls visit(item) for each child element named `item` (any, when empty) of the
    // first child `section` of the root. A run that does not parse ends the walk and
    // leaves the sections failed.
    void ForEachItem(std::string_view section, std::string_view item,
                     const std::function<void(const UtilityClasses::XML::AElement&)>& visit) const;
    std::size_t ItemCount(std::string_view section, std::string_view item) const;
    // Some run did not parse: what was written from these sections is incomplete.
    bool Failed() const { return failed_; }

private:
    AInterchangeSections() = default;
    // The runs of the first section of the kind of `section` with `item`; null when the
    // section's items are in the tree.
    const std::vector<UtilityClasses::XML::ADocumentLayout::ARun>* RunsOf(std::string_view section,
                                                                         std::string_view item) const;

    std::string_view text_;
    std::unique_ptr<UtilityClasses::XML::ANode> ownRoot_;
    const UtilityClasses::XML::AElement* root_ = nullptr;
    // By kind: the runs of the first section of each kind (later ones are not read).
    std::vector<std::vector<UtilityClasses::XML::ADocumentLayout::ARun>> firstRuns_;
    mutable bool failed_ = false;
};

}  // namespace ExportImport::FileTypeExcel
