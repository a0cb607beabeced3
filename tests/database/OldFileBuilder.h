// Builds previous-generation ("FendBase") files byte by byte for tests: pages of
// 4096 bytes, each with a chain of blocks (12-byte header, then the data) starting
// at offset 4 of the page; the file header is the data of the first block.
#pragma once

#include "core/CodePage.h"

#include <cstdint>
#include <cstring>
#include <cstdlib>
#include <string>
#include <vector>

class OldFileBuilder {
public:
    static constexpr std::uint32_t kPage = 4096;

    // Header fields (offsets in the file).
    enum Field : std::uint32_t {
        kPasswordCheck = 28,
        kFirstAccount = 44,
        kIncomeRoot = 48,
        kExpenseRoot = 52,
        kAgentRoot = 56,
        kFirstCurrency = 60,
        kProjectRoot = 64,
        kFirstRate = 68,
        kTransactionRoot = 76,
    };

    OldFileBuilder()
    {
        const std::uint32_t header = Block(64);
        std::memcpy(bytes_.data() + header, "FendBase", 8);
        Put16(header + 10, 1);  // file offset 26
    }

    // A used block of `size` data bytes; answers the offset of its data.
    std::uint32_t Block(std::uint16_t size)
    {
        if (12u + size > kPage - 4)
            std::abort();  // the tests never need a block larger than a page
        std::uint32_t header = next_;
        if (header + 12 + size > pageStart_ + kPage) {
            // The chain of this page ends; the next page starts its own at offset 4.
            pageStart_ += kPage;
            header = pageStart_ + 4;
            last_ = 0;
        }
        bytes_.resize(header + 12 + size, 0);
        if (last_ != 0)
            Put32(last_, header);
        Put16(header + 8, size);
        last_ = header;
        next_ = header + 12 + size;
        return header + 12;
    }

    // The next block starts a new page, leaving the rest of this one unused.
    void NewPage() { next_ = pageStart_ + kPage; }

    // The code page the texts are written in.
    void SetCodePage(std::uint32_t codePage) { codePage_ = codePage; }

    // An 8-bit text record: ten bytes before the characters, then the NUL.
    std::uint32_t Text(const std::u16string& text)
    {
        std::string bytes;
        if (!UtilityClasses::Strings::Utf16ToMultiByte(text, codePage_, bytes))
            std::abort();
        const std::uint32_t at = Block(static_cast<std::uint16_t>(10 + bytes.size() + 1));
        std::memcpy(bytes_.data() + at + 10, bytes.data(), bytes.size());
        return at;
    }

    std::uint32_t Currency(const std::u16string& name, const std::u16string& code)
    {
        const std::uint32_t at = Block(16);
        Put32(at + 8, Text(name));
        Put32(at + 12, Text(code));
        return at;
    }

    std::uint32_t Account(const std::u16string& name, std::uint32_t currency)
    {
        const std::uint32_t at = Block(16);
        Put32(at + 8, Text(name));
        Put32(at + 12, currency);
        return at;
    }

    std::uint32_t Rate(double oleDate, std::int64_t amount1, std::int64_t amount2, std::uint32_t currency1,
                       std::uint32_t currency2)
    {
        const std::uint32_t at = Block(40);
        PutDouble(at, oleDate);
        Put64(at + 8, amount1);
        Put64(at + 16, amount2);
        Put32(at + 24, currency1);
        Put32(at + 28, currency2);
        return at;
    }

    std::uint32_t Category(const std::u16string& name, const std::u16string& comment = u"")
    {
        const std::uint32_t at = Block(24);
        Put32(at + 16, Text(name));
        if (!comment.empty())
            Put32(at + 20, Text(comment));
        return at;
    }

    // Links `children` under `parent` through first-child and next-sibling words.
    void Children(std::uint32_t parent, const std::vector<std::uint32_t>& children)
    {
        Put32(parent + 4, children.empty() ? 0 : children.front());
        for (std::size_t i = 0; i + 1 < children.size(); ++i)
            Put32(children[i] + 8, children[i + 1]);
    }

