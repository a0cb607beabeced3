// The currency page: "Просмотр:" shows either the currencies (name and code) or the rates
// of one pair chosen under "Отношение валют:" (the newest first, each date with its value);
// Add, Change and Delete act on the view shown. The view and the pair are kept in the
// page's settings.
#pragma once
#include "ui/RecordListPage.h"

#include <memory>

namespace Win32API::VelvixControls::Reports::Implementation {
class AReportPicker;
}

namespace UserInterface::Currencies {

class ACurrencyPage final : public ARecordListPage {
    Q_OBJECT
public:
    enum class AView : std::uint8_t { Currencies = 0, Rates = 1 };
    static constexpr std::int16_t kListId = -1, kPairId = -3, kPairRow = -4;
    static constexpr int kCurrenciesView = 377, kRatesView = 378, kDownload = 383;

    ACurrencyPage(const AProgramContext& context, Database::ADatabase& db);
    ~ACurrencyPage() override;

    AView View() const { return view_; }
    void ShowView(AView view);
    Database::AReference<Database::ARateHeader> Pair() const { return pair_; }

    void FillActionsMenu(QMenu& menu) override;
    bool IsCommandEnabled(int command) const override;
    void RunCommand(int command) override;
    void ReadSettings(std::span<const std::uint8_t> bytes) override;
    std::vector<std::uint8_t> WriteSettings() const override;

protected:
    std::string Layout() const override;
    void Created() override;
    void Fill(Win32API::VelvixControls::Reports::AReportItemImpl& root) override;

private:
    void FillPairs();
    Database::AReference<Database::ACurrency> FocusedCurrency() const;
    Database::AReference<Database::ARateValue> FocusedRate() const;
    void Delete();
    // The question with its tick, unless the user ticked it before; whether to go on.
    bool Confirm(int messageId, const std::u16string& text, int titleId);

    AView view_ = AView::Currencies;
    Database::AReference<Database::ARateHeader> pair_;
    std::unique_ptr<APageMode> pairMode_;
    Win32API::VelvixControls::Reports::Implementation::AReportPicker* pairs_ = nullptr;
    bool showing_ = false;
};

}  // namespace UserInterface::Currencies
