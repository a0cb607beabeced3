#include "database/PreviousGenerationFile.h"

#include "core/CodePage.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unordered_map>
#include <unordered_set>

namespace Database::PreviousGeneration {

namespace {

constexpr std::size_t kPageSize = 4096;
constexpr std::size_t kBlockHeaderSize = 12;
constexpr std::size_t kFileHeaderEnd = 80;     // the header is the data of the first block
constexpr std::uint32_t kHeaderBlockSize = 64;
constexpr std::uint64_t kLargestFile = 0xFFFFFFFFu;  // offsets are 32-bit
constexpr std::int64_t kMillisecondsPerDay = 86400000;

// Stored lengths of the old records: the furthest field read, plus its width.
constexpr std::uint32_t kCurrencyLength = 16;
constexpr std::uint32_t kAccountLength = 16;
constexpr std::uint32_t kRateLength = 40;
constexpr std::uint32_t kCategoryLength = 24;
constexpr std::uint32_t kTransactionLength = 100;
constexpr std::uint32_t kTextStart = 10;

// Header fields.
constexpr std::size_t kPasswordCheckAt = 28, kFirstAccountAt = 44, kIncomeRootAt = 48, kExpenseRootAt = 52,
                      kAgentRootAt = 56, kFirstCurrencyAt = 60, kProjectRootAt = 64, kFirstRateAt = 68,
                      kTransactionRootAt = 76;

// Reads one file; every access is checked against its size, and the first
// failure marks the whole file as damaged.
class AParser {
public:
    AParser(std::span<const std::uint8_t> bytes, std::uint32_t codePage, Engine::AProgress* progress)
        : bytes_(bytes), codePage_(codePage), progress_(progress)
    {
    }

