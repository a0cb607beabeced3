#include "database/TextRecords.h"

#include <cstring>

namespace Database {

namespace {
constexpr std::size_t kPageFixedSize = 12;
}  // namespace

int AString::Compare(const AString& a, const AString& b, int key)
{
    if (key == 3)
        return Compare3(a.text.size(), b.text.size());
    return a.text.compare(b.text) < 0 ? -1 : (a.text == b.text ? 0 : 1);
}

bool AString::ReadBody(AString& record, AByteCursor& cursor)
{
    std::uint16_t bytes = 0;
    if (!cursor.ReadInt(bytes))
        return false;
    if (bytes == 0)
        return true;
    if (bytes > cursor.Remaining())
        return cursor.Skip(bytes);  // fails the cursor: the slot runs past the stream
    std::u16string text(bytes / 2, u'\0');
    std::memcpy(text.data(), cursor.Here(), bytes / 2 * 2);
    if (!cursor.Skip(bytes))
        return false;
    if (bytes % 2 != 0 || text.back() != u'\0')
        return false;  // kept out of memory and counted as an error
    text.pop_back();
    record.text = std::move(text);
    return true;
}

void AString::WriteBody(const AString& record, std::vector<std::uint8_t>& out)
{
    // Longer texts than a 16-bit count can say are cut at the last whole character.
    const std::size_t characters = std::min<std::size_t>(record.text.size(), 0xFFFF / 2 - 1);
    const auto bytes = static_cast<std::uint16_t>(record.text.empty() ? 0 : (characters + 1) * 2);
    out.push_back(static_cast<std::uint8_t>(bytes));
    out.push_back(static_cast<std::uint8_t>(bytes >> 8));
    for (std::size_t i = 0; i < characters; ++i) {
        out.push_back(static_cast<std::uint8_t>(record.text[i]));
        out.push_back(static_cast<std::uint8_t>(record.text[i] >> 8));
    }
    if (bytes != 0)
        out.insert(out.end(), 2, 0);
}

bool APageInfo::ReadBody(APageInfo& record, AByteCursor& cursor)
{
    if (cursor.Remaining() < kPageFixedSize + 4)
        return cursor.Skip(kPageFixedSize + 4);
    Engine::AFieldReader reader(cursor.Here(), kPageFixedSize);
    Fields(record, reader);
    std::uint32_t length = 0;
    if (!cursor.Skip(kPageFixedSize) || !cursor.ReadInt(length))
        return false;
    if (length > cursor.Remaining())
        return cursor.Skip(length);  // fails the cursor: the slot runs past the stream
    record.settings.assign(cursor.Here(), cursor.Here() + length);
    return cursor.Skip(length);
}

void APageInfo::WriteBody(const APageInfo& record, std::vector<std::uint8_t>& out)
{
    const std::size_t start = out.size();
    out.resize(start + kPageFixedSize);
    Engine::AFieldWriter writer(out.data() + start, out.data() + out.size());
    Fields(record, writer);
    FD_VERIFY(writer.Filled());
    const auto length = static_cast<std::uint32_t>(record.settings.size());
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<std::uint8_t>(length >> shift));
    out.insert(out.end(), record.settings.begin(), record.settings.end());
}

}  // namespace Database