    struct Single {
        double when;
        std::uint32_t account;
        std::int64_t amount, balance;
        std::uint32_t item = 0, agent = 0, project = 0;
        bool executed = true, locked = false;
        std::u16string comment;
        std::uint32_t recurrence[3] = {};
    };
    std::uint32_t Transaction(const Single& t)
    {
        const std::uint32_t at = Block(100);
        PutDouble(at, t.when);
        Put64(at + 8, t.amount);
        Put64(at + 16, t.balance);
        Put32(at + 24, t.account);
        Put32(at + 28, t.agent);
        Put32(at + 32, t.item);
        Put32(at + 48, t.project);
        Finish(at, t.executed, t.locked, false, t.comment, t.recurrence);
        return at;
    }

    struct Transfer {
        double when;
        std::uint32_t from, to;
        std::int64_t amount1, amount2, balance1, balance2;
        std::uint32_t project = 0;
        bool executed = true, locked = false;
        std::u16string comment;
        std::uint32_t recurrence[3] = {};
    };
    std::uint32_t Transaction(const Transfer& t)
    {
        const std::uint32_t at = Block(100);
        PutDouble(at, t.when);
        Put64(at + 8, t.amount1);
        Put64(at + 16, t.amount2);
        Put64(at + 24, t.balance1);
        Put64(at + 32, t.balance2);
        Put32(at + 40, t.from);
        Put32(at + 44, t.to);
        Put32(at + 48, t.project);
        Finish(at, t.executed, t.locked, true, t.comment, t.recurrence);
        return at;
    }

    // Links records into a list through the word at `nextAt`; the header field names the first.
    void List(std::uint32_t headerField, const std::vector<std::uint32_t>& records, std::uint32_t nextAt)
    {
        Put32(headerField, records.empty() ? 0 : records.front());
        for (std::size_t i = 0; i + 1 < records.size(); ++i)
            Put32(records[i] + nextAt, records[i + 1]);
    }

    void Put8(std::uint32_t at, std::uint8_t v) { bytes_.at(at) = v; }
    void Put16(std::uint32_t at, std::uint16_t v) { Put(at, v, 2); }
    void Put32(std::uint32_t at, std::uint32_t v) { Put(at, v, 4); }
    void Put64(std::uint32_t at, std::int64_t v) { Put(at, static_cast<std::uint64_t>(v), 8); }
    void PutDouble(std::uint32_t at, double v)
    {
        std::uint64_t bits;
        std::memcpy(&bits, &v, 8);
        Put(at, bits, 8);
    }
    std::uint32_t Get32(std::uint32_t at) const
    {
        return bytes_.at(at) | bytes_.at(at + 1) << 8 | bytes_.at(at + 2) << 16 | std::uint32_t{bytes_.at(at + 3)} << 24;
    }

    const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
    std::vector<std::uint8_t>& Bytes() { return bytes_; }

private:
    void Put(std::uint32_t at, std::uint64_t v, int n)
    {
        for (int i = 0; i < n; ++i)
            bytes_.at(at + static_cast<std::uint32_t>(i)) = static_cast<std::uint8_t>(v >> (8 * i));
    }
    void Finish(std::uint32_t at, bool executed, bool locked, bool transfer, const std::u16string& comment,
                const std::uint32_t (&recurrence)[3])
    {
        Put8(at + 56, static_cast<std::uint8_t>((executed ? 1 : 0) | (locked ? 2 : 0) | (transfer ? 4 : 0)));
        if (!comment.empty())
            Put32(at + 52, Text(comment));
        for (std::uint32_t i = 0; i < 3; ++i)
            Put32(at + 60 + 4 * i, recurrence[i]);
    }

    std::vector<std::uint8_t> bytes_;
    std::uint32_t pageStart_ = 0;
    std::uint32_t next_ = 4;
    std::uint32_t last_ = 0;
    std::uint32_t codePage_ = 1251;
};
