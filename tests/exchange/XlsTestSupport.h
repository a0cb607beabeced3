// Workbooks for the workbook tests: packages made from literal parts, files in a
// temporary folder, and openpyxl run over them.
#pragma once
#include "exchange/workbook/AExcel.h"
#include "exchange/workbook/XlsZip.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace XlsTest {

using namespace ExportImport::FileTypeExcel;

inline std::string TempPath(const std::string& name)
{
    const auto folder = std::filesystem::temp_directory_path() / ("fendral-xls-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

inline std::string ReadBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream content;
    content << file.rdbuf();
    return content.str();
}

inline void WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

using AParts = std::vector<std::pair<std::string, std::string>>;

inline void WritePackage(const std::string& path, const AParts& parts)
{
    auto zip = AZipWriter::Create(path);
    ASSERT_TRUE(zip);
    for (const auto& [name, content] : parts)
        ASSERT_EQ(zip->Add(name, content), Result::kOk);
    ASSERT_EQ(zip->Close(), Result::kOk);
}

// A worksheet part holding the rows; each cell is "ref|attributes|value" written as is.
inline std::string Worksheet(const std::vector<std::vector<std::string>>& rows)
{
    std::string part = "<?xml version='1.0'?><worksheet xmlns='http://schemas.openxmlformats.org/spreadsheetml/2006/main'><sheetData>";
    int number = 0;
    for (const auto& row : rows) {
        part += "<row r='" + std::to_string(++number) + "'>";
        for (const std::string& cell : row) {
            const auto bar1 = cell.find('|');
            const auto bar2 = cell.find('|', bar1 + 1);
            part += "<c r='" + cell.substr(0, bar1) + "'" + cell.substr(bar1 + 1, bar2 - bar1 - 1) + "><v>" +
                    cell.substr(bar2 + 1) + "</v></c>";
        }
        part += "</row>";
    }
    return part + "</sheetData></worksheet>";
}

// A package with the named worksheets (sheet order as given) and optional shared strings.
inline AParts Workbook(const std::vector<std::pair<std::string, std::string>>& sheets,
                       const std::string& sharedStrings = {})
{
    AParts parts;
    std::string workbook = "<workbook xmlns:r='http://schemas.openxmlformats.org/officeDocument/2006/relationships'><sheets>";
    std::string rels = "<Relationships>";
    for (std::size_t i = 0; i < sheets.size(); ++i) {
        const std::string n = std::to_string(i + 1);
        workbook += "<sheet name='" + sheets[i].first + "' sheetId='" + n + "' r:id='rId" + n + "'/>";
        rels += "<Relationship Id='rId" + n + "' Target='worksheets/sheet" + n +
                ".xml' Type='http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet'/>";
        parts.emplace_back("xl/worksheets/sheet" + n + ".xml", sheets[i].second);
    }
    if (!sharedStrings.empty()) {
        rels += "<Relationship Id='rIdS' Target='strings.xml' "
                "Type='http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings'/>";
        parts.emplace_back("xl/strings.xml", sharedStrings);
    }
    parts.emplace_back("xl/workbook.xml", workbook + "</sheets></workbook>");
    parts.emplace_back("xl/_rels/workbook.xml.rels", rels + "</Relationships>");
    return parts;
}

struct TRead {
    bool ok = false;
    std::string text;
    std::vector<std::string> messages;
};

inline TRead ReadWorkbookFile(const std::string& path, std::uint64_t partLimit = AZipReader::kDefaultPartLimit)
{
    TRead read;
    read.ok = AImportFromXLS::ReadWorkbook(
        path, [&](const std::string& message) { read.messages.push_back(message); }, read.text, partLimit);
    return read;
}

inline TRead ReadParts(const AParts& parts, const std::string& name = "book.xlsx")
{
    const std::string path = TempPath(name);
    WritePackage(path, parts);
    return ReadWorkbookFile(path);
}

// The openpyxl helper next to the tests, or empty output when it cannot run.
inline bool HaveOpenpyxl()
{
    return std::system((std::string(FENDRAL_PYTHON) + " -c 'import openpyxl' 2>/dev/null").c_str()) == 0;
}

inline std::string RunOpenpyxl(const std::string& mode, const std::string& path)
{
    const std::string script = std::string(FENDRAL_TEST_DATA) + "/../exchange/xls_openpyxl.py";
    const std::string output = TempPath("openpyxl.out");
    const std::string command = std::string(FENDRAL_PYTHON) + " '" + script + "' " + mode + " '" + path + "' > '" +
                                output + "' 2>&1";
    const int status = std::system(command.c_str());
    const std::string text = ReadBytes(output);
    EXPECT_EQ(status, 0) << text;
    return text;
}

}  // namespace XlsTest
