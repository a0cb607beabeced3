// Data files the CLI tests feed to the program, made through the model's own API,
// and what the tests expect to read back.
#pragma once

#include "cli/CliRunner.h"

#include "core/AStrings.h"
#include "core/CodePage.h"
#include "core/LocaleInfo.h"
#include "database/Database.h"
#include "database/engine/CompoundFile.h"
#include "database/engine/PagedStream.h"
#include "database/engine/StreamNames.h"

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

// A new database whose only account was deleted without its placement: one
// reference names a record that no longer exists.
inline void WriteFileWithDanglingReference(const std::string& path)
{
    ADatabase db;
    db.CreateDefaults();
    db.BeginStep();
    db.Accounts().Delete(db.Accounts().Live().front());
    db.CommitStep();
    SaveNewDatabase(db, path);
}

// Rewrites the lowest program build allowed to read the file.
inline void SetLowestReaderBuild(const std::string& path, std::uint16_t build)
{
    using namespace Database::Engine;
    std::unique_ptr<ACompoundFile> file;
    ASSERT_EQ(ACompoundFile::Open(path, true, file), Result::kOk);
    ACompoundStream* raw = nullptr;
    ASSERT_EQ(file->OpenStream(StreamNames::kHeader, &raw), Result::kOk);
    {
        APagedStream header(*raw, true);
        // After the length byte, the signature with its NUL, the GUID and four words.
        const std::uint64_t at = 1 + sizeof StreamNames::kSignature + 16 + 8;
        const std::uint8_t word[2] = {static_cast<std::uint8_t>(build), static_cast<std::uint8_t>(build >> 8)};
        ASSERT_EQ(header.Write(at, word, 2), Result::kOk);
        ASSERT_EQ(header.Flush(), Result::kOk);
    }
    ASSERT_EQ(file->Commit(), Result::kOk);
}

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
