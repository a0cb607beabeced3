#include "exchange/xml/xmlAttributes.h"

#include "exchange/xml/xmlEscape.h"

namespace UtilityClasses::XML::Implementation {

void AAttribute::Print(std::string& out) const
{
    out += ' ';
    out += m_name;
    out += "='";
    AppendEscaped(out, m_value);
    out += '\'';
}

AAttributeSet::~AAttributeSet() = default;

std::size_t AAttributeSet::IndexOf(std::string_view name) const
{
    if (m_index) {
        const auto found = m_index->find(name);
        return found == m_index->end() ? kNone : found->second;
    }
    for (std::size_t i = 0; i < m_attributes.size(); ++i)
        if (m_attributes[i].Name() == name)
            return i;
    return kNone;
}

void AAttributeSet::RebuildIndex()
{
    if (m_attributes.size() < kIndexThreshold) {
        m_index.reset();
        return;
    }
    if (!m_index)
        m_index = std::make_unique<std::unordered_map<std::string_view, std::size_t>>();
    m_index->clear();
    m_index->reserve(m_attributes.capacity());
    for (std::size_t i = 0; i < m_attributes.size(); ++i)
        m_index->emplace(m_attributes[i].Name(), i);
}

void AAttributeSet::SetAttribute(std::string_view name, std::string_view value)
{
    AdoptAttribute(std::string(name), std::string(value));
}

void AAttributeSet::AdoptAttribute(std::string&& name, std::string&& value)
{
    if (const std::size_t existing = IndexOf(name); existing != kNone) {
        m_attributes[existing].SetValue(std::move(value));
        return;
    }
    if (m_attributes.empty())
        m_attributes.reserve(4);
    const std::size_t capacity = m_attributes.capacity();
    m_attributes.emplace_back(std::move(name), std::move(value));
    if (m_attributes.capacity() != capacity || (!m_index && m_attributes.size() >= kIndexThreshold))
        RebuildIndex();
    else if (m_index)
        m_index->emplace(m_attributes.back().Name(), m_attributes.size() - 1);
}

void AAttributeSet::AdoptAttributes(std::vector<AAttribute>& pending)
{
    if (m_attributes.empty())
        m_attributes.reserve(pending.size());
    for (AAttribute& attribute : pending)
        AdoptAttribute(std::move(attribute.MutableName()), std::move(attribute.MutableValue()));
    pending.clear();
}

const std::string* AAttributeSet::FindAttribute(std::string_view name) const
{
    const std::size_t index = IndexOf(name);
    return index == kNone ? nullptr : &m_attributes[index].Value();
}

bool AAttributeSet::RemoveAttribute(std::string_view name)
{
    const std::size_t index = IndexOf(name);
    if (index == kNone)
        return false;
    m_attributes.erase(m_attributes.begin() + static_cast<std::ptrdiff_t>(index));
    RebuildIndex();
    return true;
}

void AAttributeSet::CopyAttributesFrom(const AAttributeSet& other)
{
    for (const AAttribute& attribute : other.m_attributes)
        SetAttribute(attribute.Name(), attribute.Value());
}

void AAttributeSet::PrintAttributes(std::string& out) const
{
    for (const AAttribute& attribute : m_attributes)
        attribute.Print(out);
}

}  // namespace UtilityClasses::XML::Implementation
