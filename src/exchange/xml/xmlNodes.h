// The in-memory XML document model. Names, values and texts are byte strings holding
// UTF-8; nothing here transcodes.
#pragma once
#include "core/Streams.h"
#include "exchange/xml/xmlAttributes.h"
#include "exchange/xml/xmlNodeArena.h"

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace UtilityClasses::XML {

class AVisitor;
class ANodeContainer;
class ADocument;
class AElement;
class AText;
class AComment;
class ADeclaration;
class AUnknown;

namespace Implementation {

class AParseCursor;

class AUserDataHolder {
public:
    void* UserData() const { return m_userData; }
    void SetUserData(void* data) { m_userData = data; }

private:
    void* m_userData = nullptr;
};

}  // namespace Implementation

class ANode : private Implementation::ABase, public Implementation::AUserDataHolder {
public:
    virtual ~ANode();

    // Nodes made with plain new live on the heap; the reader takes its nodes from an
    // arena. Either kind is freed with delete.
    static void* operator new(std::size_t size) { return Implementation::ANodeArena::AllocateNode(size, nullptr); }
    static void* operator new(std::size_t size, Implementation::ANodeArena& arena)
    {
        return Implementation::ANodeArena::AllocateNode(size, &arena);
    }
    static void operator delete(void* node) { Implementation::ANodeArena::FreeNode(node); }
    static void operator delete(void* node, Implementation::ANodeArena&) { Implementation::ANodeArena::FreeNode(node); }

    // Reads this node's text at the cursor; throws Implementation::AParseException.
    // Callers outside the library use ParseDocument, which catches it.
    virtual void Parse(Implementation::AParseCursor& cursor) = 0;
    // Writes this node and its subtree as text, without progress.
    virtual void Print(Streams::IStream* stream) const;
    // A deep copy without a parent.
    virtual std::unique_ptr<ANode> Clone() const = 0;
    // Containers: enter, the children in order, leave. A false from any operation stops
    // the walk: a false enter skips the children and the leave; a false below skips the
    // remaining siblings, but every entered container is still left, so that enter and
    // leave always pair up.
    virtual bool Accept(AVisitor& visitor) const = 0;

    virtual AComment* ToComment() { return nullptr; }
    virtual const AComment* ToComment() const { return nullptr; }
    virtual ADeclaration* ToDeclaration() { return nullptr; }
    virtual const ADeclaration* ToDeclaration() const { return nullptr; }
    virtual ADocument* ToDocument() { return nullptr; }
    virtual const ADocument* ToDocument() const { return nullptr; }
    virtual AElement* ToElement() { return nullptr; }
    virtual const AElement* ToElement() const { return nullptr; }
    virtual AText* ToText() { return nullptr; }
    virtual const AText* ToText() const { return nullptr; }
    virtual AUnknown* ToUnknown() { return nullptr; }
    virtual const AUnknown* ToUnknown() const { return nullptr; }

    ANodeContainer* Parent() const { return m_parent; }
    ANode* NextSibling() const { return m_next; }
    ANode* PreviousSibling() const { return m_previous; }

protected:
    ANode() = default;

private:
    friend class ANodeContainer;

    ANodeContainer* m_parent = nullptr;
    ANode* m_next = nullptr;      // siblings are owned by the parent
    ANode* m_previous = nullptr;
};

// Iterates the children of a container: for (const ANode& child : element.Children()).
template <class Node>
class AChildRange {
public:
    class iterator {
    public:
        explicit iterator(Node* node) : m_node(node) {}
        Node& operator*() const { return *m_node; }
        Node* operator->() const { return m_node; }
        iterator& operator++()
        {
            m_node = m_node->NextSibling();
            return *this;
        }
        bool operator==(const iterator& other) const = default;

    private:
        Node* m_node;
    };

    explicit AChildRange(Node* first) : m_first(first) {}
    iterator begin() const { return iterator(m_first); }
    iterator end() const { return iterator(nullptr); }

private:
    Node* m_first;
};

class ANodeContainer : public ANode {
public:
    ~ANodeContainer() override;

    ANode* FirstChild() const { return m_first; }
    ANode* LastChild() const { return m_last; }
    bool HasChildren() const { return m_first != nullptr; }
    std::size_t ChildCount() const { return m_childCount; }
    // All elements anywhere below this container.
    std::size_t ElementCount() const { return m_elementCount; }

    AChildRange<ANode> Children() { return AChildRange<ANode>(m_first); }
    AChildRange<const ANode> Children() const { return AChildRange<const ANode>(m_first); }

    // Takes ownership and makes this container the child's parent.
    ANode* Append(std::unique_ptr<ANode> child);
    // Hands the child back to the caller; null when it is not a child of this container.
    std::unique_ptr<ANode> Remove(ANode* child);
    void Clear();

    // The first child element, or the first with the given name.
    AElement* FirstElement(std::string_view name = {}) const;
    // The next sibling element after `after` (with the given name when one is given).
    static AElement* NextElement(const ANode* after, std::string_view name = {});

protected:
    ANodeContainer() = default;

    // Reads child nodes until "</" (inside an element) or the end of input.
    void ParseChildren(Implementation::AParseCursor& cursor, bool insideElement);
    void CloneChildrenInto(ANodeContainer& copy) const;
    // Children in order; false when a child stopped the walk.
    bool AcceptChildren(AVisitor& visitor) const;

private:
    void AddToElementCounts(std::ptrdiff_t delta);

    ANode* m_first = nullptr;
    ANode* m_last = nullptr;
    std::size_t m_childCount = 0;
    std::size_t m_elementCount = 0;
};

class ADocument final : public ANodeContainer {
public:
    ADocument() = default;

    void Parse(Implementation::AParseCursor& cursor) override;
    std::unique_ptr<ANode> Clone() const override;
    bool Accept(AVisitor& visitor) const override;
    ADocument* ToDocument() override { return this; }
    const ADocument* ToDocument() const override { return this; }

    // The first top-level element.
    AElement* RootElement() const { return FirstElement(); }
};

class AElement final : public ANodeContainer, public Implementation::AAttributeSet {
public:
    explicit AElement(std::string name = {}) : m_name(std::move(name)) {}

    void Parse(Implementation::AParseCursor& cursor) override;
    std::unique_ptr<ANode> Clone() const override;
    bool Accept(AVisitor& visitor) const override;
    AElement* ToElement() override { return this; }
    const AElement* ToElement() const override { return this; }

    const std::string& Name() const { return m_name; }
    void SetName(std::string name) { m_name = std::move(name); }
    // The texts of the direct text children, joined.
    std::string Text() const;

private:
    std::string m_name;
};

class AText final : public ANode {
public:
    explicit AText(std::string text = {}, bool cdata = false) : m_text(std::move(text)), m_cdata(cdata) {}

    void Parse(Implementation::AParseCursor& cursor) override;
    std::unique_ptr<ANode> Clone() const override;
    bool Accept(AVisitor& visitor) const override;
    AText* ToText() override { return this; }
    const AText* ToText() const override { return this; }

    const std::string& Text() const { return m_text; }
    void SetText(std::string text) { m_text = std::move(text); }
    bool IsCData() const { return m_cdata; }
    void SetCData(bool cdata) { m_cdata = cdata; }

private:
    std::string m_text;
    bool m_cdata;
};

class AComment final : public ANode {
public:
    explicit AComment(std::string body = {}) : m_body(std::move(body)) {}

    void Parse(Implementation::AParseCursor& cursor) override;
    std::unique_ptr<ANode> Clone() const override;
    bool Accept(AVisitor& visitor) const override;
    AComment* ToComment() override { return this; }
    const AComment* ToComment() const override { return this; }

    const std::string& Body() const { return m_body; }
    void SetBody(std::string body) { m_body = std::move(body); }

private:
    std::string m_body;
};

class ADeclaration final : public ANode, public Implementation::AAttributeSet {
public:
    explicit ADeclaration(std::string target = {}) : m_target(std::move(target)) {}

    void Parse(Implementation::AParseCursor& cursor) override;
    std::unique_ptr<ANode> Clone() const override;
    bool Accept(AVisitor& visitor) const override;
    ADeclaration* ToDeclaration() override { return this; }
    const ADeclaration* ToDeclaration() const override { return this; }

    const std::string& Target() const { return m_target; }

private:
    std::string m_target;
};

// Any other "<!" construct, such as a document type declaration. Its text is kept
// whole, from "<" to the final ">", so that writing a read document gives it back.
class AUnknown final : public ANode {
public:
    explicit AUnknown(std::string text = {}) : m_text(std::move(text)) {}

    void Parse(Implementation::AParseCursor& cursor) override;
    std::unique_ptr<ANode> Clone() const override;
    bool Accept(AVisitor& visitor) const override;
    AUnknown* ToUnknown() override { return this; }
    const AUnknown* ToUnknown() const override { return this; }

    const std::string& Text() const { return m_text; }

private:
    std::string m_text;
};

}  // namespace UtilityClasses::XML
