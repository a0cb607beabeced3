// What every item reader of the read phase shares: the context it fills, the child
// lookup, the messages located by `ref`, and the reading of values and references.
// A reader adds one error for an item it refuses (its dependants then fail on their
// own references) and any number of warnings for an item it keeps.
#pragma once

#include "exchange/import/ImportBatch.h"
#include "exchange/import/ImportDataFileIndex.h"
#include "exchange/import/ImportMessages.h"
#include "exchange/xml/xmlNodes.h"

#include <optional>
#include <string>
#include <string_view>

namespace ExportImport::Private {

namespace XML = UtilityClasses::XML;

struct AImportReadContext {
    const UtilityClasses::Strings::AStrings& strings;
    AImportMessages& messages;
    AImportBatch& batch;
    Database::ADatabase& dataFile;
    ADataFileIndex& dataFileIndex;
};

// A named child element: absent, several, or the one with its text.
struct AChild {
    enum class AState { Absent, Several, Present };
    AState state = AState::Absent;
    const XML::AElement* element = nullptr;  // the first of that name
    std::u16string text;                     // of a present one

    bool Absent() const { return state == AState::Absent; }
    bool Several() const { return state == AState::Several; }
    bool Present() const { return state == AState::Present; }
};
AChild FindChild(const XML::AElement& parent, std::string_view name);
// The number of child elements of that name.
std::size_t CountChildren(const XML::AElement& parent, std::string_view name);
bool HasFlag(const XML::AElement& parent, std::string_view name);

class AItemReader {
public:
    explicit AItemReader(AImportReadContext& context) : context_(context) {}

protected:
    // Adds an error located at the node; answers false for `return Fail(...)`.
    bool Fail(const AImportText& text, const XML::ANode* at);
    bool Fail(std::u16string text, const XML::ANode* at);
    void Warn(const AImportText& text, const XML::ANode* at);

    // A text that must be given: absent, or given empty (a spreadsheet's empty required
    // cell), fails with the field's `absent`; several fail with its `several`.
    std::optional<std::u16string> RequiredText(const XML::AElement& item, std::string_view name,
                                               const AFieldTexts& texts);
    // An optional text: absent is empty; several fail.
    std::optional<std::u16string> OptionalText(const XML::AElement& item, std::string_view name,
                                               const AFieldTexts& texts);

    // An optional amount: false after an error (the field's `malformed` or `several`);
    // `value` stays empty when it is absent.
    bool OptionalAmount(const XML::AElement& item, std::string_view name, const AFieldTexts& texts,
                        std::optional<AMoney>& value);
    // An optional date (budget date, end of a recurrence), the same way.
    bool OptionalDate(const XML::AElement& item, std::string_view name, const AFieldTexts& texts,
                      std::optional<ADate>& value);

    template <class T, class Parse>
    bool OptionalValue(const XML::AElement& item, std::string_view name, const AFieldTexts& texts,
                       std::optional<T>& value, Parse parse);

    // The currency named by the child `name` (its text is a code) among the batch's
    // currencies; null after an error.
    AReference<ACurrency> CurrencyReference(const XML::AElement& item, std::string_view name);
    // An account reference (`name` and `currency`) inside `element`; null after an error.
    AReference<AAccount> AccountReference(const XML::AElement& element);

    AImportReadContext& context_;
};

}  // namespace ExportImport::Private
