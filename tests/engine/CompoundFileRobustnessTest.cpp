// Damaged and hostile containers: every one gives a result code quickly, never
// a crash, a hang or an allocation the file size does not justify.
#include "CompoundFileTestSupport.h"

#include "database/engine/CompoundFileFormat.h"

#include <chrono>
#include <functional>
#include <random>

namespace CompoundFileTest {
namespace {

using namespace Database::Engine::Implementation;

// A file's bytes with accessors for the parts the mutations aim at.
class AImage {
public:
    explicit AImage(Bytes bytes) : bytes_(std::move(bytes)) {}

    Bytes& Data() { return bytes_; }
    std::uint32_t Get32(std::size_t offset) const { return Load32(bytes_.data() + offset); }
    void Set32(std::size_t offset, std::uint32_t value) { Store32(bytes_.data() + offset, value); }
    void Set64(std::size_t offset, std::uint64_t value) { Store64(bytes_.data() + offset, value); }
    void Set16(std::size_t offset, std::uint16_t value) { Store16(bytes_.data() + offset, value); }

    static std::size_t SectorOffset(std::uint32_t sector) { return (std::size_t{sector} + 1) * 512; }
    // The files here are small enough for one FAT sector and one mini FAT sector.
    std::size_t FatEntry(std::uint32_t sector) const { return SectorOffset(Get32(HeaderField::kDifat)) + 4 * sector; }
    std::size_t MiniFatEntry(std::uint32_t sector) const
    {
        return SectorOffset(Get32(HeaderField::kFirstMiniFatSector)) + 4 * sector;
    }
    // The directory entry of the named stream (0 for the root); the directory is contiguous in our files.
    std::size_t Entry(const std::u16string& name) const
    {
        const std::size_t directory = SectorOffset(Get32(HeaderField::kFirstDirectorySector));
        for (std::size_t offset = directory; offset + kDirectoryEntrySize <= bytes_.size();
             offset += kDirectoryEntrySize) {
            std::u16string entryName;
            for (std::size_t i = 0; i < name.size(); ++i) entryName.push_back(Load16(bytes_.data() + offset + 2 * i));
            if (name.empty() || (entryName == name && Load16(bytes_.data() + offset + 2 * name.size()) == 0)) {
                return offset;
            }
        }
        ADD_FAILURE() << "no entry";
        return directory;
    }
    std::uint32_t StartOf(const std::u16string& name) const { return Get32(Entry(name) + EntryField::kStartSector); }

private:
    Bytes bytes_;
};

const AStreamSet& SmallStreams()
{
    static const AStreamSet streams = {
        {u"Big", Pattern(5000, 1)}, {u"Mid", Pattern(700, 2)}, {u"Small", Pattern(100, 3)}, {u"Empty", {}}};
    return streams;
}

class CompoundFileRobustness : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = new AScratchFolder;
        ASSERT_EQ(WriteContainerFile(*folder_ / "small.cfb", SmallStreams()), Result::kOk);
        small_ = new Bytes(ReadFileBytes(*folder_ / "small.cfb"));
        ASSERT_EQ(WriteContainerFile(*folder_ / "difat.cfb", {{u"Big", Pattern(8u << 20, 4)}}), Result::kOk);
        difat_ = new Bytes(ReadFileBytes(*folder_ / "difat.cfb"));
    }
    static void TearDownTestSuite()
    {
        delete small_;
        delete difat_;
        delete folder_;
    }

    std::string Put(const Bytes& bytes) const
    {
        const std::string path = *folder_ / "case.cfb";
        WriteFileBytes(path, bytes);
        return path;
    }

    static AScratchFolder* folder_;
    static Bytes* small_;
    static Bytes* difat_;
};

AScratchFolder* CompoundFileRobustness::folder_ = nullptr;
Bytes* CompoundFileRobustness::small_ = nullptr;
Bytes* CompoundFileRobustness::difat_ = nullptr;

TEST_F(CompoundFileRobustness, TruncatedAtEveryLengthIsRefusedOrIntact)
{
    for (std::size_t length = 0; length < small_->size(); ++length) {
        const std::string path = Put(Bytes(small_->begin(), small_->begin() + static_cast<std::ptrdiff_t>(length)));
        std::unique_ptr<ACompoundFile> file;
        const HRESULT hr = ACompoundFile::Open(path, false, file);
        if (Result::Succeeded(hr)) {
            EXPECT_EQ(ContentOf(*file), SmallStreams()) << "length " << length;
        } else {
            const HRESULT expected = length < 8 ? Result::kStgInvalidHeader : Result::kStgDocFileCorrupt;
            EXPECT_EQ(hr, expected) << "length " << length;
        }
    }
}

TEST_F(CompoundFileRobustness, EveryFlippedByteIsHandled)
{
    std::mt19937 random(7);
    for (std::size_t offset = 0; offset < small_->size(); ++offset) {
        for (std::uint8_t mask : {std::uint8_t{0xFF}, static_cast<std::uint8_t>(1u << (random() % 8))}) {
            Bytes damaged = *small_;
            damaged[offset] ^= mask;
            ExpectCleanOpen(Put(damaged), "offset " + std::to_string(offset));
        }
    }
}

