// Streams and helpers shared by the XML tests.
#pragma once
#include "core/MemoryStream.h"
#include "exchange/xml/xml.h"
#include "exchange/xml/xmlParseCursor.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace XmlTest {

using namespace UtilityClasses;
using namespace UtilityClasses::XML;

// Hands its text out at most `chunk` bytes per Read, as pipes and plug-in streams do.
class AChunkedStream final : public Streams::Implementation::ARefCounted<Streams::IStream> {
public:
    static ARefPtr<AChunkedStream> Create(std::string text, std::uint32_t chunk)
    {
        return ARefPtr<AChunkedStream>::Adopt(new AChunkedStream(std::move(text), chunk));
    }

    HRESULT Read(void* buffer, std::uint32_t size, std::uint32_t* read) override
    {
        if (m_failAt != std::string::npos && m_position >= m_failAt)
            return Result::kStgReadFault;
        std::size_t count = std::min<std::size_t>({size, m_chunk, m_text.size() - m_position});
        if (m_failAt != std::string::npos)
            count = std::min(count, m_failAt - m_position);
        std::memcpy(buffer, m_text.data() + m_position, count);
        m_position += count;
        *read = static_cast<std::uint32_t>(count);
        return Result::kOk;
    }
    HRESULT Write(const void*, std::uint32_t, std::uint32_t*) override { return Result::kStgAccessDenied; }
    HRESULT Seek(std::int64_t, Streams::ESeekOrigin, std::uint64_t*) override { return Result::kNotImplemented; }
    HRESULT SetSize(std::uint64_t) override { return Result::kStgAccessDenied; }
    HRESULT Commit() override { return Result::kOk; }
    HRESULT Stat(Streams::AStreamStat* stat) override
    {
        stat->size = m_text.size();
        return Result::kOk;
    }

    // Reads fail once this many bytes have been handed out.
    void FailAt(std::size_t position) { m_failAt = position; }

private:
    AChunkedStream(std::string text, std::uint32_t chunk) : m_text(std::move(text)), m_chunk(chunk) {}

    std::string m_text;
    std::size_t m_chunk;
    std::size_t m_position = 0;
    std::size_t m_failAt = std::string::npos;
};

// Produces a long document piece by piece without ever holding it: an opening text,
// `count` pieces made by `piece(i)`, a closing text.
class AGeneratedStream final : public Streams::Implementation::ARefCounted<Streams::IStream> {
public:
    using APieceMaker = std::function<std::string(std::uint64_t index)>;

    static ARefPtr<AGeneratedStream> Create(std::string head, APieceMaker piece, std::uint64_t count, std::string tail)
    {
        return ARefPtr<AGeneratedStream>::Adopt(
            new AGeneratedStream(std::move(head), std::move(piece), count, std::move(tail)));
    }

    HRESULT Read(void* buffer, std::uint32_t size, std::uint32_t* read) override
    {
        auto* out = static_cast<char*>(buffer);
        std::uint32_t total = 0;
        while (total < size) {
            if (m_offset == m_current.size() && !NextPiece())
                break;
            const auto count = static_cast<std::uint32_t>(std::min<std::size_t>(size - total, m_current.size() - m_offset));
            std::memcpy(out + total, m_current.data() + m_offset, count);
            m_offset += count;
            total += count;
        }
        m_produced += total;
        *read = total;
        return Result::kOk;
    }
    HRESULT Write(const void*, std::uint32_t, std::uint32_t*) override { return Result::kStgAccessDenied; }
    HRESULT Seek(std::int64_t, Streams::ESeekOrigin, std::uint64_t*) override { return Result::kNotImplemented; }
    HRESULT SetSize(std::uint64_t) override { return Result::kStgAccessDenied; }
    HRESULT Commit() override { return Result::kOk; }
    HRESULT Stat(Streams::AStreamStat*) override { return Result::kNotImplemented; }

    std::uint64_t Produced() const { return m_produced; }

private:
    AGeneratedStream(std::string head, APieceMaker piece, std::uint64_t count, std::string tail)
        : m_current(std::move(head)), m_piece(std::move(piece)), m_count(count), m_tail(std::move(tail))
    {
    }

    bool NextPiece()
    {
        m_offset = 0;
        if (m_index < m_count) {
            m_current = m_piece(m_index++);
            return true;
        }
        if (!m_tailDone) {
            m_tailDone = true;
            m_current = m_tail;
            return true;
        }
        m_current.clear();
        return false;
    }

    std::string m_current;
    std::size_t m_offset = 0;
    APieceMaker m_piece;
    std::uint64_t m_count;
    std::uint64_t m_index = 0;
    std::string m_tail;
    bool m_tailDone = false;
    std::uint64_t m_produced = 0;
};

class ARecordingNotifier final : public AUserProgressNotifier {
public:
    void Notify(unsigned percent) override { values.push_back(percent); }
    std::vector<unsigned> values;
};

// Every node with its kind, names, attributes and bytes, for comparing trees.
inline void Dump(const ANode& node, std::string& out, int depth = 0)
{
    out.append(static_cast<std::size_t>(depth) * 2, ' ');
    auto attributes = [&out](const Implementation::AAttributeSet& set) {
        for (std::size_t i = 0; i < set.AttributeCount(); ++i)
            out += " [" + set.AttributeAt(i).Name() + "=" + set.AttributeAt(i).Value() + "]";
    };
    if (const AElement* element = node.ToElement()) {
        out += "element " + element->Name();
        attributes(*element);
    } else if (const AText* text = node.ToText()) {
        out += (text->IsCData() ? "cdata [" : "text [") + text->Text() + "]";
    } else if (const AComment* comment = node.ToComment()) {
        out += "comment [" + comment->Body() + "]";
    } else if (const ADeclaration* declaration = node.ToDeclaration()) {
        out += "declaration " + declaration->Target();
        attributes(*declaration);
    } else if (const AUnknown* unknown = node.ToUnknown()) {
        out += "unknown [" + unknown->Text() + "]";
    } else {
        out += "document";
    }
    out += '\n';
    if (const auto* container = dynamic_cast<const ANodeContainer*>(&node))
        for (const ANode& child : container->Children())
            Dump(child, out, depth + 1);
}

inline std::string Dump(const ANode& node)
{
    std::string out;
    Dump(node, out);
    return out;
}

// Parses text that must be well formed; an error shows up as the dump.
inline std::string ParseToDump(std::string_view text)
{
    ADocument document;
    const AParseResult result = ParseDocument(document, text);
    if (!result.Ok())
        return "error " + std::to_string(result.code) + " at " + std::to_string(result.line) + ":" +
               std::to_string(result.column);
    return Dump(document);
}

}  // namespace XmlTest
