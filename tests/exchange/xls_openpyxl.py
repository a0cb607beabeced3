"""Independent reading and writing of workbooks for the workbook tests (openpyxl).

dump PATH   prints every cell that holds a value: sheet, coordinate, Python type, value
write PATH  writes a workbook the way a spreadsheet program does: shared strings (one
            of them with rich text runs), numbers as numbers, dates as serials, a
            column of the user's own and the sheets in another order
"""
import datetime
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
    # openpyxl writes plain shared strings only; give the one "RICH" text runs as
    # spreadsheet programs write them.
    with zipfile.ZipFile(path) as source:
        parts = {name: source.read(name) for name in source.namelist()}
    strings = parts["xl/sharedStrings.xml"].decode("utf-8")
    rich = "<si><r><rPr><b/></rPr><t>Ri</t></r><r><t xml:space=\"preserve\">ch </t></r><r><t>one</t></r></si>"
    strings = strings.replace("<si><t>RICH</t></si>", rich)
    assert rich in strings, strings
    parts["xl/sharedStrings.xml"] = strings.encode("utf-8")
    with zipfile.ZipFile(path, "w", zipfile.ZIP_DEFLATED) as target:
        for name, data in parts.items():
            target.writestr(name, data)


if __name__ == "__main__":
    {"dump": dump, "write": write}[sys.argv[1]](sys.argv[2])
