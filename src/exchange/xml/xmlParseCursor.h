// The reader's view of its input: bytes pulled from a stream in blocks, with line,
// column and progress kept as it moves.
#pragma once
#include "core/RefPtr.h"
#include "core/Streams.h"
#include "exchange/xml/xmlAttributes.h"
#include "exchange/xml/xmlNodeArena.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace UtilityClasses::XML {

class AUserProgressNotifier;

namespace Implementation {

enum EParseError : int {
    kErrorUnexpectedByte = 1,   // no "=", no quote, or neither "/>" nor ">" after the attributes
    kErrorMissingName = 2,      // element or declaration without a name
    kErrorWrongClosingName = 3, // closing tag does not carry the element's name
    kErrorUnclosedEndTag = 4,   // closing tag not ended by ">"
    kErrorUnexpectedEnd = 5,    // end of input inside an element, value, CDATA, comment;
                                // also nesting deeper than the reader allows
};

struct APosition {
    std::int64_t line = 1;
    std::int64_t column = 1;
};

// The one exception of the library; it never leaves ParseDocument.
class AParseException {
public:
    AParseException(int code, APosition position) : m_code(code), m_position(position) {}
    int Code() const { return m_code; }
    std::int64_t Line() const { return m_position.line; }
    std::int64_t Column() const { return m_position.column; }

private:
    int m_code;
    APosition m_position;
};

// A set of bytes that stop a scan; the 0 byte always stops, as it ends the input.
class AByteSet {
public:
    // Up to kMaxListed bytes are also kept as a list, which lets Run compare sixteen
    // bytes at a time.
    static constexpr std::size_t kMaxListed = 4;

    constexpr explicit AByteSet(std::string_view stops) : m_stops{}, m_listed{}
    {
        m_stops[0] = true;
        for (char c : stops)
            m_stops[static_cast<unsigned char>(c)] = true;
        m_listedCount = stops.size() + 1 <= kMaxListed ? stops.size() + 1 : 0;
        for (std::size_t i = 0; i + 1 < m_listedCount; ++i)
            m_listed[i + 1] = stops[i];
    }
    // Every byte for which stop(byte) holds, and 0.
    template <class Predicate>
    static constexpr AByteSet Where(Predicate stop)
    {
        AByteSet set("");
        set.m_listedCount = 0;
        for (int c = 1; c < 256; ++c)
            set.m_stops[c] = stop(static_cast<unsigned char>(c));
        return set;
    }
    constexpr bool Contains(char c) const { return m_stops[static_cast<unsigned char>(c)]; }
    // The stop bytes as a list (0 first), or an empty list when there are too many.
    constexpr std::string_view Listed() const { return {m_listed.data(), m_listedCount}; }

private:
    std::array<bool, 256> m_stops;
    std::array<char, kMaxListed> m_listed;
    std::size_t m_listedCount = 0;
};

class AParseCursor {
public:
    static constexpr std::size_t kBlockSize = 4096;
    static constexpr std::size_t kWindowSize = 3072;
    // Longest text Peek and Match look ahead over.
    static constexpr std::size_t kMaxLookahead = 16;
    static constexpr std::size_t kBufferCapacity = kWindowSize + kBlockSize + kMaxLookahead;
    // Deeper nesting is refused instead of running out of stack.
    static constexpr int kMaxDepth = 1000;

    // The stream is read from its current position; progress needs the total byte size.
    explicit AParseCursor(Streams::IStream* stream, AUserProgressNotifier* notifier = nullptr,
                          std::uint64_t totalSize = 0);
    AParseCursor(const AParseCursor&) = delete;
    AParseCursor& operator=(const AParseCursor&) = delete;

    // The byte k places ahead (k < kMaxLookahead); 0 past the end of input.
    char Peek(std::size_t k = 0)
    {
        if (m_offset + k < m_size)
            return m_buffer[m_offset + k];
        return PeekSlow(k);
    }
    bool AtEnd() { return Peek(0) == 0; }

