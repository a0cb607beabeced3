#include "exchange/xml/xmlNodes.h"

#include "core/Assert.h"
#include "exchange/xml/xmlVisitor.h"
#include "exchange/xml/xmlWriter.h"

namespace UtilityClasses::XML {

ANode::~ANode() = default;

void ANode::Print(Streams::IStream* stream) const
{
    AStreamWriterVisitor writer(stream);
    Accept(writer);
}

// --- containers

ANodeContainer::~ANodeContainer()
{
    Clear();
}

void ANodeContainer::AddToElementCounts(std::ptrdiff_t delta)
{
    for (ANodeContainer* container = this; container; container = container->Parent())
        container->m_elementCount += static_cast<std::size_t>(delta);
}

ANode* ANodeContainer::Append(std::unique_ptr<ANode> child)
{
    if (!FD_VERIFY(child && !child->m_parent && !child->ToDocument()))
        return nullptr;
    // A container put below itself would own itself. Freeing it would free this very
    // container under the caller, so it is let go instead.
    for (const ANodeContainer* above = this; above; above = above->Parent()) {
        if (!FD_VERIFY(above != child.get())) {
            [[maybe_unused]] ANode* leaked = child.release();
            return nullptr;
        }
    }
    ANode* node = child.release();
    node->m_parent = this;
    node->m_previous = m_last;
    node->m_next = nullptr;
    if (m_last)
        m_last->m_next = node;
    else
        m_first = node;
    m_last = node;
    ++m_childCount;
    if (const AElement* element = node->ToElement())
        AddToElementCounts(static_cast<std::ptrdiff_t>(1 + element->ElementCount()));
    return node;
}

std::unique_ptr<ANode> ANodeContainer::Remove(ANode* child)
{
    if (!child || child->m_parent != this)
        return nullptr;
    (child->m_previous ? child->m_previous->m_next : m_first) = child->m_next;
    (child->m_next ? child->m_next->m_previous : m_last) = child->m_previous;
    child->m_parent = nullptr;
    child->m_next = child->m_previous = nullptr;
    --m_childCount;
    if (const AElement* element = child->ToElement())
        AddToElementCounts(-static_cast<std::ptrdiff_t>(1 + element->ElementCount()));
    return std::unique_ptr<ANode>(child);
}

void ANodeContainer::Clear()
{
    for (ANode* node = m_first; node;) {
        ANode* next = node->m_next;
        // Detached first, so that a dying child does not walk up to fix our counts.
        node->m_parent = nullptr;
        delete node;
        node = next;
    }
    if (m_elementCount && Parent())
        Parent()->AddToElementCounts(-static_cast<std::ptrdiff_t>(m_elementCount));
    m_first = m_last = nullptr;
    m_childCount = 0;
    m_elementCount = 0;
}

AElement* ANodeContainer::FirstElement(std::string_view name) const
{
    for (ANode* node = m_first; node; node = node->NextSibling()) {
        AElement* element = node->ToElement();
        if (element && (name.empty() || element->Name() == name))
            return element;
    }
    return nullptr;
}

AElement* ANodeContainer::NextElement(const ANode* after, std::string_view name)
{
    for (ANode* node = after ? after->NextSibling() : nullptr; node; node = node->NextSibling()) {
        AElement* element = node->ToElement();
        if (element && (name.empty() || element->Name() == name))
            return element;
    }
    return nullptr;
}

void ANodeContainer::CloneChildrenInto(ANodeContainer& copy) const
{
    for (const ANode* node = m_first; node; node = node->NextSibling())
        copy.Append(node->Clone());
}

bool ANodeContainer::AcceptChildren(AVisitor& visitor) const
{
    for (const ANode* node = m_first; node; node = node->NextSibling())
        if (!node->Accept(visitor))
            return false;
    return true;
}

// --- document and element

std::unique_ptr<ANode> ADocument::Clone() const
{
    auto copy = std::make_unique<ADocument>();
    CloneChildrenInto(*copy);
    return copy;
}

bool ADocument::Accept(AVisitor& visitor) const
{
    if (!visitor.EnterDocument(*this))
        return false;
    const bool walkedAll = AcceptChildren(visitor);
    return visitor.LeaveDocument(*this) && walkedAll;
}

std::unique_ptr<ANode> AElement::Clone() const
{
    auto copy = std::make_unique<AElement>(m_name);
    copy->CopyAttributesFrom(*this);
    CloneChildrenInto(*copy);
    return copy;
}

bool AElement::Accept(AVisitor& visitor) const
{
    if (!visitor.EnterElement(*this))
        return false;
    const bool walkedAll = AcceptChildren(visitor);
    return visitor.LeaveElement(*this) && walkedAll;
}

std::string AElement::Text() const
{
    std::string text;
    for (const ANode* node = FirstChild(); node; node = node->NextSibling())
        if (const AText* part = node->ToText())
            text += part->Text();
    return text;
}

// --- leaves

std::unique_ptr<ANode> AText::Clone() const
{
    return std::make_unique<AText>(m_text, m_cdata);
}

bool AText::Accept(AVisitor& visitor) const
{
    return visitor.VisitText(*this);
}

std::unique_ptr<ANode> AComment::Clone() const
{
    return std::make_unique<AComment>(m_body);
}

bool AComment::Accept(AVisitor& visitor) const
{
    return visitor.VisitComment(*this);
}

std::unique_ptr<ANode> ADeclaration::Clone() const
{
    auto copy = std::make_unique<ADeclaration>(m_target);
    copy->CopyAttributesFrom(*this);
    return copy;
}

bool ADeclaration::Accept(AVisitor& visitor) const
{
    return visitor.VisitDeclaration(*this);
}

std::unique_ptr<ANode> AUnknown::Clone() const
{
    return std::make_unique<AUnknown>(m_text);
}

bool AUnknown::Accept(AVisitor& visitor) const
{
    return visitor.VisitUnknown(*this);
}

}  // namespace UtilityClasses::XML
