#include "exchange/xml/xmlParseCursor.h"

#include "core/Assert.h"
#include "exchange/xml/xmlProgress.h"

#include <algorithm>
#include <cstring>
#include <limits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace UtilityClasses::XML::Implementation {

namespace {

constexpr bool IsNameStart(unsigned char c)
{
    // Bytes of multi-byte UTF-8 sequences count as letters, so non-Latin names written
    // by the writer can be read back.
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80;
}

constexpr bool IsNameByte(unsigned char c)
{
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '-';
}

constexpr AByteSet kNotName = AByteSet::Where([](unsigned char c) { return !IsNameByte(c); });
constexpr AByteSet kNotSpace = AByteSet::Where([](unsigned char c) { return c > 0x20; });

char Lower(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether any of the eight bytes is below 0x0E, that is, could be a CR or an LF.
bool MayHoldLineBreak(const char* p)
{
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    constexpr std::uint64_t kOnes = 0x0101010101010101ull;
    return ((word - kOnes * 0x0E) & ~word & (kOnes * 0x80)) != 0;
}

// The first stop byte from p on, or end. Most runs in markup are short, so the first
// bytes are tried one by one before the listed stops are compared sixteen at a time.
const char* FindStop(const char* p, const char* end, const AByteSet& stops)
{
    for (const char* first = p + std::min<std::ptrdiff_t>(end - p, 16); p != first; ++p)
        if (stops.Contains(*p))
            return p;
    const std::string_view listed = stops.Listed();
#if defined(__SSE2__)
    if (listed.empty()) {
        while (p != end && !stops.Contains(*p))
            ++p;
        return p;
    }
    __m128i listedStops[AByteSet::kMaxListed];
    for (std::size_t i = 0; i < listed.size(); ++i)
        listedStops[i] = _mm_set1_epi8(listed[i]);
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        __m128i hits = _mm_cmpeq_epi8(bytes, listedStops[0]);
        for (std::size_t i = 1; i < listed.size(); ++i)
            hits = _mm_or_si128(hits, _mm_cmpeq_epi8(bytes, listedStops[i]));
        if (const int mask = _mm_movemask_epi8(hits))
            return p + __builtin_ctz(static_cast<unsigned>(mask));
    }
#else
    (void)listed;
#endif
    while (p != end && !stops.Contains(*p))
        ++p;
    return p;
}

}  // namespace

AParseCursor::AParseCursor(Streams::IStream* stream, AUserProgressNotifier* notifier, std::uint64_t totalSize)
    : m_stream(stream), m_notifier(notifier), m_totalSize(totalSize)
{
    if (!m_stream) {
        m_endOfInput = true;
        m_streamError = Result::kStgInvalidPointer;
    }
    if (!m_notifier || m_totalSize == 0)
        m_nextReportAt = std::numeric_limits<std::uint64_t>::max();
}

void AParseCursor::Fill(std::size_t needed)
{
    while (!m_endOfInput && m_offset + needed >= m_size) {
        const std::size_t room = std::min(kBlockSize, kBufferCapacity - m_size);
        if (!FD_VERIFY(room > 0)) {
            m_endOfInput = true;
            break;
        }
        std::uint32_t got = 0;
        const HRESULT hr = m_stream->Read(m_buffer.data() + m_size, static_cast<std::uint32_t>(room), &got);
        if (Result::Failed(hr)) {
            m_streamError = hr;
            m_endOfInput = true;
            break;
        }
        if (got == 0) {
            m_endOfInput = true;
            break;
        }
        // A foreign stream that claims more than was asked for gets no credit for it.
        m_size += std::min<std::size_t>(got, room);
        m_peakSize = std::max(m_peakSize, m_size);
    }
}

char AParseCursor::PeekSlow(std::size_t k)
{
    if (!FD_VERIFY(k < kMaxLookahead))
        return 0;
    Fill(k);
    return m_offset + k < m_size ? m_buffer[m_offset + k] : 0;
}

