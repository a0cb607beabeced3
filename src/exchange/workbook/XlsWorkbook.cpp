#include "exchange/workbook/XlsWorkbook.h"

#include "exchange/workbook/XlsCells.h"
#include "exchange/workbook/XlsSheetStream.h"
#include "exchange/xml/xmlNodes.h"
#include "exchange/xml/xmlProgress.h"
#include "exchange/xml/xmlReader.h"

#include <algorithm>
#include <charconv>
#include <map>

namespace ExportImport::FileTypeExcel {

using UtilityClasses::XML::ADocument;
using UtilityClasses::XML::AElement;
using UtilityClasses::XML::ANode;

namespace {

constexpr std::string_view kSharedStringsType =
    "http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings";

// Spreadsheet programs may write the main namespace with a prefix ("x:row").
std::string_view LocalName(std::string_view name)
{
    const auto colon = name.find(':');
    return colon == std::string_view::npos ? name : name.substr(colon + 1);
}

template <class Visit>
void ForEachChild(const AElement& parent, std::string_view localName, Visit visit)
{
    for (const ANode* node = parent.FirstChild(); node; node = node->NextSibling())
        if (const AElement* element = node->ToElement(); element && LocalName(element->Name()) == localName)
            visit(*element);
}

const AElement* Child(const AElement& parent, std::string_view localName)
{
    for (const ANode* node = parent.FirstChild(); node; node = node->NextSibling())
        if (const AElement* element = node->ToElement(); element && LocalName(element->Name()) == localName)
            return element;
    return nullptr;
}

std::string Attribute(const AElement& element, std::string_view name)
{
    const std::string* value = element.FindAttribute(name);
    return value ? *value : std::string();
}

// "r:id" under whatever prefix the writer bound the relationships namespace to.
std::string RelationshipId(const AElement& sheet)
{
    for (std::size_t i = 0; i < sheet.AttributeCount(); ++i) {
        const auto& attribute = sheet.AttributeAt(i);
        if (attribute.Name().find(':') != std::string::npos && LocalName(attribute.Name()) == "id")
            return attribute.Value();
    }
    return {};
}

const AElement* ParsedRoot(ADocument& document, const std::string& text, std::string_view rootName)
{
    if (!UtilityClasses::XML::ParseDocument(document, text).Ok())
        return nullptr;
    const AElement* root = document.RootElement();
    return root && LocalName(root->Name()) == rootName ? root : nullptr;
}

// Package targets are relative to "xl/" unless they begin with "/".
std::string PartName(const std::string& target)
{
    if (!target.empty() && target.front() == '/')
        return target.substr(1);
    return "xl/" + target;
}

// The text runs of a shared string, joined; phonetic hints are not part of the text.
std::string StringItemText(const AElement& item)
{
    std::string text;
    for (const ANode* node = item.FirstChild(); node; node = node->NextSibling()) {
        const AElement* element = node->ToElement();
        if (!element)
            continue;
        if (LocalName(element->Name()) == "t")
            text += element->Text();
        else if (LocalName(element->Name()) == "r")
            if (const AElement* run = Child(*element, "t"))
                text += run->Text();
    }
    return text;
}

std::string Quoted(const std::string& name) { return "\"" + name + "\""; }

// Over items sorted by key (stably), keeps the last of each run of equal keys: a row or
// cell given twice counts as written the last time.
template <class Item, class Key>
void KeepLastOfEach(std::vector<Item>& items, Key key)
{
    std::size_t kept = 0;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i + 1 < items.size() && key(items[i + 1]) == key(items[i]))
            continue;
        if (kept != i)
            items[kept] = std::move(items[i]);
        ++kept;
    }
    items.resize(kept);
}

}  // namespace

const std::string& ASheetRow::Text(int column) const
{
    static const std::string kEmpty;
    const auto found = std::lower_bound(cells.begin(), cells.end(), column,
                                        [](const ASheetCell& cell, int wanted) { return cell.column < wanted; });
    return found != cells.end() && found->column == column ? found->text : kEmpty;
}

std::unique_ptr<AWorkbookReader> AWorkbookReader::Open(const std::string& path, AWorkbookError& error,
                                                       std::uint64_t partLimit)
{
    auto zip = AZipReader::Open(path, partLimit);
    if (!zip) {
        error = AWorkbookError::CannotOpen;
        return nullptr;
    }
    std::unique_ptr<AWorkbookReader> reader(new AWorkbookReader(std::move(zip)));
    if (!reader->ReadWorkbook()) {
        error = AWorkbookError::NoWorkbook;
        return nullptr;
    }
    error = AWorkbookError::None;
    return reader;
}

