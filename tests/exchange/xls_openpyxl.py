"""Independent reading and writing of workbooks for the workbook tests (openpyxl).

dump PATH   prints every cell that holds a value: sheet, coordinate, Python type, value
write PATH  writes a workbook the way a spreadsheet program does: shared strings (one
            of them with rich text runs), numbers as numbers, dates as serials, a
            column of the user's own and the sheets in another order
"""
import re
import sys
import zipfile

import openpyxl


def dump(path):
    book = openpyxl.load_workbook(path)
    print("sheets\t" + "|".join(book.sheetnames))
    for sheet in book.worksheets:
        for row in sheet.iter_rows():
            for cell in row:
                if cell.value is None:
                    continue
                value = cell.value
                shown = repr(value) if isinstance(value, float) else value
                print("%s\t%s\t%s\t%s\t%s" % (sheet.title, cell.coordinate, type(value).__name__,
                                              cell.number_format, shown))


def write(path):
    book = openpyxl.Workbook()
    accounts = book.active
    accounts.title = "Accounts"
    accounts.append(["Name", "My notes", "Currency", "Initial balance", "Locked"])
    accounts.append(["RICH", "anything", "RUR", 1.5, None])
    accounts.append(["Card", None, "RUR", 1e-4, "+"])
    accounts.append(["Cash", None, "RUR", -0.0, None])
    accounts.append(["Big", None, "RUR", 1234567.25, None])
    accounts.append(["Tiny", None, "RUR", 5e-05, None])  # written "5e-05"
    currencies = book.create_sheet("Currencies")
    currencies.append(["Code", "Name", "Precision"])
    currencies.append(["RUR", "Roubles", 2])
    rates = book.create_sheet("Rates", 0)
    rates.append(["Date", "Currency 1", "Amount 1", "Currency 2", "Amount 2"])
    rates.append(["RUR", None, None, None, None])
    rates["A2"] = 39814  # 2009-01-01 as a serial
    rates["B2"] = "RUR"
    rates["C2"] = 1
    rates["D2"] = "RUR"
    rates["E2"] = 2.5E1
    book.save(path)
    to_shared_strings(path, keep_inline="Currencies")


SST_TYPE = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings"
SST_CONTENT = "application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"
INLINE = re.compile(r'<c r="([A-Z]+[0-9]+)"([^>]*) t="inlineStr"([^>]*)><is><t>([^<]*)</t></is></c>')


def to_shared_strings(path, keep_inline):
    """This openpyxl writes text as inline strings; spreadsheet programs write a
    shared-string table. Moves the text of every sheet but one there, and gives the
    text "RICH" rich text runs as spreadsheet programs write them."""
    with zipfile.ZipFile(path) as source:
        parts = {name: source.read(name).decode("utf-8") for name in source.namelist()}
    book = openpyxl.load_workbook(path)
    kept = "xl/worksheets/sheet%d.xml" % (book.sheetnames.index(keep_inline) + 1)
    strings = []

    def shared(match):
        strings.append(match.group(4))
        return '<c r="%s"%s t="s"%s><v>%d</v></c>' % (match.group(1), match.group(2), match.group(3),
                                                      len(strings) - 1)

    for name in list(parts):
        if name.startswith("xl/worksheets/sheet") and name != kept:
            parts[name] = INLINE.sub(shared, parts[name])
    items = []
    for text in strings:
        if text == "RICH":
            items.append("<si><r><rPr><b/></rPr><t>Ri</t></r><r><t xml:space=\"preserve\">ch </t></r>"
                         "<r><t>one</t></r></si>")
        else:
            items.append("<si><t>%s</t></si>" % text)
    parts["xl/sharedStrings.xml"] = ('<sst xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" '
                                     'count="%d" uniqueCount="%d">%s</sst>' % (len(items), len(items),
                                                                               "".join(items)))
    parts["xl/_rels/workbook.xml.rels"] = parts["xl/_rels/workbook.xml.rels"].replace(
        "</Relationships>",
        '<Relationship Type="%s" Target="sharedStrings.xml" Id="rId99"/></Relationships>' % SST_TYPE)
    parts["[Content_Types].xml"] = parts["[Content_Types].xml"].replace(
        "</Types>", '<Override PartName="/xl/sharedStrings.xml" ContentType="%s"/></Types>' % SST_CONTENT)
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as target:
        for name, data in parts.items():
            target.writestr(name, data.encode("utf-8"))


if __name__ == "__main__":
    {"dump": dump, "write": write}[sys.argv[1]](sys.argv[2])
