#include "database/engine/CompoundFileReader.h"

#include "database/engine/CompoundFileFormat.h"
#include "database/engine/CompoundFileIo.h"

#include <algorithm>
#include <cstring>
#include <set>

namespace Database::Engine::Implementation {

namespace {

constexpr HRESULT kCorrupt = Result::kStgDocFileCorrupt;

// Every sector (and mini sector) may belong to one chain only. Marking them as
// chains are followed stops loops, cross-linked chains and chains longer than
// the file at once, and bounds all the work by the number of sectors.
class AClaims {
public:
    void Reset(std::size_t count) { claimed_.assign(count, 0); }
    std::size_t Count() const { return claimed_.size(); }
    bool Claim(std::uint32_t index)
    {
        if (index >= claimed_.size() || claimed_[index]) return false;
        claimed_[index] = 1;
        return true;
    }

private:
    std::vector<std::uint8_t> claimed_;
};

class AContainerReader {
public:
    AContainerReader(int fd, std::uint64_t fileSize, AContainerLayout& layout)
        : fd_(fd), fileSize_(fileSize), layout_(layout)
    {
    }
    HRESULT Read(std::vector<AStoredStream>& streams);
    std::vector<std::uint32_t> TakeFat() { return std::move(fat_); }

private:
    HRESULT ReadHeader();
    HRESULT ReadFat();
    HRESULT CollectFatSectors(std::vector<std::uint32_t>& fatSectors);
    HRESULT ReadDirectory();
    HRESULT ReadMiniStream();
    HRESULT ReadMiniFat();
    HRESULT CollectRootStreams(std::vector<AStoredStream>& streams);
    HRESULT LocateStream(const std::uint8_t* entry, const std::u16string& name, AExtentList& content);
    HRESULT LocateMiniStream(std::uint32_t start, std::uint64_t size, AExtentList& content);
    // Where size bytes held in the FAT chain from start lie in the file.
    HRESULT LocateChain(std::uint32_t start, std::uint64_t size, AExtentList& content,
                        std::vector<std::uint32_t>& chain);

    // Follows a chain of the FAT (or of the mini FAT) from start to its end, claiming every link.
    HRESULT FollowChain(std::uint32_t start, std::vector<std::uint32_t>& chain);
    HRESULT FollowMiniChain(std::uint32_t start, std::vector<std::uint32_t>& chain);
    // Reads whole sectors, which must lie entirely within the file.
    HRESULT ReadSectors(const std::vector<std::uint32_t>& sectors, std::vector<std::uint8_t>& bytes);
    // Reads sectors holding a table of sector numbers (FAT, mini FAT).
    HRESULT ReadTable(const std::vector<std::uint32_t>& sectors, std::vector<std::uint32_t>& table);
    std::uint64_t SectorOffset(std::uint32_t sector) const
    {
        return (static_cast<std::uint64_t>(sector) + 1) << shift_;
    }
    std::uint64_t EntrySize(const std::uint8_t* entry) const
    {
        // Old version-3 writers left the high half of the size uninitialised, so
        // version 3 reads only the low half.
        const std::uint64_t size = Load64(entry + EntryField::kSize);
        return majorVersion_ == 3 ? (size & 0xFFFFFFFFu) : size;
    }