bool AWorkbookReader::ReadWorkbook()
{
    std::string text;
    if (zip_->Read("xl/workbook.xml", text) != AZipReadError::None)
        return false;
    ADocument workbook;
    const AElement* root = ParsedRoot(workbook, text, "workbook");
    if (!root)
        return false;

    std::map<std::string, std::string> targets;
    std::string sharedStrings;
    if (zip_->Read("xl/_rels/workbook.xml.rels", text) == AZipReadError::None) {
        ADocument relationships;
        if (const AElement* rels = ParsedRoot(relationships, text, "Relationships"))
            ForEachChild(*rels, "Relationship", [&](const AElement& relationship) {
                const std::string target = PartName(Attribute(relationship, "Target"));
                targets[Attribute(relationship, "Id")] = target;
                if (Attribute(relationship, "Type") == kSharedStringsType)
                    sharedStrings = target;
            });
    }
    if (const AElement* sheets = Child(*root, "sheets"))
        ForEachChild(*sheets, "sheet", [&](const AElement& sheet) {
            const auto target = targets.find(RelationshipId(sheet));
            if (target != targets.end())
                sheets_.push_back({Attribute(sheet, "name"), target->second});
        });
    if (!sharedStrings.empty() && zip_->Read(sharedStrings, text) == AZipReadError::None)
        ReadSharedStrings(text);
    return true;
}

void AWorkbookReader::ReadSharedStrings(const std::string& part)
{
    ADocument document;
    const AElement* root = ParsedRoot(document, part, "sst");
    if (!root)
        return;
    ForEachChild(*root, "si", [&](const AElement& item) { sharedStrings_.push_back(StringItemText(item)); });
}

// Shared strings by index, text as written otherwise. Booleans become flags. An inline
// string reads as its text when plain and as empty when made of rich runs, as the
// program that defined the workbook layout read it.
std::string AWorkbookReader::CellText(const AElement& cell) const
{
    const std::string* type = cell.FindAttribute("t");
    const std::string_view kind = type ? std::string_view(*type) : std::string_view("str");
    if (kind == "inlineStr") {
        const AElement* inlineString = Child(cell, "is");
        const AElement* text = inlineString ? Child(*inlineString, "t") : nullptr;
        return text ? text->Text() : std::string();
    }
    const AElement* value = Child(cell, "v");
    if (!value)
        return {};
    if (kind == "str" || kind == "n" || kind == "d")
        return value->Text();
    if (kind == "b")
        return value->Text() == "1" ? "+" : "";
    if (kind == "s") {
        const std::string index = value->Text();
        std::size_t at = 0;
        const auto [end, error] = std::from_chars(index.data(), index.data() + index.size(), at);
        if (error != std::errc() || end != index.data() + index.size() || at >= sharedStrings_.size())
            return {};
        return sharedStrings_[at];
    }
    return {};
}

const ASheetEntry* AWorkbookReader::Find(std::string_view name) const
{
    for (const ASheetEntry& sheet : sheets_)
        if (sheet.name == name)
            return &sheet;
    return nullptr;
}

ASheetProblem AWorkbookReader::PartProblem(const ASheetEntry& sheet, AZipReadError error)
{
    if (error == AZipReadError::TooLarge)
        return {true, "Лист " + Quoted(sheet.name) + " слишком велик."};
    return {true, "Лист " + Quoted(sheet.name) + " не найден или повреждён."};
}

bool AWorkbookReader::ReadRow(const AElement& element, std::int64_t lastRow, const std::string& sheetName,
                              std::vector<ASheetProblem>& problems, bool& outOfOrder, ASheetRow& row) const
{
    const std::string number = Attribute(element, "r");
    if (number.empty()) {
        row.number = lastRow + 1;
    } else {
        const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), row.number);
        if (error != std::errc() || end != number.data() + number.size() || row.number < 1 || row.number > kMaxRow) {
            problems.push_back({false, "Неверный номер строки '" + number + "', Лист " + Quoted(sheetName) + "."});
            return false;
        }
    }
    outOfOrder = outOfOrder || row.number <= lastRow;
    int lastColumn = 0;
    ForEachChild(element, "c", [&](const AElement& cell) {
        int column = lastColumn + 1;
        const std::string reference = Attribute(cell, "r");
        if (!reference.empty()) {
            const auto position = ParseCellReference(reference);
            if (!position || position->row != row.number) {
                problems.push_back({false, "Неверная ссылка на ячейку '" + reference + "', Лист " + Quoted(sheetName) + "."});
                return;
            }
            column = position->column;
        }
        if (column > kMaxColumn)
            return;
        outOfOrder = outOfOrder || column <= lastColumn;
        lastColumn = column;
        row.cells.push_back({column, CellText(cell)});
    });
    std::stable_sort(row.cells.begin(), row.cells.end(),
                     [](const ASheetCell& a, const ASheetCell& b) { return a.column < b.column; });
    KeepLastOfEach(row.cells, [](const ASheetCell& cell) { return cell.column; });
    return true;
}

