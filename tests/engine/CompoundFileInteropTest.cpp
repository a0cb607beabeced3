// Interchange with other implementations of the container: files we write must
// open in Python's olefile with the same streams, and files written by an
// independent writer must open here.
#include "CompoundFileTestSupport.h"

namespace CompoundFileTest {
namespace {

// Reads a file with olefile (strict about incorrect structures) and checks its
// stream names, sizes and content against expected files. It also checks that
// the directory is a valid red-black tree in the container's name order, which
// olefile itself does not insist on.
constexpr const char* kOlefileChecker = R"PY(
import json, sys, olefile
NOSTREAM = 0xFFFFFFFF
manifest = json.load(open(sys.argv[1]))
path = manifest["file"]
if not olefile.isOleFile(path):
    sys.exit("not an OLE file")
ole = olefile.OleFileIO(path, raise_defects=olefile.DEFECT_INCORRECT)
expected = {"".join(map(chr, s["name"])): open(s["expected"], "rb").read() for s in manifest["streams"]}
found = {"/".join(p) for p in ole.listdir(streams=True, storages=True)}
if found != set(expected):
    sys.exit("names differ: %r vs %r" % (sorted(found), sorted(expected)))
for name, content in expected.items():
    if ole.get_size(name) != len(content):
        sys.exit("size of %s: %d, expected %d" % (name, ole.get_size(name), len(content)))
    if ole.openstream(name).read() != content:
        sys.exit("content of %s differs" % name)

def key(name):
    return (len(name), name.upper())

def black_height(sid, low, high):
    if sid == NOSTREAM:
        return 1
    entry = ole.direntries[sid]
    k = key(entry.name)
    if (low is not None and not low < k) or (high is not None and not k < high):
        sys.exit("tree out of order at %s" % entry.name)
    if entry.color == 0:
        for child in (entry.sid_left, entry.sid_right):
            if child != NOSTREAM and ole.direntries[child].color == 0:
                sys.exit("red entry %s has a red child" % entry.name)
    left = black_height(entry.sid_left, low, k)
    if left != black_height(entry.sid_right, k, high):
        sys.exit("black heights differ below %s" % entry.name)
    return left + entry.color

top = ole.direntries[0].sid_child
if top != NOSTREAM and ole.direntries[top].color != 1:
    sys.exit("tree root is red")
black_height(top, None, None)
print("ok")
)PY";

// An independent writer of compound files, packed with struct: version 3 or 4,
// big streams' sectors interleaved so their chains are fragmented, small
// streams interleaved in the mini stream, an optional sub-storage, siblings
// chained through right links (all black), optional false sizes. Unless a size
// is falsified, it checks its own output with olefile.
constexpr const char* kForeignWriter = R"PY(
import json, struct, sys, olefile
spec = json.load(open(sys.argv[1]))
version = spec["version"]
ss = 512 if version == 3 else 4096
ENDOFCHAIN, FREESECT, FATSECT, NOSTREAM = 0xFFFFFFFE, 0xFFFFFFFF, 0xFFFFFFFD, 0xFFFFFFFF
CUTOFF, MINI = 4096, 64

sectors, fat = [], []
def allocate(payload):
    sectors.append(payload.ljust(ss, b"\0"))
    fat.append(FREESECT)
    return len(sectors) - 1
def link(table, chain):
    for a, b in zip(chain, chain[1:]):
        table[a] = b
    if chain:
        table[chain[-1]] = ENDOFCHAIN
def pieces(data, size):
    return [data[i:i + size] for i in range(0, len(data), size)]

def make(s):
    return {"name": "".join(map(chr, s["name"])), "type": 2, "data": open(s["data"], "rb").read(),
            "declared": s.get("size"), "left": NOSTREAM, "right": NOSTREAM, "child": NOSTREAM}
root = {"name": "Root Entry", "type": 5, "left": NOSTREAM, "right": NOSTREAM, "child": NOSTREAM}
entries = [root]
families = [(root, [make(s) for s in spec["streams"]])]
if "storage" in spec:
    storage = {"name": "".join(map(chr, spec["storage"]["name"])), "type": 1,
               "left": NOSTREAM, "right": NOSTREAM, "child": NOSTREAM, "start": 0, "size": 0}
    families[0][1].append(storage)
    families.append((storage, [make(s) for s in spec["storage"]["streams"]]))
for parent, children in families:
    children.sort(key=lambda e: (len(e["name"]), e["name"].upper()))
    first = len(entries)
    entries.extend(children)
    parent["child"] = first if children else NOSTREAM
    for i in range(first, len(entries) - 1):
        entries[i]["right"] = i + 1
streams = [e for e in entries if e["type"] == 2]

big = [e for e in streams if len(e["data"]) >= CUTOFF]
queues = [(e, pieces(e["data"], ss)) for e in big]
for e, _ in queues:
    e["chain"] = []
while any(q for _, q in queues):
    for e, q in queues:
        if q:
            e["chain"].append(allocate(q.pop(0)))
for e in big:
    link(fat, e["chain"])
    e["start"] = e["chain"][0]

small = [e for e in streams if 0 < len(e["data"]) < CUTOFF]
mini_sectors, mini_fat = [], []
queues = [(e, pieces(e["data"], MINI)) for e in small]
for e, _ in queues:
    e["chain"] = []
while any(q for _, q in queues):
    for e, q in queues:
        if q:
            mini_sectors.append(q.pop(0).ljust(MINI, b"\0"))
            mini_fat.append(FREESECT)
            e["chain"].append(len(mini_sectors) - 1)
for e in small:
    link(mini_fat, e["chain"])
    e["start"] = e["chain"][0]
for e in streams:
    if not e["data"]:
        e["start"] = ENDOFCHAIN
mini_stream = b"".join(mini_sectors)
mini_chain = [allocate(p) for p in pieces(mini_stream, ss)]
link(fat, mini_chain)
root["start"] = mini_chain[0] if mini_chain else ENDOFCHAIN
root["size"] = len(mini_stream)

def entry_bytes(e):
    raw = e["name"].encode("utf-16-le") + b"\0\0"
    size = e["declared"] if e.get("declared") is not None else (len(e["data"]) if "data" in e else e["size"])
    return (raw.ljust(64, b"\0") + struct.pack("<HBBIII", len(raw), e["type"], 1, e["left"], e["right"], e["child"])
            + bytes(16 + 4 + 16) + struct.pack("<IQ", e["start"], size))
unused = bytes(64) + struct.pack("<HBBIII", 0, 0, 0, NOSTREAM, NOSTREAM, NOSTREAM) + bytes(48)
directory = b"".join(entry_bytes(e) for e in entries)
while len(directory) % ss:
    directory += unused
directory_chain = [allocate(p) for p in pieces(directory, ss)]
link(fat, directory_chain)
mini_fat_bytes = b"".join(struct.pack("<I", v) for v in mini_fat)
mini_fat_chain = [allocate(p) for p in pieces(mini_fat_bytes, ss)]
link(fat, mini_fat_chain)
# Unused mini FAT entries are free, not zero.
if mini_fat_chain:
    tail = len(mini_fat_bytes) % ss
    if tail:
        sectors[mini_fat_chain[-1]] = mini_fat_bytes[-tail:] + b"\xff" * (ss - tail)

per_fat = ss // 4
fat_count = 1
while fat_count * per_fat < len(sectors) + fat_count:
    fat_count += 1
assert fat_count <= 109
fat_chain = [allocate(b"") for _ in range(fat_count)]
for s in fat_chain:
    fat[s] = FATSECT
fat += [FREESECT] * (fat_count * per_fat - len(fat))
fat_bytes = b"".join(struct.pack("<I", v) for v in fat)
for i, s in enumerate(fat_chain):
    sectors[s] = fat_bytes[i * ss:(i + 1) * ss]

header = bytearray(512)
header[0:8] = bytes.fromhex("D0CF11E0A1B11AE1")
struct.pack_into("<HHHHH", header, 24, 0x3E, version, 0xFFFE, 9 if version == 3 else 12, 6)
struct.pack_into("<9I", header, 40, len(directory_chain) if version == 4 else 0, fat_count, directory_chain[0], 0,
                 CUTOFF, mini_fat_chain[0] if mini_fat_chain else ENDOFCHAIN, len(mini_fat_chain), ENDOFCHAIN, 0)
for i in range(109):
    struct.pack_into("<I", header, 76 + 4 * i, fat_chain[i] if i < fat_count else FREESECT)
with open(spec["out"], "wb") as out:
    out.write(bytes(header).ljust(ss, b"\0") + b"".join(sectors))

if not any(e.get("declared") is not None for e in streams):
    ole = olefile.OleFileIO(spec["out"], raise_defects=olefile.DEFECT_INCORRECT)
    for parent, children in families:
        prefix = "" if parent is root else parent["name"] + "/"
        for e in children:
            if e["type"] == 2 and ole.openstream(prefix + e["name"]).read() != e["data"]:
                sys.exit("olefile reads %s differently" % e["name"])
print("ok")
)PY";

