#include "ByteBuilder.h"
#include "DataFileHelpers.h"

#include <chrono>
#include <cstdio>
#include <fstream>

using namespace DataFileHelpers;
using Engine::StreamNames::Table;

namespace {

std::vector<char> ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::vector<char>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

HRESULT OpenResult(const std::string& path)
{
    ADatabase db(FixedClock());
    return db.Open(path);
}

}  // namespace

TEST(DataFileDamage, FilesThatAreNotDataFiles)
{
    TempFolder folder;
    EXPECT_EQ(OpenResult(folder.File("missing.fend")), Result::FromErrno(ENOENT));
    WriteFile(folder.File("text.fend"), {'h', 'e', 'l', 'l', 'o'});
    EXPECT_EQ(OpenResult(folder.File("text.fend")), Result::kNotDataFile);
    WriteFile(folder.File("empty.fend"), {});
    EXPECT_EQ(OpenResult(folder.File("empty.fend")), Result::kNotDataFile);

    const std::string path = SavedFile(folder, "small.fend", true);
    auto header = ReadStream(path, u"dbHeader");
    header[3] = 'X';  // "FeXdral"
    WriteStream(path, u"dbHeader", header);
    EXPECT_EQ(OpenResult(path), Result::kNotDataFile);
    WriteStream(path, u"dbHeader", {8});  // the signature is cut short
    EXPECT_EQ(OpenResult(path), Result::kNotDataFile);

    // A compound file without the header stream.
    std::unique_ptr<Engine::ACompoundFile> file;
    ASSERT_EQ(Engine::ACompoundFile::Create(folder.File("other.fend"), file), Result::kOk);
    Engine::ACompoundStream* stream = nullptr;
    ASSERT_EQ(file->CreateStream(u"Contents", &stream), Result::kOk);
    ASSERT_EQ(file->Commit(), Result::kOk);
    file.reset();
    EXPECT_EQ(OpenResult(folder.File("other.fend")), Result::kNotDataFile);
}

// Damaged table streams are bad input: the open fails as unreadable, without an assertion.
TEST(DataFileDamage, DamagedTableStreamsAreRefused)
{
    struct Case {
        const char* what;
        Engine::ATableId table;
        std::vector<std::uint8_t> content;
        HRESULT expected;
    };
    const auto currencyHeader = [] { return ByteBuilder().U32(24).U32(16).U32(12).U32(3).I64(1); };
    const auto stringHeader = [] { return ByteBuilder().U32(24).U32(16).U32(0).U32(3).I64(1); };
    const Case cases[] = {
        {"slot that does not fit", 4, currencyHeader().U32(1).I64(0).U8(0).Zeros(3).Zeros(12).Zeros(5).Bytes(), Result::kStgDocFileCorrupt},
        {"header size past the end", 4, ByteBuilder().U32(0xFFFFFFFF).U32(16).U32(12).U32(1).I64(1).Bytes(), Result::kStgDocFileCorrupt},
        {"header size too small", 4, ByteBuilder().U32(4).U32(16).U32(12).U32(1).I64(1).Bytes(), Result::kStgDocFileCorrupt},
        {"empty slots would never end", 4, ByteBuilder().U32(24).U32(0).U32(0).U32(1).I64(1).U32(7).Bytes(), Result::kStgDocFileCorrupt},
        {"huge record size", 4, ByteBuilder().U32(24).U32(16).U32(1u << 30).U32(1).I64(1).Zeros(40).Bytes(), Result::kStgDocFileCorrupt},
        {"even identifier", 4, currencyHeader().U32(2).I64(0).U8(0).Zeros(3).Zeros(12).Bytes(), Result::kStgDocFileCorrupt},
        {"text longer than the stream", 1, stringHeader().U32(1).I64(0).U8(0).Zeros(3).U16(400).U16('a').Bytes(), Result::kStgDocFileCorrupt},
        {"text count cut off", 1, stringHeader().U32(1).I64(0).U8(0).Zeros(3).U8(4).Bytes(), Result::kStgDocFileCorrupt},
        {"text without its NUL", 1, stringHeader().U32(1).I64(0).U8(0).Zeros(3).U16(4).U16('a').U16('b').Bytes(), Result::kOpenedWithErrors},
        {"odd text count", 1, stringHeader().U32(1).I64(0).U8(0).Zeros(3).U16(3).U8('a').U8(0).U8(0).Bytes(), Result::kOpenedWithErrors},
        {"page settings past the end", 3, stringHeader().U32(1).I64(0).U8(0).Zeros(3).Zeros(12).U32(1000).Zeros(10).Bytes(), Result::kStgDocFileCorrupt},
    };
    TempFolder folder;
    const std::string pristine = SavedFile(folder, "small.fend", true);
    const auto original = ReadFile(pristine);
    for (const Case& c : cases) {
        const std::string path = folder.File("case.fend");
        WriteFile(path, original);
        WriteStream(path, Table(c.table), c.content);
        ADatabase db(FixedClock());
        EXPECT_EQ(db.Open(path), c.expected) << c.what;
    }
}

TEST(DataFileDamage, TruncatedFilesFailCleanly)
{
    TempFolder folder;
    const std::string pristine = SavedFile(folder, "small.fend", true);
    const auto original = ReadFile(pristine);
    const std::string path = folder.File("mutant.fend");
    const auto started = std::chrono::steady_clock::now();
    int opened = 0;
    for (std::size_t length = 0; length < original.size(); length += 97) {
        WriteFile(path, std::vector<char>(original.begin(), original.begin() + static_cast<std::ptrdiff_t>(length)));
        opened += Result::Succeeded(OpenResult(path));
    }
    // A cut file is never taken for a whole one, and none may crash or hang.
    EXPECT_EQ(opened, 0);
    EXPECT_TRUE(Result::Succeeded(OpenResult(pristine)));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(60));
}

TEST(DataFileDamage, DataFileOpensInAnIndependentCompoundFileReader)
{
    TempFolder folder;
    const std::string path = SavedFile(folder, "small.fend", true);
    const std::string script = folder.File("list.py");
    {
        std::ofstream out(script);
        out << "import olefile, sys\n"
               "ole = olefile.OleFileIO(sys.argv[1])\n"
               "for entry in sorted(ole.listdir(streams=True, storages=False)):\n"
               "    name = '/'.join(entry)\n"
               "    print(name, ole.get_size(name))\n";
    }
    const std::string command = std::string(FENDRAL_PYTHON) + " " + script + " " + path;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string listing;
    char line[256];
    while (fgets(line, sizeof line, pipe))
        listing += line;
    ASSERT_EQ(pclose(pipe), 0) << listing;

    std::string expected;
    std::unique_ptr<Engine::ACompoundFile> file;
    ASSERT_EQ(Engine::ACompoundFile::Open(path, false, file), Result::kOk);
    for (Engine::ATableId id = 1; id <= 19; ++id) {
        Engine::ACompoundStream* stream = nullptr;
        ASSERT_EQ(file->OpenStream(Table(id), &stream), Result::kOk) << id;
        char row[64];
        std::snprintf(row, sizeof row, "Stream-%08x %llu\n", id, static_cast<unsigned long long>(stream->Size()));
        expected += row;
    }
    expected += "dbHeader 41\n";  // 37 logical bytes and the page seed
    EXPECT_EQ(listing, expected);
}