std::vector<ASheetRow> AWorkbookReader::ReadSheet(const ASheetEntry& sheet, std::vector<ASheetProblem>& problems)
{
    std::string text;
    if (const AZipReadError error = zip_->Read(sheet.part, text); error != AZipReadError::None) {
        problems.push_back(PartProblem(sheet, error));
        return {};
    }
    ADocument document;
    const auto parsed = UtilityClasses::XML::ParseDocument(document, text);
    text = std::string();
    if (!parsed.Ok()) {
        problems.push_back({true, "Ошибка в XML: код " + std::to_string(parsed.code) + ", строка " +
                                      std::to_string(parsed.line) + ", столбец " + std::to_string(parsed.column) +
                                      " (Лист " + Quoted(sheet.name) + ")."});
        return {};
    }
    const AElement* root = document.RootElement();
    const AElement* data = root && LocalName(root->Name()) == "worksheet" ? Child(*root, "sheetData") : nullptr;
    if (!data)
        return {};

    std::vector<ASheetRow> rows;
    bool outOfOrder = false;
    std::int64_t lastRow = 0;
    ForEachChild(*data, "row", [&](const AElement& element) {
        ASheetRow row;
        if (!ReadRow(element, lastRow, sheet.name, problems, outOfOrder, row))
            return;
        lastRow = row.number;
        rows.push_back(std::move(row));
    });
    if (outOfOrder)
        problems.push_back({false, "Строки или ячейки листа " + Quoted(sheet.name) + " записаны не по порядку."});
    std::stable_sort(rows.begin(), rows.end(), [](const ASheetRow& a, const ASheetRow& b) { return a.number < b.number; });
    KeepLastOfEach(rows, [](const ASheetRow& row) { return row.number; });
    return rows;
}

bool AWorkbookReader::StreamSheet(const ASheetEntry& sheet, std::vector<ASheetProblem>& problems,
                                  const std::function<void(const ASheetRow&)>& take,
                                  UtilityClasses::XML::AUserProgressNotifier* progress)
{
    if (const AZipReadError error = zip_->OpenPart(sheet.part); error != AZipReadError::None) {
        problems.push_back(PartProblem(sheet, error));
        return true;
    }
    AWorksheetStream stream(*zip_);
    std::string run;
    bool outOfOrder = false;
    std::int64_t lastRow = 0;
    for (AWorksheetStream::AStep step; (step = stream.Next(run)) != AWorksheetStream::AStep::End;) {
        if (step != AWorksheetStream::AStep::Run)
            return false;
        if (progress && zip_->PartDeclared() > 0)
            progress->Notify(static_cast<unsigned>(std::min<std::uint64_t>(zip_->PartRead() * 100 / zip_->PartDeclared(), 100)));
        ADocument document;
        if (!UtilityClasses::XML::ParseDocument(document, run).Ok())
            return false;
        for (const ANode* node = document.FirstChild(); node; node = node->NextSibling()) {
            const AElement* element = node->ToElement();
            if (!element || LocalName(element->Name()) != "row")
                continue;
            ASheetRow row;
            if (!ReadRow(*element, lastRow, sheet.name, problems, outOfOrder, row))
                continue;
            if (row.number <= lastRow)
                return false;  // only a sorting read puts the rows in place
            lastRow = row.number;
            take(row);
        }
    }
    // The worksheet around the rows must be well-formed too, and the rows must have been
    // its sheet data's.
    ADocument skeleton;
    const AElement* root = ParsedRoot(skeleton, stream.Skeleton(), "worksheet");
    if (!root || !Child(*root, "sheetData"))
        return false;
    if (outOfOrder)
        problems.push_back({false, "Строки или ячейки листа " + Quoted(sheet.name) + " записаны не по порядку."});
    return true;
}

}  // namespace ExportImport::FileTypeExcel
