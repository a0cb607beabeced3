// Attributes of elements and declarations: ordered, one value per name.
#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace UtilityClasses::XML::Implementation {

// Nodes and attribute sets own what hangs below them; copying goes through Clone.
class ABase {
protected:
    ABase() = default;
    ~ABase() = default;

public:
    ABase(const ABase&) = delete;
    ABase& operator=(const ABase&) = delete;
};

class AAttribute {
public:
    AAttribute(std::string name, std::string value) : m_name(std::move(name)), m_value(std::move(value)) {}

    std::string& MutableName() { return m_name; }
    std::string& MutableValue() { return m_value; }
    const std::string& Name() const { return m_name; }
    const std::string& Value() const { return m_value; }
    void SetValue(std::string value) { m_value = std::move(value); }

    // " name='escaped value'", the form the writer uses.
    void Print(std::string& out) const;

private:
    std::string m_name;
    std::string m_value;
};

class AAttributeSet : private ABase {
public:
    AAttributeSet() = default;

    // Replaces the value of an existing name, else appends a new attribute.
    void SetAttribute(std::string_view name, std::string_view value);
    // The same, taking over the strings (the reader's way, without copies).
    void AdoptAttribute(std::string&& name, std::string&& value);
    // Adopts every pending attribute in order, taking room for exactly that many; leaves
    // `pending` empty.
    void AdoptAttributes(std::vector<AAttribute>& pending);
    // Null when there is no attribute of that name.
    const std::string* FindAttribute(std::string_view name) const;
    bool RemoveAttribute(std::string_view name);

    std::size_t AttributeCount() const { return m_attributes.size(); }
    const AAttribute& AttributeAt(std::size_t index) const { return m_attributes[index]; }

    void CopyAttributesFrom(const AAttributeSet& other);
    void PrintAttributes(std::string& out) const;

protected:
    // Only as part of an element or a declaration, never deleted through this base.
    ~AAttributeSet();

private:
    // A hostile element with thousands of attributes must not make each new name a
    // linear search, so large sets get an index by name.
    static constexpr std::size_t kIndexThreshold = 16;

    static constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::size_t IndexOf(std::string_view name) const;
    void RebuildIndex();

    std::vector<AAttribute> m_attributes;
    // Positions in m_attributes by name; the keys view the attributes' own names, so the
    // index is rebuilt whenever the vector moves them.
    std::unique_ptr<std::unordered_map<std::string_view, std::size_t>> m_index;
};

}  // namespace UtilityClasses::XML::Implementation
