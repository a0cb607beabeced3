// Data files the CLI tests feed to the program, made through the model's own API,
// and what the tests expect to read back.
#pragma once

#include "cli/CliRunner.h"

#include "core/AStrings.h"
#include "core/CodePage.h"
#include "core/LocaleInfo.h"
#include "database/Database.h"
#include "support/DataFiles.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <string>

namespace CliTest {

using Database::ADatabase;
using Json = nlohmann::json;

// The message of the string table as the program prints it: UTF-8, LF line ends, then LF.
inline std::string ExpectedMessage(int id, std::initializer_list<UtilityClasses::Strings::FormatArg> args)
{
    const UtilityClasses::Strings::AStrings strings(UtilityClasses::Strings::RussianLocale());
    std::string text = UtilityClasses::Strings::Utf16ToUtf8(strings.Format(id, args));
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;)
        text.erase(at, 1);
    return text + "\n";
}

inline std::u16string Utf16(const std::string& text) { return UtilityClasses::Strings::Utf8ToUtf16(text); }

inline void SaveNewDatabase(ADatabase& db, const std::string& path)
{
    ASSERT_EQ(db.SaveAs(path), Result::kOk) << path;
}

using TestSupport::SetLowestReaderBuild;
using TestSupport::WriteFileWithDanglingReference;

// A temporary folder to run the program in.
class ACliTest : public ::testing::Test {
protected:
    ATempFolder folder;
    std::string Path(const std::string& name) const { return folder / name; }
    ACliRun Run(const std::vector<std::string>& arguments, const std::vector<std::string>& environment = {}) const
    {
        return RunCli(arguments, folder.Path(), environment);
    }
};

inline Json ParseJson(const std::string& text)
{
    Json parsed = Json::parse(text, nullptr, false);
    EXPECT_FALSE(parsed.is_discarded()) << text;
    return parsed;
}

// The live-record count of each table after opening `path` here, in table-id order.
inline std::vector<std::size_t> LiveCounts(ADatabase& db)
{
    std::vector<std::size_t> counts;
    for (Database::Engine::ATableId id = 1; id <= ADatabase::kTableCount; ++id)
        counts.push_back(db.Table(id).LiveCount());
    return counts;
}

inline std::vector<std::size_t> LiveCountsInJson(const Json& info)
{
    std::vector<std::size_t> counts;
    for (const Json& table : info.at("tables"))
        counts.push_back(table.at("live").get<std::size_t>());
    return counts;
}

}  // namespace CliTest
