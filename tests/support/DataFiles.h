// Data files the program tests open: made through the model's own API, then damaged or
// marked as the case needs.
#pragma once
#include "database/Database.h"
#include "database/engine/CompoundFile.h"
#include "database/engine/PagedStream.h"
#include "database/engine/StreamNames.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace TestSupport {

// A new database whose only account was deleted without its placement: one reference names
// a record that no longer exists, and the file opens with one error.
inline void WriteFileWithDanglingReference(const std::string& path)
{
    Database::ADatabase db;
    db.CreateDefaults();
    db.BeginStep();
    db.Accounts().Delete(db.Accounts().Live().front());
    db.CommitStep();
    ASSERT_EQ(db.SaveAs(path), Result::kOk) << path;
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

}  // namespace TestSupport
