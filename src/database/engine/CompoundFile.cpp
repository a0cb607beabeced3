#include "database/engine/CompoundFile.h"

#include "database/engine/CompoundFileFormat.h"
#include "database/engine/CompoundFileIo.h"
#include "database/engine/CompoundFileReader.h"
#include "database/engine/CompoundFileStream.h"
#include "database/engine/CompoundFileWriter.h"

#include <map>

namespace Database::Engine {

namespace {

using namespace Implementation;

class ACompoundFileImpl final : public ACompoundFile {
public:
    ACompoundFileImpl(std::string path, bool writable, std::shared_ptr<AFileHandle> file)
        : path_(std::move(path)), writable_(writable), file_(std::move(file))
    {
    }

    void Adopt(std::vector<AStoredStream> stored)
    {
        committed_ = std::move(stored);
        Revert();
    }

    const std::string& Path() const override { return path_; }
    bool Writable() const override { return writable_; }

    std::vector<std::u16string> StreamNames() const override
    {
        std::vector<std::u16string> names;
        for (const auto& [name, stream] : streams_) names.push_back(name);
        return names;
    }

    bool HasStream(const std::u16string& name) const override { return streams_.count(name) != 0; }

    HRESULT OpenStream(const std::u16string& name, ACompoundStream** stream) override
    {
        *stream = nullptr;
        const auto found = streams_.find(name);
        if (found == streams_.end()) return Result::kStgFileNotFound;
        *stream = found->second.get();
        return Result::kOk;
    }

    HRESULT CreateStream(const std::u16string& name, ACompoundStream** stream) override
    {
        *stream = nullptr;
        if (!writable_) return Result::kUnexpected;
        if (!IsValidEntryName(name)) return Result::kStgInvalidName;
        auto node = streams_.extract(name);
        if (node) {
            // The old stream's object lives on, emptied, so handles to it stay valid.
            node.mapped()->Clear();
            node.key() = name;
            *stream = streams_.insert(std::move(node)).position->second.get();
        } else {
            *stream = streams_.emplace(name, std::make_unique<ACompoundStreamImpl>(writable_)).first->second.get();
        }
        return Result::kOk;
    }

    HRESULT DeleteStream(const std::u16string& name) override
    {
        if (!writable_) return Result::kUnexpected;
        return streams_.erase(name) != 0 ? Result::kOk : Result::kStgFileNotFound;
    }

    HRESULT Commit() override
    {
        if (!writable_) return Result::kUnexpected;
        AReplacementFile replacement;
        HRESULT hr = replacement.Begin(path_, file_ != nullptr);
        if (Result::Failed(hr)) return hr;

        std::vector<AStreamToWrite> toWrite;
        for (const auto& [name, stream] : streams_) toWrite.push_back({name, stream.get()});
        std::vector<AExtentList> written;
        hr = WriteContainer(replacement.Fd(), toWrite, written);
        if (Result::Failed(hr)) return hr;

        std::shared_ptr<AFileHandle> installed;
        hr = replacement.Install(installed);
        if (!installed) return hr;
        // The path now names the new content, so we continue on it even if the
        // folder could not be flushed; the old file goes with its last handle.
        file_ = std::move(installed);
        committed_.clear();
        std::size_t i = 0;
        for (const auto& [name, stream] : streams_) committed_.push_back({name, std::move(written[i++])});
        Revert();
        return hr;
    }

    void Revert() override
    {
        // Streams that were committed keep their objects (and so their handles);
        // streams made since then go.
        std::map<std::u16string, std::unique_ptr<ACompoundStreamImpl>, AEntryNameLess> restored;
        for (const AStoredStream& entry : committed_) {
            auto node = streams_.extract(entry.name);
            auto stream = node ? std::move(node.mapped()) : std::make_unique<ACompoundStreamImpl>(writable_);
            stream->Bind(file_, entry.content);
            restored.emplace(entry.name, std::move(stream));
        }
        streams_ = std::move(restored);
    }

private:
    std::string path_;
    bool writable_;
    std::shared_ptr<AFileHandle> file_;  // none for a created file before its first commit
    std::vector<AStoredStream> committed_;  // the streams as the file holds them
    std::map<std::u16string, std::unique_ptr<ACompoundStreamImpl>, AEntryNameLess> streams_;
};

}  // namespace

HRESULT ACompoundFile::Open(const std::string& path, bool writable, std::unique_ptr<ACompoundFile>& file)
{
    file.reset();
    std::shared_ptr<AFileHandle> handle;
    std::uint64_t fileSize = 0;
    HRESULT hr = OpenContainerFile(path, writable, handle, fileSize);
    if (Result::Failed(hr)) return hr;
    std::vector<AStoredStream> stored;
    hr = ReadContainer(handle->Fd(), fileSize, stored);
    if (Result::Failed(hr)) return hr;
    auto opened = std::make_unique<ACompoundFileImpl>(path, writable, std::move(handle));
    opened->Adopt(std::move(stored));
    file = std::move(opened);
    return Result::kOk;
}

HRESULT ACompoundFile::Create(const std::string& path, std::unique_ptr<ACompoundFile>& file)
{
    file.reset();
    if (path.empty()) return Result::kInvalidArg;
    file = std::make_unique<ACompoundFileImpl>(path, true, nullptr);
    return Result::kOk;
}

}  // namespace Database::Engine
