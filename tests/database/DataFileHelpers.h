// Helpers for data-file tests: a rich database, raw stream access, comparison.
#pragma once

#include "database/Database.h"
#include "database/engine/CompoundFile.h"
#include "database/engine/PagedStream.h"
#include "database/engine/StreamNames.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace DataFileHelpers {

using namespace Database;
using Engine::ATableImpl;

inline AClock FixedClock()
{
    return [] { return Dates::ALocalTime{46000, 12 * 3600000}; };
}

// A fresh folder per test, removed afterwards.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "fendral-test-XXXXXX").string();
        path_ = mkdtemp(pattern.data());
    }
    ~TempFolder() { std::filesystem::remove_all(path_); }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }

private:
    std::string path_;
};

// A database with at least one record of every type and references of every kind.
void FillRich(ADatabase& db);

// Writes a new data file of that name in the folder, with the defaults or FillRich's
// records, and answers its path.
inline std::string SavedFile(const TempFolder& folder, const std::string& name, bool rich = false)
{
    ADatabase db(FixedClock());
    rich ? FillRich(db) : db.CreateDefaults();
    EXPECT_EQ(db.SaveAs(folder.File(name)), Result::kOk);
    return folder.File(name);
}

// Every live record of every table: same identifiers, stamps and stored bodies.
void ExpectSameContent(ADatabase& a, ADatabase& b);

// The file at path opens without errors and holds what db holds.
inline void ExpectReopensSame(ADatabase& db, const std::string& path)
{
    ADatabase reopened(FixedClock());
    ASSERT_EQ(reopened.Open(path), Result::kOk);
    ExpectSameContent(db, reopened);
}

// The logical content of a stream of a data file.
std::vector<std::uint8_t> ReadStream(const std::string& path, const std::u16string& name);
// Replaces the logical content of a stream (creating it when missing).
void WriteStream(const std::string& path, const std::u16string& name, const std::vector<std::uint8_t>& content);

inline std::uint32_t Word32(const std::vector<std::uint8_t>& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | bytes.at(at + static_cast<std::size_t>(i));
    return value;
}

}  // namespace DataFileHelpers