struct ANamedContent {
    std::u16string name;
    Bytes content;
};

class CompoundFileInterop : public ::testing::Test {
protected:
    // Writes each content to a file of its own and describes the streams as JSON.
    std::string StreamsJson(const std::vector<ANamedContent>& streams, const std::string& field,
                            const std::vector<std::uint64_t>& declaredSizes = {})
    {
        std::string json = "[";
        for (std::size_t i = 0; i < streams.size(); ++i) {
            const std::string contentPath = folder_ / ("content" + std::to_string(counter_++));
            WriteFileBytes(contentPath, streams[i].content);
            json += (i ? ",{" : "{") + Quoted("name") + ":" + JsonUnits(streams[i].name) + "," + Quoted(field) + ":" +
                    Quoted(contentPath);
            if (i < declaredSizes.size() && declaredSizes[i] != 0)
                json += ",\"size\":" + std::to_string(declaredSizes[i]);
            json += "}";
        }
        return json + "]";
    }

    APythonRun Run(const char* script, const std::string& json)
    {
        const std::string specPath = folder_ / "spec.json";
        std::ofstream(specPath, std::ios::trunc) << json;
        return RunPython(folder_, script, specPath);
    }

    void ExpectOlefileReads(const std::string& path, const std::vector<ANamedContent>& streams)
    {
        const APythonRun run = Run(
            kOlefileChecker, "{\"file\":" + Quoted(path) + ",\"streams\":" + StreamsJson(streams, "expected") + "}");
        EXPECT_EQ(run.status, 0) << run.output;
        EXPECT_EQ(run.output, "ok\n");
    }

