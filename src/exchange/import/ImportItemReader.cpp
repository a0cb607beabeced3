#include "exchange/import/ImportItemReader.h"

#include "exchange/import/ImportValues.h"
#include "exchange/xml/xmlBuild.h"

namespace ExportImport::Private {

AChild FindChild(const XML::AElement& parent, std::string_view name)
{
    AChild child;
    for (const XML::ANode& node : parent.Children()) {
        const XML::AElement* element = node.ToElement();
        if (!element || element->Name() != name)
            continue;
        if (child.element) {
            child.state = AChild::AState::Several;
            child.text.clear();
            return child;
        }
        child.element = element;
    }
    if (child.element) {
        child.state = AChild::AState::Present;
        child.text = XML::Utf8ToUtf16(child.element->Text());
    }
    return child;
}

std::size_t CountChildren(const XML::AElement& parent, std::string_view name)
{
    std::size_t count = 0;
    for (const XML::ANode& node : parent.Children())
        if (const XML::AElement* element = node.ToElement(); element && element->Name() == name)
            ++count;
    return count;
}

bool HasFlag(const XML::AElement& parent, std::string_view name) { return parent.FirstElement(name) != nullptr; }

bool AItemReader::Fail(const AImportText& text, const XML::ANode* at)
{
    return Fail(text.Resolve(context_.strings), at);
}

bool AItemReader::Fail(std::u16string text, const XML::ANode* at)
{
    context_.messages.AddError(LocatedText(context_.strings, std::move(text), at, false));
    return false;
}

void AItemReader::Warn(const AImportText& text, const XML::ANode* at)
{
    context_.messages.AddWarning(LocatedText(context_.strings, text.Resolve(context_.strings), at, true));
}

std::optional<std::u16string> AItemReader::RequiredText(const XML::AElement& item, std::string_view name,
                                                        const AFieldTexts& texts)
{
    auto text = OptionalText(item, name, texts);
    if (text && text->empty()) {
        const XML::AElement* given = item.FirstElement(name);
        Fail(texts.absent, given ? given : &item);
        return std::nullopt;
    }
    return text;
}

std::optional<std::u16string> AItemReader::OptionalText(const XML::AElement& item, std::string_view name,
                                                        const AFieldTexts& texts)
{
    AChild child = FindChild(item, name);
    if (child.Several()) {
        Fail(texts.several, child.element);
        return std::nullopt;
    }
    return std::move(child.text);
}

template <class T, class Parse>
bool AItemReader::OptionalValue(const XML::AElement& item, std::string_view name, const AFieldTexts& texts,
                                std::optional<T>& value, Parse parse)
{
    const AChild child = FindChild(item, name);
    if (child.Several())
        return Fail(texts.several, child.element);
    if (child.Absent())
        return true;
    value = parse(child.element->Text());
    return value ? true : Fail(texts.malformed, child.element);
}

bool AItemReader::OptionalAmount(const XML::AElement& item, std::string_view name, const AFieldTexts& texts,
                                 std::optional<AMoney>& value)
{
    return OptionalValue(item, name, texts, value, [](std::string_view text) { return ParseAmount(text); });
}

bool AItemReader::OptionalDate(const XML::AElement& item, std::string_view name, const AFieldTexts& texts,
                               std::optional<ADate>& value)
{
    return OptionalValue(item, name, texts, value, [](std::string_view text) { return ParseDate(text); });
}

AReference<ACurrency> AItemReader::CurrencyReference(const XML::AElement& item, std::string_view name)
{
    const AChild child = FindChild(item, name);
    const XML::ANode* at = child.element;
    if (child.Absent())
        Fail(ImportText::kCurrencyRef.absent, &item);
    else if (child.Several())
        Fail(ImportText::kCurrencyRef.several, at);
    else if (child.text.empty())
        Fail(ImportText::kCurrencyRefEmpty, at);
    else if (const AReference<ACurrency> currency = context_.batch.CurrencyByCode(child.text))
        return currency;
    else
        Fail(ImportText::kCurrencyNotFound, at);
    return {};
}

AReference<AAccount> AItemReader::AccountReference(const XML::AElement& element)
{
    const auto name = RequiredText(element, "name", ImportText::kAccountName);
    if (!name)
        return {};
    const AReference<ACurrency> currency = CurrencyReference(element, "currency");
    if (!currency)
        return {};
    const AReference<AAccount> account = context_.batch.FindAccount(*name, currency);
    if (!account)
        Fail(ImportText::kAccountNotFound, &element);
    return account;
}

}  // namespace ExportImport::Private