    // Moves over n bytes that Peek has shown, counting lines and columns.
    void Advance(std::size_t n);
    // The same for bytes the caller knows to hold no CR and no LF (markup it matched),
    // which need no counting of lines.
    void Skip(std::size_t n)
    {
        n = std::min(n, m_size - m_offset);
        m_offset += n;
        m_consumed += n;
        m_column += static_cast<std::int64_t>(n);
        if (m_offset >= kWindowSize || m_consumed >= m_nextReportAt)
            AfterMove();
    }
    bool Match(std::string_view text, bool ignoreCase = false);
    void SkipSpace();
    // Skips space, then reads a name; empty when the first byte cannot start one.
    void ReadName(std::string& name);
    // Moves over the name right at the read position (no space skipped) and answers
    // whether it is exactly `expected`.
    bool SkipNameHere(std::string_view expected);

    // Moves over the bytes up to the first stop byte or the end of input, appending them
    // to `out` when one is given; the count of bytes moved over.
    std::size_t TakeRun(const AByteSet& stops, std::string* out);

    APosition Position() const { return {m_line, m_column}; }
    [[noreturn]] void Fail(int code) const { throw AParseException(code, Position()); }
    [[noreturn]] static void Fail(int code, APosition at) { throw AParseException(code, at); }

    // Element nesting, checked on the way in.
    void EnterElement(APosition start);
    void LeaveElement() { --m_depth; }

    // Where the nodes read through this cursor are stored.
    ANodeArena& Arena();
    // The attributes of the tag being read, gathered before the element takes them.
    std::vector<AAttribute>& PendingAttributes() { return m_pendingAttributes; }

    // The first failure the stream reported; reading stops there as at the end.
    HRESULT StreamError() const { return m_streamError; }
    std::uint64_t Consumed() const { return m_consumed; }
    std::size_t BufferedBytes() const { return m_size; }
    // The most bytes the buffer ever held, for checking that memory stays bounded.
    std::size_t PeakBufferedBytes() const { return m_peakSize; }

private:
    char PeekSlow(std::size_t k);
    // The buffered bytes from the read position up to the first stop byte, reading a
    // block when nothing is buffered. Empty when a stop byte (or the end) is next.
    std::string_view Run(const AByteSet& stops);
    // Drops consumed bytes beyond the window and reports progress.
    void AfterMove();
    // Reads blocks until more than `needed` bytes lie ahead or the input ends.
    void Fill(std::size_t needed);
    void ReportProgress();

    Streams::IStream* m_stream;
    AUserProgressNotifier* m_notifier;
    std::uint64_t m_totalSize;
    std::uint64_t m_nextReportAt = 0;
    unsigned m_lastPercent = ~0u;

    std::array<char, kBufferCapacity> m_buffer;
    std::size_t m_offset = 0;
    std::size_t m_size = 0;
    std::size_t m_peakSize = 0;
    bool m_endOfInput = false;
    HRESULT m_streamError = Result::kOk;

    std::uint64_t m_consumed = 0;
    std::int64_t m_line = 1;
    std::int64_t m_column = 1;
    int m_depth = 0;
    ARefPtr<ANodeArena> m_arena;
    std::vector<AAttribute> m_pendingAttributes;
};

// The depth bookkeeping of one element, undone however the element's parse ends.
class AElementDepthGuard {
public:
    AElementDepthGuard(AParseCursor& cursor, APosition start) : m_cursor(cursor) { cursor.EnterElement(start); }
    ~AElementDepthGuard() { m_cursor.LeaveElement(); }
    AElementDepthGuard(const AElementDepthGuard&) = delete;
    AElementDepthGuard& operator=(const AElementDepthGuard&) = delete;

private:
    AParseCursor& m_cursor;
};

}  // namespace Implementation
}  // namespace UtilityClasses::XML