    std::string WriteForeign(int version, const std::vector<ANamedContent>& streams,
                             const std::vector<ANamedContent>& storageStreams,
                             const std::vector<std::uint64_t>& declaredSizes = {})
    {
        const std::string path = folder_ / ("foreign" + std::to_string(counter_++) + ".cfb");
        std::string json = "{\"version\":" + std::to_string(version) + ",\"out\":" + Quoted(path) +
                           ",\"streams\":" + StreamsJson(streams, "data", declaredSizes);
        if (!storageStreams.empty()) {
            json += ",\"storage\":{\"name\":" + JsonUnits(u"Sub") +
                    ",\"streams\":" + StreamsJson(storageStreams, "data") + "}";
        }
        const APythonRun run = Run(kForeignWriter, json + "}");
        EXPECT_EQ(run.status, 0) << run.output;
        return path;
    }

    static std::vector<ANamedContent> TableLikeStreams()
    {
        return {{u"dbHeader", Pattern(40, 1)},        {u"Stream-00000001", Pattern(5000, 2)},
                {u"Stream-00000002", Pattern(20000, 3)}, {u"Stream-00000003", Pattern(3000, 4)},
                {u"Stream-00000004", {}},                {u"Stream-0000000a", Pattern(4096, 5)}};
    }

    static AStreamSet AsSet(const std::vector<ANamedContent>& streams)
    {
        AStreamSet set;
        for (const auto& stream : streams) set[stream.name] = stream.content;
        return set;
    }