    bool Parse(AOldData& out);

private:
    bool Fits(std::uint64_t at, std::uint64_t length) const { return at + length <= bytes_.size(); }
    std::uint8_t U8(std::uint64_t at) { return Fits(at, 1) ? bytes_[at] : Fail<std::uint8_t>(); }
    std::uint16_t U16(std::uint64_t at) { return static_cast<std::uint16_t>(Read(at, 2)); }
    std::uint32_t U32(std::uint64_t at) { return static_cast<std::uint32_t>(Read(at, 4)); }
    std::int64_t I64(std::uint64_t at) { return static_cast<std::int64_t>(Read(at, 8)); }
    double F64(std::uint64_t at)
    {
        const std::uint64_t bits = Read(at, 8);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    std::uint64_t Read(std::uint64_t at, int width)
    {
        if (!Fits(at, static_cast<std::uint64_t>(width)))
            return Fail<std::uint64_t>();
        std::uint64_t value = 0;
        for (int i = width - 1; i >= 0; --i)
            value = value << 8 | bytes_[at + static_cast<std::uint64_t>(i)];
        return value;
    }
    template <class T>
    T Fail()
    {
        damaged_ = true;
        return T{};
    }

    bool WalkBlocks(std::uint64_t& total);
    // Whether a used block holds at least `length` bytes at the offset.
    bool Block(AOffset offset, std::uint32_t length);
    // The same for a record that is read: its block counts towards the progress,
    // and its length towards the bytes read.
    bool Record(AOffset offset, std::uint32_t length);
    // The bytes read can't exceed the file unless records overlap.
    bool Consume(std::uint64_t length);
    void Progress(AOffset offset)
    {
        if (progress_)
            progress_->Add(U16(offset - 4));
    }
    std::u16string Text(AOffset offset);
    std::optional<std::u16string> OptionalText(AOffset offset);
    // Follows a list through the word at `nextAt` of each record, stopping on a repeat.
    template <class F>
    bool WalkList(AOffset first, std::uint32_t nextAt, F visit);
    void ReadTree(AOffset root, AOldTree& tree);
    void ReadTransactions(AOffset root, std::vector<AOldTransaction>& out);
    AOldTransaction ReadTransaction(AOffset at);
    bool CheckReferences(const AOldData& data) const;

    std::span<const std::uint8_t> bytes_;
    std::uint32_t codePage_;
    Engine::AProgress* progress_;
    bool damaged_ = false;
    std::uint64_t consumed_ = 0;
    std::unordered_set<AOffset> categories_;  // one node belongs to one tree, once
};

bool AParser::WalkBlocks(std::uint64_t& total)
{
    // Every page starts a chain at its offset 4; chains may not loop. A block
    // already counted by an earlier chain ends the chain without counting it again.
    std::unordered_map<std::uint64_t, std::size_t> seenBy;
    total = 0;
    for (std::size_t page = 0; page * kPageSize < bytes_.size(); ++page) {
        std::uint64_t header = page * kPageSize + 4;
        while (header != 0) {
            const auto [it, fresh] = seenBy.emplace(header, page);
            if (!fresh) {
                if (it->second == page)
                    return false;
                break;
            }
            const std::uint16_t size = U16(header + 8);
            const std::uint8_t flags = U8(header + 10);
            const std::uint32_t next = U32(header);
            if (damaged_ || !Fits(header + kBlockHeaderSize, size))
                return false;
            if ((flags & 1) == 0)
                total += size;
            header = next;
        }
    }
    return true;
}

bool AParser::Block(AOffset offset, std::uint32_t length)
{
    // The block header sits right before the data: its size at -4, its flags at -2.
    if (offset < kBlockHeaderSize)
        return Fail<bool>();
    const std::uint16_t size = U16(offset - 4);
    const std::uint8_t flags = U8(offset - 2);
    if (damaged_ || (flags & 1) != 0 || size < length || !Fits(offset, size))
        return Fail<bool>();
    return true;
}

bool AParser::Consume(std::uint64_t length)
{
    // Records of a sound file do not overlap; a damaged one could name the same
    // bytes again and again and make the lists (and the memory) grow without end.
    consumed_ += length;
    if (consumed_ > bytes_.size())
        return Fail<bool>();
    return true;
}

bool AParser::Record(AOffset offset, std::uint32_t length)
{
    if (!Block(offset, length) || !Consume(length))
        return false;
    Progress(offset);
    return true;
}

std::u16string AParser::Text(AOffset offset)
{
    if (offset == 0 || !Block(offset, kTextStart + 1))
        return {};
    const std::uint16_t size = U16(offset - 4);
    const auto* start = bytes_.data() + offset + kTextStart;
    const auto* end = static_cast<const std::uint8_t*>(std::memchr(start, 0, size - kTextStart));
    if (!end) {
        damaged_ = true;
        return {};
    }
    const std::string_view bytes(reinterpret_cast<const char*>(start), static_cast<std::size_t>(end - start));
    if (!Consume(kTextStart + bytes.size() + 1))
        return {};
    Progress(offset);
    std::u16string text;
    if (UtilityClasses::Strings::MultiByteToUtf16(bytes, codePage_, text))
        return text;
    // A code page this system does not know: keep the bytes as Latin-1 rather than lose the text.
    text.clear();
    for (char byte : bytes)
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(byte)));
    return text;
}

std::optional<std::u16string> AParser::OptionalText(AOffset offset)
{
    if (offset == 0)
        return std::nullopt;
    return Text(offset);
}

template <class F>
bool AParser::WalkList(AOffset first, std::uint32_t nextAt, F visit)
{
    std::unordered_set<AOffset> seen;
    for (AOffset at = first; at != 0 && !damaged_; at = U32(std::uint64_t{at} + nextAt)) {
        if (!seen.insert(at).second)
            return Fail<bool>();
        visit(at);
    }
    return !damaged_;
}

void AParser::ReadTree(AOffset root, AOldTree& tree)
{
    if (root == 0)
        return;
    auto add = [&](AOffset at, int parent) {
        if (!categories_.insert(at).second || !Record(at, kCategoryLength)) {
            damaged_ = true;
            return;
        }
        tree.nodes.push_back({at, parent, Text(U32(std::uint64_t{at} + 16)), OptionalText(U32(std::uint64_t{at} + 20))});
    };
    add(root, -1);
    // Breadth first over the first-child and next-sibling words; a node seen twice
    // is a cycle (or a node in two places) and ends the reading.
    for (std::size_t i = 0; i < tree.nodes.size() && !damaged_; ++i) {
        const int parent = static_cast<int>(i);
        for (AOffset child = U32(std::uint64_t{tree.nodes[i].offset} + 4); child != 0 && !damaged_;
             child = U32(std::uint64_t{child} + 8))
            add(child, parent);
    }
}

AOldTransaction AParser::ReadTransaction(AOffset at)
{
    const std::uint64_t base = at;
    AOldTransaction t;
    t.offset = at;
    const std::optional<ADateTime> when = FromOleDate(F64(base));
    if (!when)
        return Fail<AOldTransaction>();
    t.date = when->date;
    t.time = when->milliseconds;
    const std::uint8_t flags = U8(base + 56);
    t.executed = (flags & 1) != 0;
    t.locked = (flags & 2) != 0;
    t.transfer = (flags & 4) != 0;
    t.amount1 = I64(base + 8);
    if (t.transfer) {
        t.account1 = U32(base + 40);
        t.account2 = U32(base + 44);
        t.amount2 = I64(base + 16);
        t.balance1 = I64(base + 24);
        t.balance2 = I64(base + 32);
    } else {
        t.account1 = U32(base + 24);
        t.balance1 = I64(base + 16);
        t.itemCategory = U32(base + 32);
        t.agentCategory = U32(base + 28);
    }
    t.projectCategory = U32(base + 48);
    t.comment = OptionalText(U32(base + 52));
    if (!t.executed)
        for (int i = 0; i < 3; ++i)
            t.recurrence[i] = U32(base + 60 + 4 * static_cast<std::uint64_t>(i));
    return t;
}

void AParser::ReadTransactions(AOffset root, std::vector<AOldTransaction>& out)
{
    if (root == 0)
        return;
    // The first transaction: down the word at 72 as far as it goes, then the word at 96.
    AOffset first = root;
    for (std::uint32_t link : {72u, 96u}) {
        std::unordered_set<AOffset> seen;
        while (!damaged_ && Block(first, kTransactionLength)) {
            const AOffset next = U32(std::uint64_t{first} + link);
            if (next == 0)
                break;
            if (!seen.insert(first).second) {
                damaged_ = true;
                break;
            }
            first = next;
        }
    }
    WalkList(first, 92, [&](AOffset at) {
        if (Record(at, kTransactionLength))
            out.push_back(ReadTransaction(at));
    });
}

bool AParser::CheckReferences(const AOldData& data) const
{
    std::unordered_set<AOffset> currencies, accounts;
    for (const AOldCurrency& currency : data.currencies)
        currencies.insert(currency.offset);
    for (const AOldAccount& account : data.accounts) {
        if (!currencies.contains(account.currency))
            return false;
        accounts.insert(account.offset);
    }
    for (const AOldRate& rate : data.rates)
        if (!currencies.contains(rate.currency1) || !currencies.contains(rate.currency2))
            return false;
    for (const AOldTransaction& t : data.transactions)
        if (!accounts.contains(t.account1) || (t.transfer && !accounts.contains(t.account2)))
            return false;
    // The two trees of items are always there.
    return !data.income.nodes.empty() && !data.expense.nodes.empty();
}

bool AParser::Parse(AOldData& out)
{
    if (!HasOldHeader(bytes_))
        return false;
    std::uint64_t used = 0;
    if (!WalkBlocks(used))
        return false;
    out.progressTotal = used >= kHeaderBlockSize ? used - kHeaderBlockSize : 0;
    if (progress_) {
        progress_->Reset();
        progress_->SetTotal(out.progressTotal);
    }
    out.passwordCheck = U32(kPasswordCheckAt);

    WalkList(U32(kFirstCurrencyAt), 0, [&](AOffset at) {
        if (Record(at, kCurrencyLength))
            out.currencies.push_back({at, Text(U32(std::uint64_t{at} + 8)), Text(U32(std::uint64_t{at} + 12))});
    });
    WalkList(U32(kFirstRateAt), 36, [&](AOffset at) {
        if (!Record(at, kRateLength))
            return;
        const std::uint64_t base = at;
        const std::optional<ADateTime> when = FromOleDate(F64(base));
        if (!when) {
            damaged_ = true;
            return;
        }
        out.rates.push_back({at, when->date, I64(base + 8), I64(base + 16), U32(base + 24), U32(base + 28)});
    });
    WalkList(U32(kFirstAccountAt), 0, [&](AOffset at) {
        if (Record(at, kAccountLength))
            out.accounts.push_back({at, Text(U32(std::uint64_t{at} + 8)), U32(std::uint64_t{at} + 12)});
    });
    ReadTree(U32(kIncomeRootAt), out.income);
    ReadTree(U32(kExpenseRootAt), out.expense);
    ReadTree(U32(kAgentRootAt), out.agents);
    ReadTree(U32(kProjectRootAt), out.projects);
    ReadTransactions(U32(kTransactionRootAt), out.transactions);
    return !damaged_ && CheckReferences(out);
}

}  // namespace

