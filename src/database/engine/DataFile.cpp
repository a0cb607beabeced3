// Opening a data file: the header stream and the nineteen table streams.
#include "database/engine/CompoundFile.h"
#include "database/engine/PagedStream.h"
#include "database/engine/StreamNames.h"
#include "database/engine/dbEngine.h"

#include "core/Version.h"

#include <cstring>

namespace Database::Engine {

HRESULT ADBEngine::ReadHeaderStream()
{
    ACompoundStream* raw = nullptr;
    if (Result::Failed(storage_->OpenStream(StreamNames::kHeader, &raw)))
        return Result::kNotDataFile;
    APagedStream stream(*raw, false);
    std::uint8_t length = 0;
    std::size_t got = 0;
    if (Result::Failed(stream.Read(0, &length, 1, &got)) || got != 1)
        return Result::kNotDataFile;
    char signature[512] = {};
    if (Result::Failed(stream.Read(1, signature, length, &got)) || got != length)
        return Result::kNotDataFile;
    if (std::strcmp(signature, StreamNames::kSignature) != 0)
        return Result::kNotDataFile;
    // A short version block keeps the defaults for what is missing.
    std::uint8_t block[28];
    AFileHeader header;
    std::memcpy(block, header.identity, 16);
    const std::uint16_t words[6] = {header.formatA, header.formatB, header.creatorBuild,
                                    header.writerBuild, header.lowestReaderBuild, header.reserved};
    std::memcpy(block + 16, words, sizeof words);
    if (Result::Failed(stream.Read(1 + length, block, sizeof block, &got)))
        return Result::kNotDataFile;
    std::memcpy(header.identity, block, 16);
    std::memcpy(&header.formatA, block + 16, 2);
    std::memcpy(&header.formatB, block + 18, 2);
    std::memcpy(&header.creatorBuild, block + 20, 2);
    std::memcpy(&header.writerBuild, block + 22, 2);
    std::memcpy(&header.lowestReaderBuild, block + 24, 2);
    std::memcpy(&header.reserved, block + 26, 2);
    fileHeader_ = header;
    return Result::kOk;
}

HRESULT ADBEngine::ReadTables()
{
    std::uint64_t total = 0;
    for (ATableId id = 1; id <= kTableCount; ++id) {
        ACompoundStream* raw = nullptr;
        if (Result::Succeeded(storage_->OpenStream(StreamNames::Table(id), &raw)))
            total += APagedStream::LogicalSize(raw->Size());
    }
    progress_.Reset();
    progress_.SetTotal(total);

    for (ATableId id = 1; id <= kTableCount; ++id) {
        ACompoundStream* raw = nullptr;
        if (Result::Succeeded(storage_->OpenStream(StreamNames::Table(id), &raw))) {
            APagedStream stream(*raw, false);
            AByteSource source(stream.Size(), [&](std::uint64_t position, std::uint8_t* out, std::size_t count,
                                                  std::size_t* got) { return stream.Read(position, out, count, got); });
            if (HRESULT hr = tables_[id]->Load(source, loadErrors_); Result::Failed(hr))
                return hr;
            progress_.Add(stream.Size());
        }
        if (HRESULT hr = AfterTableLoaded(id); Result::Failed(hr))
            return hr;
    }
    return Result::kOk;
}

HRESULT ADBEngine::Open(const std::string& path)
{
    if (!FD_VERIFY(!storage_ && !stepOpen_))
        return Result::kUnexpected;
    fileName_.Set(path, programFolder_);
    std::unique_ptr<ACompoundFile> file;
    HRESULT hr = ACompoundFile::Open(fileName_.FullPath(), true, file);
    if (hr == Result::kStgAccessDenied) {
        hr = ACompoundFile::Open(fileName_.FullPath(), false, file);
        readOnly_ = Result::Succeeded(hr);
    }
    if (hr == Result::kStgInvalidHeader)
        return OpenPreviousGeneration(fileName_.FullPath());
    if (Result::Failed(hr))
        return hr;
    storage_ = std::move(file);

    if (hr = ReadHeaderStream(); Result::Failed(hr))
        return hr;
    if (fileHeader_.lowestReaderBuild > Version::kBuild)
        return Result::kNewerVersion;
    const bool renumber = fileHeader_.writerBuild < Version::kLowestReaderBuild;

    loadErrors_ = 0;
    if (hr = ReadTables(); Result::Failed(hr))
        return hr;
    AfterTablesRead();
    for (ATableId id = 1; id <= kTableCount; ++id)
        tables_[id]->SortSlotsById();
    loadErrors_ += ResolveAll();
    for (ATableId id = 1; id <= kTableCount; ++id)
        tables_[id]->BuildIndexes();
    loadErrors_ += ConsistencyErrors();
    // Category pages name their classifier by identifier, so classifiers keep theirs.
    if (renumber)
        Renumber(kClassifierTable);
    for (ATableId id = 1; id <= kTableCount; ++id)
        tables_[id]->TrackUnsavedAfterRead();
    return loadErrors_ == 0 ? Result::kOk : Result::kOpenedWithErrors;
}

}  // namespace Database::Engine