    AScratchFolder folder_;
    int counter_ = 0;
};

TEST_F(CompoundFileInterop, OlefileReadsWhatWeWrite)
{
    std::vector<ANamedContent> many;
    for (int i = 0; i < 40; ++i) {
        // Names of many lengths and both cases exercise the tree order.
        std::u16string name = (i % 2 ? u"S" : u"s") + std::u16string(static_cast<std::size_t>(i % 7), u'x') +
                              static_cast<char16_t>(u'A' + i % 26) + static_cast<char16_t>(u'0' + i / 26);
        many.push_back({name, Pattern(static_cast<std::size_t>(i * 397), static_cast<std::uint32_t>(i))});
    }
    const std::vector<std::vector<ANamedContent>> cases = {
        {},
        TableLikeStreams(),
        many,
        {{u"Счета", Pattern(100, 1)}, {u"Ёлка", Pattern(5000, 2)}, {u"ёж", {}}},
        {{u"difat", Pattern(8u << 20, 9)}, {u"small", Pattern(10, 10)}},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        const std::string path = folder_ / ("ours" + std::to_string(i) + ".cfb");
        ASSERT_EQ(WriteContainerFile(path, AsSet(cases[i])), Result::kOk);
        ExpectOlefileReads(path, cases[i]);
    }
}

TEST_F(CompoundFileInterop, ForeignFilesOfBothVersionsOpen)
{
    const std::vector<ANamedContent> inner = {{u"Inner", Pattern(6000, 20)}, {u"Tiny", Pattern(10, 21)}};
    for (int version : {3, 4}) {
        SCOPED_TRACE("version " + std::to_string(version));
        const std::string path = WriteForeign(version, TableLikeStreams(), inner);
        std::unique_ptr<ACompoundFile> file;
        ASSERT_EQ(ACompoundFile::Open(path, false, file), Result::kOk);
        // The sub-storage is neither a stream nor opened.
        EXPECT_EQ(ContentOf(*file), AsSet(TableLikeStreams()));
        EXPECT_FALSE(file->HasStream(u"Sub"));
    }
}

TEST_F(CompoundFileInterop, ForeignFileChangedAndCommittedStillOpensInOlefile)
{
    const std::string path = WriteForeign(4, TableLikeStreams(), {});
    std::unique_ptr<ACompoundFile> file;
    ASSERT_EQ(ACompoundFile::Open(path, true, file), Result::kOk);
    std::vector<ANamedContent> expected = TableLikeStreams();
    ACompoundStream* stream = nullptr;
    ASSERT_EQ(file->OpenStream(u"Stream-00000002", &stream), Result::kOk);
    const Bytes patch = Pattern(3000, 30);
    ASSERT_EQ(stream->WriteAt(19000, patch.data(), patch.size()), Result::kOk);
    expected[2].content.resize(22000);
    std::copy(patch.begin(), patch.end(), expected[2].content.begin() + 19000);
    ASSERT_EQ(file->Commit(), Result::kOk);
    EXPECT_EQ(ContentOf(*file), AsSet(expected));
    ExpectOlefileReads(path, expected);
}

