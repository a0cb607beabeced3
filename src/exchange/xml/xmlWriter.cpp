#include "exchange/xml/xmlWriter.h"

#include "exchange/xml/xmlEscape.h"
#include "exchange/xml/xmlNodes.h"
#include "exchange/xml/xmlProgress.h"

#include <algorithm>

namespace UtilityClasses::XML {

namespace {

// Text is gathered and handed to the stream in pieces of this size, not tag by tag.
constexpr std::size_t kFlushSize = 64 * 1024;

}  // namespace

AStreamWriterVisitor::AStreamWriterVisitor(Streams::IStream* stream, AUserProgressNotifier* notifier)
    : m_stream(stream), m_notifier(notifier)
{
}

AStreamWriterVisitor::~AStreamWriterVisitor()
{
    Flush();
}

HRESULT AStreamWriterVisitor::Flush()
{
    if (!m_stream || m_buffer.empty())
        return m_firstError;
    const HRESULT hr = Streams::WriteAll(*m_stream, m_buffer);
    if (Result::Failed(hr) && Result::Succeeded(m_firstError))
        m_firstError = hr;
    m_buffer.clear();
    return m_firstError;
}

void AStreamWriterVisitor::FlushIfLarge()
{
    if (m_stream && m_buffer.size() >= kFlushSize)
        Flush();
}

bool AStreamWriterVisitor::VisitComment(const AComment& comment)
{
    m_buffer += "<!--";
    m_buffer += comment.Body();
    m_buffer += "-->";
    FlushIfLarge();
    return true;
}

bool AStreamWriterVisitor::VisitDeclaration(const ADeclaration& declaration)
{
    m_buffer += "<?";
    m_buffer += declaration.Target();
    declaration.PrintAttributes(m_buffer);
    m_buffer += "?>";
    return true;
}

bool AStreamWriterVisitor::EnterDocument(const ADocument& document)
{
    m_written = 0;
    m_total = document.ElementCount();
    return true;
}

bool AStreamWriterVisitor::LeaveDocument(const ADocument&)
{
    Flush();
    return true;
}

bool AStreamWriterVisitor::EnterElement(const AElement& element)
{
    StartTag(element);
    m_buffer += element.HasChildren() ? ">" : "/>";
    FlushIfLarge();
    return true;
}

void AStreamWriterVisitor::OpenElement(const AElement& element)
{
    StartTag(element);
    m_buffer += '>';
}

void AStreamWriterVisitor::StartTag(const AElement& element)
{
    m_buffer += '<';
    m_buffer += element.Name();
    element.PrintAttributes(m_buffer);
}

void AStreamWriterVisitor::CloseElement(const AElement& element)
{
    m_buffer += "</";
    m_buffer += element.Name();
    m_buffer += '>';
    FlushIfLarge();
}

bool AStreamWriterVisitor::LeaveElement(const AElement& element)
{
    if (element.HasChildren())
        CloseElement(element);
    if (m_notifier && m_total) {
        ++m_written;
        m_notifier->Notify(static_cast<unsigned>(std::min<std::uint64_t>(m_written, m_total) * 100 / m_total));
    }
    return true;
}

bool AStreamWriterVisitor::VisitText(const AText& text)
{
    const std::string& bytes = text.Text();
    if (bytes.empty())
        return true;
    if (!text.IsCData()) {
        Implementation::AppendEscaped(m_buffer, bytes);
    } else {
        // "]]>" cannot stand inside a section; it is split across two sections so the
        // bytes read back unchanged.
        std::string_view rest = bytes;
        m_buffer += "<![CDATA[";
        for (auto end = rest.find("]]>"); end != std::string_view::npos; end = rest.find("]]>")) {
            m_buffer.append(rest.substr(0, end + 2));
            m_buffer += "]]><![CDATA[";
            rest.remove_prefix(end + 2);
        }
        m_buffer.append(rest);
        m_buffer += "]]>";
    }
    FlushIfLarge();
    return true;
}

bool AStreamWriterVisitor::VisitUnknown(const AUnknown& unknown)
{
    m_buffer += unknown.Text();
    FlushIfLarge();
    return true;
}

HRESULT WriteDocument(const ANode& node, Streams::IStream* stream, AUserProgressNotifier* notifier)
{
    if (!stream)
        return Result::kStgInvalidPointer;
    AStreamWriterVisitor writer(stream, notifier);
    node.Accept(writer);
    return writer.Flush();
}

std::string ToText(const ANode& node)
{
    AStreamWriterVisitor writer(nullptr);
    node.Accept(writer);
    return writer.Text();
}

}  // namespace UtilityClasses::XML