std::optional<ADateTime> FromOleDate(double value)
{
    if (!std::isfinite(value) || value <= Dates::kMinDate - 1.0 || value >= Dates::kMaxDate + 1.0)
        return std::nullopt;
    const double whole = std::trunc(value);
    const double fraction = std::fabs(value) - std::floor(std::fabs(value));
    auto milliseconds = static_cast<std::int64_t>(fraction * static_cast<double>(kMillisecondsPerDay) + 0.5);
    // A fraction a hair below 1 rounds up to midnight of the next day; it stays on its day.
    if (milliseconds >= kMillisecondsPerDay)
        milliseconds = kMillisecondsPerDay - 1;
    const auto date = static_cast<ADate>(whole);
    if (!Dates::IsValid(date))
        return std::nullopt;
    return ADateTime{date, static_cast<std::int32_t>(milliseconds)};
}

bool HasOldHeader(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kFileHeaderEnd)
        return false;
    auto u32 = [&](std::size_t at) {
        return std::uint32_t{bytes[at]} | std::uint32_t{bytes[at + 1]} << 8 | std::uint32_t{bytes[at + 2]} << 16 |
               std::uint32_t{bytes[at + 3]} << 24;
    };
    auto u16 = [&](std::size_t at) { return static_cast<std::uint16_t>(bytes[at] | bytes[at + 1] << 8); };
    return u32(4) != 0 && u32(8) == 0 && u16(12) == kHeaderBlockSize && (bytes[14] & 1) == 0 &&
           std::memcmp(bytes.data() + 16, "FendBase", 8) == 0 && u16(26) == 1;
}

