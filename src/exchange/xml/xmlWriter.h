// Writing a document as text: no whitespace of its own, attributes in apostrophes.
#pragma once
#include "core/Streams.h"
#include "exchange/xml/xmlVisitor.h"

#include <cstdint>
#include <string>

namespace UtilityClasses::XML {

class ANode;
class AUserProgressNotifier;

class AStreamWriterVisitor : public AVisitor {
public:
    // Holds one reference on the stream while it lives. Without a stream the text stays
    // in memory (see Text). With a notifier, a written document reports the share of its
    // elements written so far.
    explicit AStreamWriterVisitor(Streams::IStream* stream, AUserProgressNotifier* notifier = nullptr);
    ~AStreamWriterVisitor() override;
    AStreamWriterVisitor(const AStreamWriterVisitor&) = delete;
    AStreamWriterVisitor& operator=(const AStreamWriterVisitor&) = delete;

    bool VisitComment(const AComment& comment) override;
    bool VisitDeclaration(const ADeclaration& declaration) override;
    bool EnterDocument(const ADocument& document) override;
    bool LeaveDocument(const ADocument& document) override;
    bool EnterElement(const AElement& element) override;
    bool LeaveElement(const AElement& element) override;
    bool VisitText(const AText& text) override;
    bool VisitUnknown(const AUnknown& unknown) override;

    // The start and end tags of an element whose children are written one by one
    // between them, for documents written as they are made rather than held whole.
    void OpenElement(const AElement& element);
    void CloseElement(const AElement& element);

    // Passes buffered text to the stream. Writing goes on after a failed write (the
    // caller decides at the end); the first failure is kept.
    HRESULT Flush();
    HRESULT FirstError() const { return m_firstError; }
    // The text written so far when there is no stream.
    const std::string& Text() const { return m_buffer; }

private:
    void FlushIfLarge();
    // "<name" and the attributes, without the closing bracket.
    void StartTag(const AElement& element);

    ARefPtr<Streams::IStream> m_stream;
    AUserProgressNotifier* m_notifier;
    std::string m_buffer;
    std::uint64_t m_written = 0;
    std::uint64_t m_total = 0;
    HRESULT m_firstError = Result::kOk;
};

// Writes the node (a whole document with progress) to the stream; the first write
// failure, if any.
HRESULT WriteDocument(const ANode& node, Streams::IStream* stream, AUserProgressNotifier* notifier = nullptr);

// The node's text as the writer writes it.
std::string ToText(const ANode& node);

}  // namespace UtilityClasses::XML