struct AMutation {
    const char* what;
    std::function<void(AImage&)> patch;
    HRESULT expected;
};

void RunMutations(const Bytes& original, const std::vector<AMutation>& mutations,
                  const std::function<std::string(const Bytes&)>& put)
{
    for (const AMutation& mutation : mutations) {
        AImage image(original);
        mutation.patch(image);
        std::unique_ptr<ACompoundFile> file;
        const auto start = std::chrono::steady_clock::now();
        const HRESULT hr = ACompoundFile::Open(put(image.Data()), false, file);
        const auto elapsed = std::chrono::steady_clock::now() - start;
        EXPECT_EQ(hr, mutation.expected) << mutation.what;
        EXPECT_LT(elapsed, std::chrono::seconds(1)) << mutation.what;
    }
}

TEST_F(CompoundFileRobustness, TargetedDamageGivesItsCode)
{
    constexpr HRESULT kCorrupt = Result::kStgDocFileCorrupt;
    const std::vector<AMutation> mutations = {
        {"signature", [](AImage& f) { f.Data()[0] = 'M'; }, Result::kStgInvalidHeader},
        {"byte order", [](AImage& f) { f.Set16(HeaderField::kByteOrder, 0xFEFF); }, kCorrupt},
        {"major version 5", [](AImage& f) { f.Set16(HeaderField::kMajorVersion, 5); }, kCorrupt},
        {"version 3 with 4096-byte sectors", [](AImage& f) { f.Set16(HeaderField::kSectorShift, 12); }, kCorrupt},
        {"mini sector shift", [](AImage& f) { f.Set16(HeaderField::kMiniSectorShift, 7); }, kCorrupt},
        {"mini stream cutoff", [](AImage& f) { f.Set32(HeaderField::kMiniStreamCutoff, 512); }, kCorrupt},
        {"no FAT sectors", [](AImage& f) { f.Set32(HeaderField::kFatSectorCount, 0); }, kCorrupt},
        {"2^32-1 FAT sectors", [](AImage& f) { f.Set32(HeaderField::kFatSectorCount, 0xFFFFFFFF); }, kCorrupt},
        {"FAT sector out of range", [](AImage& f) { f.Set32(HeaderField::kDifat, 0x00FFFFFF); }, kCorrupt},
        {"directory start out of range", [](AImage& f) { f.Set32(HeaderField::kFirstDirectorySector, 4000); },
         kCorrupt},
        {"directory start at end of chain", [](AImage& f) { f.Set32(HeaderField::kFirstDirectorySector, kEndOfChain); },
         kCorrupt},
        {"FAT cycle", [](AImage& f) { f.Set32(f.FatEntry(f.StartOf(u"Big") + 9), f.StartOf(u"Big")); }, kCorrupt},
        {"FAT self-loop", [](AImage& f) { f.Set32(f.FatEntry(f.StartOf(u"Big") + 3), f.StartOf(u"Big") + 3); },
         kCorrupt},
        {"chain out of range", [](AImage& f) { f.Set32(f.FatEntry(f.StartOf(u"Big")), 0x00100000); }, kCorrupt},
        {"chain into a free sector", [](AImage& f) { f.Set32(f.FatEntry(f.StartOf(u"Big")), kFreeSector); }, kCorrupt},
        {"chain too short for the size", [](AImage& f) { f.Set32(f.FatEntry(f.StartOf(u"Big") + 4), kEndOfChain); },
         kCorrupt},
        {"chain through a FAT sector",
         [](AImage& f) { f.Set32(f.FatEntry(f.StartOf(u"Big") + 9), f.Get32(HeaderField::kDifat)); }, kCorrupt},
        {"two streams share sectors",
         [](AImage& f) { f.Set32(f.Entry({}) + EntryField::kStartSector, f.StartOf(u"Big")); }, kCorrupt},
        {"name length 200", [](AImage& f) { f.Set16(f.Entry(u"Mid") + EntryField::kNameLength, 200); }, kCorrupt},
        {"odd name length", [](AImage& f) { f.Set16(f.Entry(u"Mid") + EntryField::kNameLength, 7); }, kCorrupt},
        {"empty name", [](AImage& f) { f.Set16(f.Entry(u"Mid") + EntryField::kNameLength, 2); }, kCorrupt},
        {"name without terminator", [](AImage& f) { f.Set16(f.Entry(u"Mid") + EntryField::kNameLength, 6); }, kCorrupt},
        {"duplicate name",
         [](AImage& f) {
             const std::size_t name = f.Entry(u"Mid") + EntryField::kName;
             f.Set16(name, u'b');
             f.Set16(name + 2, u'I');
             f.Set16(name + 4, u'G');
         },
         kCorrupt},
        {"unknown entry type", [](AImage& f) { f.Data()[f.Entry(u"Mid") + EntryField::kType] = 7; }, kCorrupt},
        {"unused entry in the tree", [](AImage& f) { f.Data()[f.Entry(u"Mid") + EntryField::kType] = 0; }, kCorrupt},
        {"root is not a root", [](AImage& f) { f.Data()[f.Entry({}) + EntryField::kType] = 1; }, kCorrupt},
        {"tree link back to the root", [](AImage& f) { f.Set32(f.Entry(u"Mid") + EntryField::kLeft, 0); }, kCorrupt},
        {"tree link out of range", [](AImage& f) { f.Set32(f.Entry(u"Mid") + EntryField::kRight, 1000); }, kCorrupt},
        {"tree cycle",
         [](AImage& f) {
             const std::uint32_t top = f.Get32(f.Entry({}) + EntryField::kChild);
             for (const char16_t* name : {u"Big", u"Mid", u"Small", u"Empty"}) {
                 f.Set32(f.Entry(name) + EntryField::kLeft, top);
             }
         },
         kCorrupt},
        {"stream size 2^32-16 in version 3",
         [](AImage& f) { f.Set64(f.Entry(u"Big") + EntryField::kSize, 0xFFFFFFF0ull); }, kCorrupt},
        {"stream size past its chain", [](AImage& f) { f.Set64(f.Entry(u"Big") + EntryField::kSize, 5200); }, kCorrupt},
        {"mini stream size 2^31", [](AImage& f) { f.Set64(f.Entry({}) + EntryField::kSize, 0x80000000ull); }, kCorrupt},
        {"mini stream gone", [](AImage& f) { f.Set64(f.Entry({}) + EntryField::kSize, 0); }, kCorrupt},
        {"mini FAT cycle", [](AImage& f) { f.Set32(f.MiniFatEntry(f.StartOf(u"Mid") + 5), f.StartOf(u"Mid")); },
         kCorrupt},
        {"mini chain beyond the mini stream", [](AImage& f) { f.Set32(f.MiniFatEntry(f.StartOf(u"Small")), 500); },
         kCorrupt},
        {"mini FAT missing", [](AImage& f) { f.Set32(HeaderField::kFirstMiniFatSector, kEndOfChain); }, kCorrupt},
        {"mini FAT out of range", [](AImage& f) { f.Set32(HeaderField::kFirstMiniFatSector, 99999); }, kCorrupt},
        // Version 3 ignores the high half of a size, as old writers left it uninitialised.
        {"stream size 2^40 in version 3",
         [](AImage& f) { f.Set64(f.Entry(u"Big") + EntryField::kSize, (1ull << 40) + 5000); }, Result::kOk},
        {"storage entry in the tree is skipped", [](AImage& f) { f.Data()[f.Entry(u"Empty") + EntryField::kType] = 1; },
         Result::kOk},
    };
    RunMutations(*small_, mutations, [this](const Bytes& bytes) { return Put(bytes); });
}