// Saves in place keep streams where they were and put what grows in free sectors, so
// the result must still be a file that an independent reader takes as correct: our
// own files and a foreign one with fragmented chains, each changed in several ways.
TEST_F(CompoundFileInterop, FilesChangedInPlaceStillOpenInOlefile)
{
    const std::string ours = folder_ / "ours.cfb";
    ASSERT_EQ(WriteContainerFile(ours, AsSet(TableLikeStreams())), Result::kOk);
    for (const std::string& path : {ours, WriteForeign(3, TableLikeStreams(), {})}) {
        SCOPED_TRACE(path);
        AStreamSet model = AsSet(TableLikeStreams());
        std::unique_ptr<ACompoundFile> file;
        ASSERT_EQ(ACompoundFile::Open(path, true, file), Result::kOk);
        const auto write = [&](const std::u16string& name, std::size_t at, const Bytes& bytes) {
            ACompoundStream* stream = nullptr;
            if (!file->HasStream(name)) {
                ASSERT_EQ(file->CreateStream(name, &stream), Result::kOk);
            }
            ASSERT_EQ(file->OpenStream(name, &stream), Result::kOk);
            ASSERT_EQ(stream->WriteAt(at, bytes.data(), bytes.size()), Result::kOk);
            Bytes& content = model[name];
            content.resize(std::max(content.size(), at + bytes.size()));
            std::copy(bytes.begin(), bytes.end(), content.begin() + static_cast<std::ptrdiff_t>(at));
            ASSERT_EQ(file->Commit(), Result::kOk);
        };
        write(u"Stream-00000002", 7000, Pattern(100, 40));     // within a fragmented chain
        write(u"Stream-00000002", 20000, Pattern(9000, 41));   // grows into free sectors
        write(u"Stream-00000003", 2000, Pattern(3000, 42));    // small becomes large
        write(u"dbHeader", 40, Pattern(10, 43));               // the mini stream changes
        write(u"Stream-0000000b", 0, Pattern(200, 44));        // a new entry
        ACompoundStream* stream = nullptr;
        ASSERT_EQ(file->OpenStream(u"Stream-0000000a", &stream), Result::kOk);
        ASSERT_EQ(stream->SetSize(50), Result::kOk);           // large becomes small
        model[u"Stream-0000000a"].resize(50);
        ASSERT_EQ(file->Commit(), Result::kOk);
        std::vector<ANamedContent> expected;
        for (const auto& [name, content] : model) expected.push_back({name, content});
        ExpectOlefileReads(path, expected);
    }
}

TEST_F(CompoundFileInterop, ForeignFileWithImpossibleSizeIsRefused)
{
    for (std::uint64_t declared : {std::uint64_t{1} << 40, std::uint64_t{30000}}) {
        // The 20000-byte stream claims more than its chain or the whole file holds.
        const std::string path = WriteForeign(4, TableLikeStreams(), {}, {0, 0, declared});
        std::unique_ptr<ACompoundFile> file;
        EXPECT_EQ(ACompoundFile::Open(path, false, file), Result::kStgDocFileCorrupt) << declared;
    }
}

TEST_F(CompoundFileInterop, DamagedVersion4FilesAreHandled)
{
    const std::string original = WriteForeign(4, TableLikeStreams(), {{u"Inner", Pattern(6000, 20)}});
    const Bytes bytes = ReadFileBytes(original);
    ASSERT_GT(bytes.size(), 4096u * 5);
    const std::string path = folder_ / "damaged.cfb";
    for (std::size_t offset = 0; offset < bytes.size(); offset += offset < 512 ? 1 : 5) {
        Bytes damaged = bytes;
        damaged[offset] ^= 0xFF;
        WriteFileBytes(path, damaged);
        ExpectCleanOpen(path, "offset " + std::to_string(offset));
    }
    for (std::size_t length = 0; length < bytes.size(); length += 97) {
        WriteFileBytes(path, Bytes(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length)));
        ExpectCleanOpen(path, "length " + std::to_string(length));
    }
}

}  // namespace
}  // namespace CompoundFileTest