HRESULT ParseOldFile(std::span<const std::uint8_t> bytes, std::uint32_t codePage, AOldData& out,
                     Engine::AProgress* progress)
{
    out = AOldData{};
    AParser parser(bytes, codePage, progress);
    if (!parser.Parse(out)) {
        out = AOldData{};
        return Result::kNotDataFile;
    }
    return Result::kOk;
}

namespace {

// Reads exactly `size` bytes at `offset`; false on a short read or an error (errno set).
bool ReadAt(int fd, std::uint64_t offset, std::uint8_t* to, std::size_t size)
{
    while (size > 0) {
        const ssize_t got = pread(fd, to, size, static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            if (got == 0)
                errno = EIO;
            return false;
        }
        to += got;
        offset += static_cast<std::uint64_t>(got);
        size -= static_cast<std::size_t>(got);
    }
    return true;
}

}  // namespace

HRESULT ReadOldFile(const std::string& path, std::vector<std::uint8_t>& bytes)
{
    bytes.clear();
    // Not blocking: a FIFO given as the path must not hang the open.
    const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return Result::FromErrno(errno);
    struct AClose {
        int fd;
        ~AClose() { close(fd); }
    } closer{fd};
    struct stat info {};
    if (fstat(fd, &info) != 0)
        return Result::FromErrno(errno);
    if (!S_ISREG(info.st_mode) || info.st_size < static_cast<off_t>(kFileHeaderEnd) ||
        static_cast<std::uint64_t>(info.st_size) > kLargestFile)
        return Result::kNotDataFile;
    // The header first, so that a large file of another kind is not read whole.
    std::uint8_t header[kFileHeaderEnd];
    if (!ReadAt(fd, 0, header, sizeof header))
        return Result::FromErrno(errno);
    if (!HasOldHeader(header))
        return Result::kNotDataFile;
    bytes.resize(static_cast<std::size_t>(info.st_size));
    if (!ReadAt(fd, 0, bytes.data(), bytes.size())) {
        bytes.clear();
        return Result::FromErrno(errno);
    }
    return Result::kOk;
}

}  // namespace Database::PreviousGeneration
