// The messages an import collects: errors (the item was left out) and warnings (the
// item was taken, a value of it ignored). Modules add theirs to the same list.
#pragma once

#include "exchange/import/ImportTexts.h"

#include <cstddef>
#include <string>
#include <vector>

namespace UtilityClasses::XML {
class ANode;
}

namespace ExportImport {

struct AImportMessage {
    bool warning = false;
    std::u16string text;
};

class AImportMessages {
public:
    void AddError(std::u16string text) { Add(false, std::move(text)); }
    void AddWarning(std::u16string text) { Add(true, std::move(text)); }
    void Clear() { KeepFirst(0); }
    // Forgets every message after the first `count`.
    void KeepFirst(std::size_t count);

    const std::vector<AImportMessage>& All() const { return messages_; }
    std::size_t ErrorCount() const { return errors_; }
    std::size_t WarningCount() const { return warnings_; }
    bool Empty() const { return messages_.empty(); }

private:
    void Add(bool warning, std::u16string text);

    std::vector<AImportMessage> messages_;
    std::size_t errors_ = 0;
    std::size_t warnings_ = 0;
};

// The `ref` attributes of the node and its ancestors, outermost first, joined by ", ";
// empty when none has one. A spreadsheet import names sheets and cells this way.
std::u16string ReferencesOf(const UtilityClasses::XML::ANode* node);

// The message text as shown: the text, then (when the node has references) the
// "see" text and the references. A warning has one space before that location.
std::u16string LocatedText(const UtilityClasses::Strings::AStrings& strings, std::u16string text,
                           const UtilityClasses::XML::ANode* node, bool warning);

}  // namespace ExportImport
