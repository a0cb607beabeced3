// The interchange text of an imported workbook, written while the sheets are read: items
// that no later sheet changes are written out and dropped from the document as they
// come, so that the document never holds the largest sheet's items all at once.
#pragma once
#include <string>

namespace UtilityClasses::XML {
class ADocument;
class AElement;
}  // namespace UtilityClasses::XML

namespace ExportImport::FileTypeExcel {

class AInterchangeWriter {
public:
    // `root` is the document's root element; nothing may follow it in the document.
    AInterchangeWriter(UtilityClasses::XML::ADocument& document, UtilityClasses::XML::AElement& root)
        : document_(document), root_(root)
    {
    }

    // Writes the section's items so far, and before them whatever precedes the section
    // under the root, which must be final; all of that leaves the document.
    void WriteItems(UtilityClasses::XML::AElement& section);
    // The whole text: what was written, then the rest of the document. The document is
    // left empty.
    std::string Finish();

private:
    void WriteChildrenOf(UtilityClasses::XML::AElement& parent);
    void CloseOpenSection();

    UtilityClasses::XML::ADocument& document_;
    UtilityClasses::XML::AElement& root_;
    std::string text_;
    bool started_ = false;
    UtilityClasses::XML::AElement* open_ = nullptr;  // the section whose start tag is written
};

}  // namespace ExportImport::FileTypeExcel
