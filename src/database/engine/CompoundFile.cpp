#include "database/engine/CompoundFile.h"

#include "database/engine/CompoundFileFormat.h"
#include "database/engine/CompoundFileIo.h"
#include "database/engine/CompoundFileReader.h"
#include "database/engine/CompoundFileStream.h"
#include "database/engine/CompoundFileUpdate.h"
#include "database/engine/CompoundFileWriter.h"
#include "database/engine/SaveJournal.h"

#include <sys/stat.h>

#include <cerrno>
#include <map>

namespace Database::Engine {

namespace {

using namespace Implementation;

class ACompoundFileImpl final : public ACompoundFile {
public:
    ACompoundFileImpl(std::string path, bool writable, std::shared_ptr<AFileHandle> file, ASaveCalls& calls)
        : path_(std::move(path)), writable_(writable), file_(std::move(file)), calls_(calls)
    {
    }

    void Adopt(std::vector<AStoredStream> stored, AContainerLayout layout)
    {
        committed_ = std::move(stored);
        layout_ = std::move(layout);
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
        if (journalLeft_) {
            // An earlier save could neither finish nor undo itself; nothing is read
            // from the file until its old bytes are back.
            if (HRESULT hr = RollBackLeftJournal(); Result::Failed(hr)) return hr;
        }
        bool done = false;
        if (file_ && layout_.updatable) {
            const HRESULT hr = CommitInPlace(done);
            if (done) return hr;
        }
        return CommitNewFile();
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
    std::vector<AStreamToUpdate> StreamsInNameOrder() const
    {
        std::vector<AStreamToUpdate> streams;
        for (const auto& [name, stream] : streams_) streams.push_back({name, stream.get()});
        return streams;
    }

    void Committed(std::vector<AExtentList>& extents)
    {
        committed_.clear();
        std::size_t i = 0;
        for (const auto& [name, stream] : streams_) committed_.push_back({name, std::move(extents[i++])});
        Revert();
    }

    AJournal Identity() const
    {
        AJournal identity;
        struct stat info {};
        if (fstat(file_->Fd(), &info) == 0) {
            identity.device = static_cast<std::uint64_t>(info.st_dev);
            identity.inode = static_cast<std::uint64_t>(info.st_ino);
            identity.fileSize = static_cast<std::uint64_t>(info.st_size);
        }
        return identity;
    }

    // done tells whether the save was made (or tried) in place; when not, the caller
    // writes a new file.
    HRESULT CommitInPlace(bool& done)
    {
        const int fd = file_->Fd();
        if (!TryLockForUpdate(fd)) return Result::kOk;  // someone is reading the file
        struct AUnlock {
            int fd;
            ~AUnlock() { UnlockForUpdate(fd); }
        } unlock{fd};
        const AJournal identity = Identity();
        if (identity.inode == 0) return Result::kOk;
        AInPlaceUpdate update(fd, layout_);
        HRESULT hr = update.Plan(StreamsInNameOrder());
        if (Result::Failed(hr)) return Result::kOk;
        // Rewriting most of the file is done as well by a new one, which also leaves
        // no unused sectors behind.
        const std::uint64_t size = identity.fileSize;
        if (update.BytesToWrite() > size / 4 + (64 << 10) ||
            update.FreeSectors() > std::max<std::uint64_t>(update.SectorCount() / 4, 256))
            return Result::kOk;
        done = true;
        hr = update.Apply(JournalPathOf(path_), identity, calls_, journalLeft_);
        if (Result::Failed(hr)) return hr;
        layout_ = std::move(update.Layout());
        Committed(update.Extents());
        return hr;
    }

    HRESULT CommitNewFile()
    {
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
        // folder could not be flushed; the old file goes with its last handle, and
        // so does any journal made for it.
        file_ = std::move(installed);
        journalLeft_ = false;
        (void)RemoveJournal(JournalPathOf(path_));
        Committed(written);
        // The layout of the new file, for the next save in place.
        std::vector<AStoredStream> stored;
        struct stat info {};
        layout_ = AContainerLayout();
        if (fstat(file_->Fd(), &info) != 0 ||
            Result::Failed(ReadContainer(file_->Fd(), static_cast<std::uint64_t>(info.st_size), stored, &layout_)))
            layout_.updatable = false;
        return hr;
    }

    HRESULT RollBackLeftJournal()
    {
        const AJournal identity = Identity();
        AJournal journal;
        AJournalFound found = AJournalFound::None;
        HRESULT hr = ReadJournal(JournalPathOf(path_), identity.device, identity.inode, journal, found);
        if (Result::Succeeded(hr) && found == AJournalFound::Whole) hr = RollBack(file_->Fd(), journal, calls_);
        if (Result::Succeeded(hr)) hr = RemoveJournal(JournalPathOf(path_));
        if (Result::Failed(hr)) return hr;
        journalLeft_ = false;
        return Result::kOk;
    }

    std::string path_;
    bool writable_;
    std::shared_ptr<AFileHandle> file_;  // none for a created file before its first commit
    ASaveCalls& calls_;
    AContainerLayout layout_;               // where everything lies in the file
    bool journalLeft_ = false;              // a failed save left its journal
    std::vector<AStoredStream> committed_;  // the streams as the file holds them
    std::map<std::u16string, std::unique_ptr<ACompoundStreamImpl>, AEntryNameLess> streams_;
};

}  // namespace

namespace {

// A journal beside the file means a save in place was cut short: its old bytes go
// back before anything is read. Only the holder of the file's lock may do that, and
// no save runs meanwhile (readers hold their lock already).
HRESULT RecoverInterruptedSave(const std::string& path, int fd, bool writable, std::uint64_t& fileSize,
                               ASaveCalls& calls)
{
    struct stat info {};
    if (fstat(fd, &info) != 0) return Result::FromErrno(errno);
    const std::string journalPath = JournalPathOf(path);
    AJournal journal;
    AJournalFound found = AJournalFound::None;
    HRESULT hr = ReadJournal(journalPath, static_cast<std::uint64_t>(info.st_dev),
                             static_cast<std::uint64_t>(info.st_ino), journal, found);
    if (Result::Failed(hr)) return writable ? hr : Result::kSaveInterrupted;
    switch (found) {
    case AJournalFound::None: return Result::kOk;
    case AJournalFound::Torn:       // the save never came to the file
    case AJournalFound::OtherFile:  // made for a file since replaced
        if (writable) (void)RemoveJournal(journalPath);
        return Result::kOk;
    case AJournalFound::Whole: break;
    }
    if (!writable) return Result::kSaveInterrupted;
    hr = RollBack(fd, journal, calls);
    if (Result::Succeeded(hr)) hr = RemoveJournal(journalPath);
    if (Result::Failed(hr)) return hr;
    fileSize = journal.fileSize;
    return Result::kOk;
}

}  // namespace

HRESULT ACompoundFile::Open(const std::string& path, bool writable, std::unique_ptr<ACompoundFile>& file,
                            ASaveCalls* calls)
{
    file.reset();
    ASaveCalls& saveCalls = calls ? *calls : SystemSaveCalls();
    std::shared_ptr<AFileHandle> handle;
    std::uint64_t fileSize = 0;
    HRESULT hr = OpenContainerFile(path, writable, handle, fileSize);
    if (Result::Succeeded(hr) && !writable) hr = HoldReaderLock(handle->Fd());
    if (Result::Succeeded(hr)) hr = RecoverInterruptedSave(path, handle->Fd(), writable, fileSize, saveCalls);
    if (Result::Failed(hr)) return hr;
    std::vector<AStoredStream> stored;
    AContainerLayout layout;
    hr = ReadContainer(handle->Fd(), fileSize, stored, &layout);
    if (Result::Failed(hr)) return hr;
    auto opened = std::make_unique<ACompoundFileImpl>(path, writable, std::move(handle), saveCalls);
    opened->Adopt(std::move(stored), std::move(layout));
    file = std::move(opened);
    return Result::kOk;
}

HRESULT ACompoundFile::Create(const std::string& path, std::unique_ptr<ACompoundFile>& file)
{
    file.reset();
    if (path.empty()) return Result::kInvalidArg;
    file = std::make_unique<ACompoundFileImpl>(path, true, nullptr, SystemSaveCalls());
    return Result::kOk;
}

}  // namespace Database::Engine