TEST_F(CompoundFileRobustness, DamagedDifatGivesItsCode)
{
    constexpr HRESULT kCorrupt = Result::kStgDocFileCorrupt;
    const auto lastDifatEntry = [](AImage& f) {
        return AImage::SectorOffset(f.Get32(HeaderField::kFirstDifatSector)) + 508;
    };
    ASSERT_EQ(AImage(*difat_).Get32(HeaderField::kDifatSectorCount), 1u);
    const std::vector<AMutation> mutations = {
        {"DIFAT loop",
         [&](AImage& f) {
             f.Set32(HeaderField::kFatSectorCount, f.Get32(HeaderField::kFatSectorCount) + 200);
             f.Set32(HeaderField::kDifatSectorCount, 3);
             f.Set32(lastDifatEntry(f), f.Get32(HeaderField::kFirstDifatSector));
         },
         kCorrupt},
        {"DIFAT count 2^32-1", [](AImage& f) { f.Set32(HeaderField::kDifatSectorCount, 0xFFFFFFFF); }, kCorrupt},
        {"DIFAT count 0", [](AImage& f) { f.Set32(HeaderField::kDifatSectorCount, 0); }, kCorrupt},
        {"DIFAT start out of range", [](AImage& f) { f.Set32(HeaderField::kFirstDifatSector, 0x7FFFFFFF); }, kCorrupt},
        {"DIFAT entry out of range",
         [](AImage& f) { f.Set32(AImage::SectorOffset(f.Get32(HeaderField::kFirstDifatSector)), 0x7FFFFFFF); },
         kCorrupt},
        {"FAT sector listed twice",
         [](AImage& f) {
             f.Set32(AImage::SectorOffset(f.Get32(HeaderField::kFirstDifatSector)), f.Get32(HeaderField::kDifat));
         },
         kCorrupt},
        {"file cut in the FAT", [](AImage& f) { f.Data().resize(f.Data().size() - 1000); }, kCorrupt},
    };
    RunMutations(*difat_, mutations, [this](const Bytes& bytes) { return Put(bytes); });
}

}  // namespace
}  // namespace CompoundFileTest
