#include "exchange/workbook/XlsPackage.h"

#include "exchange/xml/xmlEscape.h"

#include <string_view>

namespace ExportImport::FileTypeExcel {

namespace {

constexpr std::string_view kDeclaration = "<?xml version='1.0' encoding='UTF-8' standalone='yes'?>";
constexpr std::string_view kRelationshipTypes = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
constexpr std::string_view kMainNamespace = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";

std::string Relationship(std::string_view target, std::string_view type, std::string_view id)
{
    std::string text = "<Relationship Id='";
    text += id;
    text += "' Type='";
    text += kRelationshipTypes;
    text += type;
    text += "' Target='";
    text += target;
    text += "'/>";
    return text;
}

}  // namespace

std::string ContentTypesPart(std::size_t sheetCount)
{
    std::string part(kDeclaration);
    part += "<Types xmlns='http://schemas.openxmlformats.org/package/2006/content-types'>"
            "<Default Extension='rels' ContentType='application/vnd.openxmlformats-package.relationships+xml'/>"
            "<Default Extension='xml' ContentType='application/xml'/>"
            "<Override PartName='/xl/workbook.xml' "
            "ContentType='application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml'/>";
    for (std::size_t i = 1; i <= sheetCount; ++i)
        part += "<Override PartName='/xl/worksheets/sheet" + std::to_string(i) +
                ".xml' ContentType='application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml'/>";
    part += "<Override PartName='/xl/styles.xml' "
            "ContentType='application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml'/>"
            "<Override PartName='/xl/sharedStrings.xml' "
            "ContentType='application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml'/>"
            "</Types>";
    return part;
}

std::string PackageRelationshipsPart()
{
    std::string part(kDeclaration);
    part += "<Relationships xmlns='http://schemas.openxmlformats.org/package/2006/relationships'>";
    part += Relationship("xl/workbook.xml", "officeDocument", "rId1");
    part += "</Relationships>";
    return part;
}

std::string StylesPart()
{
    std::string part(kDeclaration);
    part += "<styleSheet xmlns='";
    part += kMainNamespace;
    part += "'>"
            "<numFmts count='1'><numFmt numFmtId='164' formatCode='#,##0.0000_ ;[Red]\\-#,##0.0000\\ '/></numFmts>"
            "<fonts count='1'><font><sz val='11'/><color theme='1'/><name val='Calibri'/><family val='2'/>"
            "<scheme val='minor'/></font></fonts>"
            "<fills count='2'><fill><patternFill patternType='none'/></fill>"
            "<fill><patternFill patternType='gray125'/></fill></fills>"
            "<borders count='1'><border><left/><right/><top/><bottom/><diagonal/></border></borders>"
            "<cellStyleXfs count='1'><xf numFmtId='0' fontId='0' fillId='0' borderId='0'/></cellStyleXfs>"
            "<cellXfs count='6'>"
            "<xf numFmtId='0' fontId='0' fillId='0' borderId='0' xfId='0'/>"
            "<xf numFmtId='49' fontId='0' fillId='0' borderId='0' xfId='0' applyNumberFormat='1'/>"
            "<xf numFmtId='49' fontId='0' fillId='0' borderId='0' xfId='0' applyNumberFormat='1' "
            "applyAlignment='1'><alignment horizontal='center'/></xf>"
            "<xf numFmtId='164' fontId='0' fillId='0' borderId='0' xfId='0' applyNumberFormat='1'/>"
            "<xf numFmtId='14' fontId='0' fillId='0' borderId='0' xfId='0' applyNumberFormat='1'/>"
            "<xf numFmtId='22' fontId='0' fillId='0' borderId='0' xfId='0' applyNumberFormat='1'/>"
            "</cellXfs>"
            "<cellStyles count='1'><cellStyle name='Normal' xfId='0' builtinId='0'/></cellStyles>"
            "</styleSheet>";
    return part;
}

std::string SharedStringsPart()
{
    std::string part(kDeclaration);
    part += "<sst xmlns='";
    part += kMainNamespace;
    part += "' count='0' uniqueCount='0'/>";
    return part;
}

std::string WorkbookPart(const std::vector<AWorksheet>& sheets)
{
    std::string part(kDeclaration);
    part += "<workbook xmlns='";
    part += kMainNamespace;
    part += "' xmlns:r='http://schemas.openxmlformats.org/officeDocument/2006/relationships'><sheets>";
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const std::string number = std::to_string(i + 1);
        part += "<sheet r:id='rId" + number + "' sheetId='" + number + "' name='";
        UtilityClasses::XML::Implementation::AppendEscaped(part, sheets[i].name);
        part += "'/>";
    }
    part += "</sheets></workbook>";
    return part;
}

std::string WorkbookRelationshipsPart(std::size_t sheetCount)
{
    std::string part(kDeclaration);
    part += "<Relationships xmlns='http://schemas.openxmlformats.org/package/2006/relationships'>";
    for (std::size_t i = 1; i <= sheetCount; ++i)
        part += Relationship("worksheets/sheet" + std::to_string(i) + ".xml", "worksheet", "rId" + std::to_string(i));
    part += Relationship("styles.xml", "styles", "rId" + std::to_string(sheetCount + 1));
    part += Relationship("sharedStrings.xml", "sharedStrings", "rId" + std::to_string(sheetCount + 2));
    part += "</Relationships>";
    return part;
}

}  // namespace ExportImport::FileTypeExcel