    const int fd_;
    const std::uint64_t fileSize_;
    AContainerLayout& layout_;
    std::uint8_t header_[kHeaderSize] = {};
    unsigned majorVersion_ = 0;
    unsigned shift_ = 0;
    std::size_t sectorSize_ = 0;
    std::uint32_t sectorCount_ = 0;  // sectors that begin within the file
    std::vector<std::uint32_t> fat_;
    AClaims claims_;
    std::vector<std::uint8_t> directory_;
    std::size_t entryCount_ = 0;
    AExtentList miniStream_;
    bool miniFatRead_ = false;
    std::vector<std::uint32_t> miniFat_;
    AClaims miniClaims_;
};

HRESULT AContainerReader::Read(std::vector<AStoredStream>& streams)
{
    HRESULT hr = ReadHeader();
    if (Result::Succeeded(hr)) hr = ReadFat();
    if (Result::Succeeded(hr)) hr = ReadDirectory();
    if (Result::Succeeded(hr)) hr = ReadMiniStream();
    if (Result::Succeeded(hr)) hr = CollectRootStreams(streams);
    return hr;
}

HRESULT AContainerReader::ReadHeader()
{
    std::size_t got = 0;
    const HRESULT hr = ReadUpTo(fd_, 0, header_, sizeof header_, &got);
    if (Result::Failed(hr)) return hr;
    if (got < sizeof kCfbSignature || std::memcmp(header_, kCfbSignature, sizeof kCfbSignature) != 0) {
        return Result::kStgInvalidHeader;
    }
    if (got < sizeof header_) return kCorrupt;

    majorVersion_ = Load16(header_ + HeaderField::kMajorVersion);
    shift_ = Load16(header_ + HeaderField::kSectorShift);
    const bool knownGeometry = (majorVersion_ == 3 && shift_ == 9) || (majorVersion_ == 4 && shift_ == 12);
    if (!knownGeometry || Load16(header_ + HeaderField::kByteOrder) != 0xFFFE ||
        Load16(header_ + HeaderField::kMiniSectorShift) != 6 ||
        Load32(header_ + HeaderField::kMiniStreamCutoff) != kMiniStreamCutoff) {
        return kCorrupt;
    }
    sectorSize_ = std::size_t{1} << shift_;
    // The header takes the whole first sector (4096 bytes in version 4).
    if (fileSize_ < sectorSize_) return kCorrupt;
    const std::uint64_t sectors = (fileSize_ - sectorSize_ + sectorSize_ - 1) / sectorSize_;
    sectorCount_ = static_cast<std::uint32_t>(std::min<std::uint64_t>(sectors, kMaxRegularSector + 1ull));
    claims_.Reset(sectorCount_);
    layout_.sectorCount = sectorCount_;
    layout_.updatable = majorVersion_ == 3;
    return Result::kOk;
}

HRESULT AContainerReader::CollectFatSectors(std::vector<std::uint32_t>& fatSectors)
{
    const std::uint32_t fatCount = Load32(header_ + HeaderField::kFatSectorCount);
    const std::uint32_t difatCount = Load32(header_ + HeaderField::kDifatSectorCount);
    if (fatCount == 0 || fatCount > sectorCount_ || difatCount > sectorCount_) return kCorrupt;

    for (std::size_t i = 0; i < std::min<std::size_t>(fatCount, kHeaderDifatEntries); ++i) {
        fatSectors.push_back(Load32(header_ + HeaderField::kDifat + 4 * i));
    }
    // Further FAT sector numbers sit in a chain of DIFAT sectors, each ending with the next one's number.
    const std::size_t perDifatSector = sectorSize_ / 4 - 1;
    std::uint32_t difat = Load32(header_ + HeaderField::kFirstDifatSector);
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t d = 0; fatSectors.size() < fatCount; ++d) {
        if (d == difatCount || !claims_.Claim(difat)) return kCorrupt;
        const HRESULT hr = ReadSectors({difat}, bytes);
        if (Result::Failed(hr)) return hr;
        layout_.difatSectors.push_back(difat);
        for (std::size_t i = 0; i < perDifatSector && fatSectors.size() < fatCount; ++i) {
            fatSectors.push_back(Load32(bytes.data() + 4 * i));
        }
        difat = Load32(bytes.data() + 4 * perDifatSector);
    }
    for (std::uint32_t sector : fatSectors) {
        if (!claims_.Claim(sector)) return kCorrupt;
    }
    return Result::kOk;
}

HRESULT AContainerReader::ReadFat()
{
    std::vector<std::uint32_t> fatSectors;
    const HRESULT hr = CollectFatSectors(fatSectors);
    if (Result::Failed(hr)) return hr;
    layout_.fatSectors = fatSectors;
    return ReadTable(fatSectors, fat_);
}

HRESULT AContainerReader::ReadDirectory()
{
    std::vector<std::uint32_t> chain;
    HRESULT hr = FollowChain(Load32(header_ + HeaderField::kFirstDirectorySector), chain);
    if (Result::Failed(hr)) return hr;
    if (chain.empty()) return kCorrupt;
    hr = ReadSectors(chain, directory_);
    if (Result::Failed(hr)) return hr;
    layout_.directory = chain;
    entryCount_ = directory_.size() / kDirectoryEntrySize;
    if (directory_[EntryField::kType] != static_cast<std::uint8_t>(AEntryType::kRoot)) return kCorrupt;
    return Result::kOk;
}

HRESULT AContainerReader::ReadMiniStream()
{
    // The root entry's own stream is the mini stream that holds the small streams.
    const std::uint64_t size = EntrySize(directory_.data());
    if (size == 0) return Result::kOk;
    return LocateChain(Load32(directory_.data() + EntryField::kStartSector), size, miniStream_, layout_.miniStream);
}

HRESULT AContainerReader::ReadMiniFat()
{
    if (miniFatRead_) return Result::kOk;
    miniFatRead_ = true;
    std::vector<std::uint32_t> chain;
    HRESULT hr = FollowChain(Load32(header_ + HeaderField::kFirstMiniFatSector), chain);
    if (Result::Succeeded(hr)) hr = ReadTable(chain, miniFat_);
    if (Result::Failed(hr)) return hr;
    layout_.miniFat = chain;
    const std::uint64_t miniSectors = (miniStream_.Length() + kMiniSectorSize - 1) / kMiniSectorSize;
    miniClaims_.Reset(static_cast<std::size_t>(std::min<std::uint64_t>(miniSectors, miniFat_.size())));
    return Result::kOk;
}

HRESULT AContainerReader::CollectRootStreams(std::vector<AStoredStream>& streams)
{
    // The root's children form a binary tree through the left and right links;
    // its order does not matter here, so a plain walk with a visited mark will do.
    std::vector<std::uint8_t> visited(entryCount_, 0);
    std::vector<std::uint32_t> pending{Load32(directory_.data() + EntryField::kChild)};
    std::set<std::u16string, AEntryNameLess> names;
    while (!pending.empty()) {
        const std::uint32_t id = pending.back();
        pending.pop_back();
        if (id == kNoStream) continue;
        if (id == 0 || id >= entryCount_ || visited[id]) return kCorrupt;
        visited[id] = 1;
        const std::uint8_t* entry = directory_.data() + std::size_t{id} * kDirectoryEntrySize;
        pending.push_back(Load32(entry + EntryField::kLeft));
        pending.push_back(Load32(entry + EntryField::kRight));

        const std::uint16_t nameBytes = Load16(entry + EntryField::kNameLength);
        if (nameBytes % 2 != 0 || nameBytes < 4 || nameBytes > 2 * (kMaxNameChars + 1)) return kCorrupt;
        AStoredStream stream;
        for (std::size_t i = 0; i + 1 < nameBytes / 2u; ++i) {
            stream.name.push_back(static_cast<char16_t>(Load16(entry + EntryField::kName + 2 * i)));
        }
        if (Load16(entry + EntryField::kName + nameBytes - 2) != 0 ||
            stream.name.find(char16_t{0}) != std::u16string::npos || !names.insert(stream.name).second) {
            return kCorrupt;
        }
        const auto type = static_cast<AEntryType>(entry[EntryField::kType]);
        if (type == AEntryType::kStorage) {  // sub-storages are not ours to read
            layout_.updatable = false;
            continue;
        }
        if (type != AEntryType::kStream) return kCorrupt;
        const HRESULT hr = LocateStream(entry, stream.name, stream.content);
        if (Result::Failed(hr)) return hr;
        streams.push_back(std::move(stream));
    }
    return Result::kOk;
}

HRESULT AContainerReader::LocateStream(const std::uint8_t* entry, const std::u16string& name, AExtentList& content)
{
    const std::uint64_t size = EntrySize(entry);
    const std::uint32_t start = Load32(entry + EntryField::kStartSector);
    if (size == 0) return Result::kOk;
    if (size < kMiniStreamCutoff) return LocateMiniStream(start, size, content);
    std::vector<std::uint32_t> chain;
    const HRESULT hr = LocateChain(start, size, content, chain);
    if (Result::Succeeded(hr)) layout_.chains[name] = std::move(chain);
    return hr;
}

HRESULT AContainerReader::LocateChain(std::uint32_t start, std::uint64_t size, AExtentList& content,
                                      std::vector<std::uint32_t>& chain)
{
    if (size > fileSize_) return kCorrupt;
    const HRESULT hr = FollowChain(start, chain);
    if (Result::Failed(hr)) return hr;
    if (chain.size() * sectorSize_ < size) return kCorrupt;
    for (std::size_t i = 0; content.Length() < size; ++i) {
        content.Append(SectorOffset(chain[i]), std::min<std::uint64_t>(sectorSize_, size - content.Length()));
    }
    // Only the file's last sector may be short, and not in the part the stream uses.
    return content.FileEnd() <= fileSize_ ? Result::kOk : kCorrupt;
}

HRESULT AContainerReader::LocateMiniStream(std::uint32_t start, std::uint64_t size, AExtentList& content)
{
    HRESULT hr = ReadMiniFat();
    if (Result::Failed(hr)) return hr;
    std::vector<std::uint32_t> chain;
    hr = FollowMiniChain(start, chain);
    if (Result::Failed(hr)) return hr;
    if (chain.size() * kMiniSectorSize < size) return kCorrupt;
    for (std::size_t i = 0; i * kMiniSectorSize < size; ++i) {
        const std::uint64_t used = std::min<std::uint64_t>(kMiniSectorSize, size - i * kMiniSectorSize);
        std::uint64_t offset = 0;
        std::uint64_t contiguous = 0;
        // A mini sector never straddles a sector, so it lies within one run.
        if (!miniStream_.Locate(std::uint64_t{chain[i]} * kMiniSectorSize, offset, contiguous) || contiguous < used) {
            return kCorrupt;
        }
        content.Append(offset, used);
    }
    return Result::kOk;
}

HRESULT AContainerReader::FollowChain(std::uint32_t start, std::vector<std::uint32_t>& chain)
{
    const std::size_t limit = std::min<std::size_t>(claims_.Count(), fat_.size());
    for (std::uint32_t sector = start; sector != kEndOfChain; sector = fat_[sector]) {
        if (sector >= limit || !claims_.Claim(sector)) return kCorrupt;
        chain.push_back(sector);
    }
    return Result::kOk;
}

HRESULT AContainerReader::FollowMiniChain(std::uint32_t start, std::vector<std::uint32_t>& chain)
{
    for (std::uint32_t sector = start; sector != kEndOfChain; sector = miniFat_[sector]) {
        if (!miniClaims_.Claim(sector)) return kCorrupt;  // also out of range
        chain.push_back(sector);
    }
    return Result::kOk;
}

HRESULT AContainerReader::ReadSectors(const std::vector<std::uint32_t>& sectors, std::vector<std::uint8_t>& bytes)
{
    bytes.resize(sectors.size() * sectorSize_);
    std::size_t i = 0;
    while (i < sectors.size()) {
        // Adjacent sectors are read in one go.
        std::size_t run = 1;
        while (i + run < sectors.size() && sectors[i + run] == sectors[i] + run) ++run;
        const std::uint64_t offset = SectorOffset(sectors[i]);
        const std::size_t count = run * sectorSize_;
        if (sectors[i] >= sectorCount_ || offset + count > fileSize_) return kCorrupt;
        std::size_t got = 0;
        const HRESULT hr = ReadUpTo(fd_, offset, bytes.data() + i * sectorSize_, count, &got);
        if (Result::Failed(hr)) return hr;
        if (got != count) return kCorrupt;
        i += run;
    }
    return Result::kOk;
}

HRESULT AContainerReader::ReadTable(const std::vector<std::uint32_t>& sectors, std::vector<std::uint32_t>& table)
{
    std::vector<std::uint8_t> bytes;
    const HRESULT hr = ReadSectors(sectors, bytes);
    if (Result::Failed(hr)) return hr;
    table.resize(bytes.size() / 4);
    for (std::size_t i = 0; i < table.size(); ++i) table[i] = Load32(bytes.data() + 4 * i);
    return Result::kOk;
}

}  // namespace

HRESULT ReadContainer(int fd, std::uint64_t fileSize, std::vector<AStoredStream>& streams, AContainerLayout* layout)
{
    streams.clear();
    AContainerLayout found;
    AContainerReader reader(fd, fileSize, found);
    const HRESULT hr = reader.Read(streams);
    if (Result::Failed(hr)) {
        streams.clear();
        return hr;
    }
    if (layout) {
        found.fat = reader.TakeFat();
        *layout = std::move(found);
    }
    return hr;
}

}  // namespace Database::Engine::Implementation
