#include "exchange/workbook/XlsInterchangeWriter.h"

#include "exchange/xml/xmlNodes.h"
#include "exchange/xml/xmlWriter.h"

namespace ExportImport::FileTypeExcel {

using UtilityClasses::XML::AElement;
using UtilityClasses::XML::ANode;
using UtilityClasses::XML::ToText;

namespace {

void AppendStartTag(std::string& text, const AElement& element)
{
    text += '<';
    text += element.Name();
    element.PrintAttributes(text);
    text += '>';
}

void AppendEndTag(std::string& text, const AElement& element)
{
    text += "</";
    text += element.Name();
    text += '>';
}

}  // namespace

void AInterchangeWriter::WriteChildrenOf(AElement& parent)
{
    while (ANode* child = parent.FirstChild()) {
        text_ += ToText(*child);
        parent.Remove(child);
    }
}

void AInterchangeWriter::CloseOpenSection()
{
    if (!open_)
        return;
    WriteChildrenOf(*open_);
    AppendEndTag(text_, *open_);
    root_.Remove(open_);
    open_ = nullptr;
}

void AInterchangeWriter::WriteItems(AElement& section)
{
    if (!started_) {
        // The nodes before the root (the declaration), then the root's start tag.
        for (ANode* node = document_.FirstChild(); node && node != &root_; node = document_.FirstChild()) {
            text_ += ToText(*node);
            document_.Remove(node);
        }
        AppendStartTag(text_, root_);
        started_ = true;
    }
    if (open_ != &section) {
        CloseOpenSection();
        for (ANode* node = root_.FirstChild(); node && node != &section; node = root_.FirstChild()) {
            text_ += ToText(*node);
            root_.Remove(node);
        }
        AppendStartTag(text_, section);
        open_ = &section;
    }
    WriteChildrenOf(section);
}

std::string AInterchangeWriter::Finish()
{
    if (!started_) {
        text_ = ToText(document_);
    } else {
        CloseOpenSection();
        WriteChildrenOf(root_);
        AppendEndTag(text_, root_);
    }
    document_.Clear();
    return std::move(text_);
}

}  // namespace ExportImport::FileTypeExcel