void AParseCursor::Advance(std::size_t n)
{
    n = std::min(n, m_size - m_offset);
    const char* begin = m_buffer.data() + m_offset;
    const char* end = begin + n;
    const char* lastBreak = nullptr;
    for (const char* p = begin; p != end;) {
        if (end - p >= 8 && !MayHoldLineBreak(p)) {
            p += 8;
            continue;
        }
        for (const char* stop = std::min(p + 8, end); p != stop; ++p) {
            if (*p == '\n') {
                ++m_line;
                lastBreak = p;
            } else if (*p == '\r') {
                lastBreak = p;
            }
        }
    }
    m_column = lastBreak ? end - lastBreak : m_column + static_cast<std::int64_t>(n);

    m_offset += n;
    m_consumed += n;
    if (m_offset >= kWindowSize || m_consumed >= m_nextReportAt)
        AfterMove();
}

void AParseCursor::AfterMove()
{
    // Consumed bytes are kept only up to the window, so memory stays bounded.
    if (m_offset >= kWindowSize) {
        const std::size_t drop = m_offset - m_offset % kWindowSize;
        std::memmove(m_buffer.data(), m_buffer.data() + drop, m_size - drop);
        m_size -= drop;
        m_offset -= drop;
    }
    if (m_consumed >= m_nextReportAt)
        ReportProgress();
}

void AParseCursor::ReportProgress()
{
    __extension__ typedef unsigned __int128 Wide;  // consumed × 100 must not wrap
    const auto percent =
        static_cast<unsigned>(std::min<Wide>(100, Wide(m_consumed) * 100 / m_totalSize));
    if (percent != m_lastPercent) {
        m_lastPercent = percent;
        m_notifier->Notify(percent);
    }
    // The first count of consumed bytes that gives the next whole percentage.
    m_nextReportAt = percent >= 100
        ? std::numeric_limits<std::uint64_t>::max()
        : static_cast<std::uint64_t>((Wide(percent + 1) * m_totalSize + 99) / 100);
}

bool AParseCursor::Match(std::string_view text, bool ignoreCase)
{
    if (!FD_VERIFY(!text.empty() && text.size() <= kMaxLookahead))
        return false;
    if (m_offset + text.size() > m_size)
        Fill(text.size() - 1);
    if (m_offset + text.size() > m_size)
        return false;
    const char* ahead = m_buffer.data() + m_offset;
    if (!ignoreCase)
        return std::memcmp(ahead, text.data(), text.size()) == 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (Lower(ahead[i]) != Lower(text[i]))
            return false;
    return true;
}

std::string_view AParseCursor::Run(const AByteSet& stops)
{
    if (m_offset == m_size)
        Fill(0);
    const char* begin = m_buffer.data() + m_offset;
    const char* end = m_buffer.data() + m_size;
    return {begin, static_cast<std::size_t>(FindStop(begin, end, stops) - begin)};
}

std::size_t AParseCursor::TakeRun(const AByteSet& stops, std::string* out)
{
    std::size_t total = 0;
    for (;;) {
        const std::string_view run = Run(stops);
        if (run.empty())
            return total;
        // Whether a stop byte ends the run inside the buffer; then no more is read.
        const bool stopped = run.data() + run.size() != m_buffer.data() + m_size;
        if (out)
            out->append(run);
        Advance(run.size());
        total += run.size();
        if (stopped)
            return total;
    }
}

void AParseCursor::SkipSpace()
{
    TakeRun(kNotSpace, nullptr);
}

void AParseCursor::ReadName(std::string& name)
{
    SkipSpace();
    name.clear();
    if (IsNameStart(static_cast<unsigned char>(Peek(0))))
        TakeRun(kNotName, &name);
}

bool AParseCursor::SkipNameHere(std::string_view expected)
{
    if (!IsNameStart(static_cast<unsigned char>(Peek(0))))
        return false;
    bool same = true;
    for (std::string_view run = Run(kNotName); !run.empty(); run = Run(kNotName)) {
        same = same && expected.substr(0, run.size()) == run;
        expected.remove_prefix(std::min(run.size(), expected.size()));
        Advance(run.size());
    }
    return same && expected.empty();
}

ANodeArena& AParseCursor::Arena()
{
    if (!m_arena)
        m_arena = ARefPtr<ANodeArena>::Adopt(ANodeArena::Create());
    return *m_arena;
}

void AParseCursor::EnterElement(APosition start)
{
    if (m_depth >= kMaxDepth)
        Fail(kErrorUnexpectedEnd, start);
    ++m_depth;
}

}  // namespace UtilityClasses::XML::Implementation
