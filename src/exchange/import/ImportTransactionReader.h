// The reader of one `transaction` item: its date, kind and sides, flags and dates,
// categories, comments and recurrence. Everything is checked before anything is
// added, so a refused transaction leaves no categories or texts behind in the batch.
#pragma once

#include "exchange/import/ImportItemReader.h"

#include <array>
#include <vector>

namespace ExportImport::Private {

class ATransactionReader : AItemReader {
public:
    // times: the data file keeps times of day; budgetDates: it keeps budget dates.
    ATransactionReader(AImportReadContext& context, bool times, bool budgetDates)
        : AItemReader(context), times_(times), budgetDates_(budgetDates)
    {
    }

    void Read(const XML::AElement& item);

private:
    enum class ASideKind { Income, Expense };
    enum class ASideResult { Read, Missing, Failed };
    struct ASide {
        AReference<AAccount> account;
        std::optional<AMoney> amount;
        std::optional<AMoney> balance;
    };
    // A category path to resolve in the batch once the transaction is accepted.
    struct APath {
        AReference<AClassifier> classifier;
        AReference<ACategory> root;
        std::vector<std::u16string> names;  // below the root
    };

    bool ReadKind(const XML::AElement& item);
    ASideResult ReadSide(const XML::AElement& kind, ASideKind side, ASide& out);
    bool ReadKindValues(const XML::AElement& kind);
    // The `category` elements stand inside the kind element.
    bool ReadCategories(const XML::AElement& kind);
    bool ReadCategoryPath(const XML::AElement& category, APath& path);
    bool ReadComments(const XML::AElement& item);
    bool ReadRecurrence(const XML::AElement& item);
    bool ReadRecurrenceNumber(const XML::AElement& recurrence, std::string_view name, unsigned maximum,
                              std::uint8_t& value);
    void Add();

    const bool times_;
    const bool budgetDates_;
    ATransaction record_;
    Database::ATransactionKind kind_ = Database::ATransactionKind::Income;
    const XML::AElement* kindElement_ = nullptr;
    std::optional<ADate> budgetDate_;
    std::vector<APath> paths_;
    std::u16string comment_;
    std::array<std::optional<std::u16string>, 4> extraComments_;
};

}  // namespace ExportImport::Private
