#include "ui/filters/AccountClassifierFilters.h"

#include "ui/ProgramContext.h"
#include "ui/UiText.h"

#include <QLabel>

#include <string>

namespace UserInterface::Filters {

using namespace Database;
using Win32API::VelvixControls::Reports::AReportPicker;

namespace {

constexpr std::int16_t kTableId = -1;
// Per account side: the caption's box, the picker's box, the picker.
constexpr std::int16_t kSideIds[2][3] = {{-2, -3, -4}, {-5, -6, -7}};
// Per classifier n: the caption's box, the caption, the picker's box, the picker.
constexpr int kClassifierBase = -20, kIdsPerClassifier = 4;

const char* const kLayout =
    "{t2#-1xeyt{br2}{bW120}{b#-2xr[sg#425]}{b#-3{bWe[rt#-4]}}{bt4#-5xr[s#426]}{bt4#-6{bWe[rt#-7]}}}";

std::int16_t ClassifierId(std::size_t n, int part)
{
    return static_cast<std::int16_t>(kClassifierBase - static_cast<int>(n) * kIdsPerClassifier - part);
}

// A literal caption for a static: "&" would be taken as a mnemonic.
QString CaptionText(std::u16string_view name)
{
    return ToQString(name).replace(u'&', QStringLiteral("&&")) + u':';
}

}  // namespace

AAccountClassifierFilters::AAccountClassifierFilters(const AProgramContext& context, ADatabase& db, QWidget* parent)
    : ADialogForm(kLayout, &context.Strings(), parent)
{
    Create();
    for (int side = 0; side < 2; ++side) {
        accounts_[side] =
            std::make_unique<AAccountChooser>(*ControlAs<AReportPicker>(kSideIds[side][2]), context, db);
        connect(accounts_[side].get(), &AChooser::Changed, this, &AAccountClassifierFilters::Changed);
    }
    std::size_t n = 0;
    for (auto* classifier : db.Classifiers().Live()) {
        const std::string row = "{bt4#" + std::to_string(ClassifierId(n, 0)) + "xr[s#" +
                                std::to_string(ClassifierId(n, 1)) + "]}{bt4#" + std::to_string(ClassifierId(n, 2)) +
                                "{bWe[rt#" + std::to_string(ClassifierId(n, 3)) + "]}}";
        InsertElements(kTableId, row);
        ControlAs<QLabel>(ClassifierId(n, 1))->setText(CaptionText(db.Text(classifier->Record().singular)));
        auto chooser = std::make_unique<ACategoryChooser>(*ControlAs<AReportPicker>(ClassifierId(n, 3)), context, db,
                                                          Engine::ATableImpl<AClassifier>::RefTo(classifier));
        connect(chooser.get(), &AChooser::Changed, this, &AAccountClassifierFilters::Changed);
        categories_.push_back(std::move(chooser));
        ++n;
    }
}

AAccountClassifierFilters::~AAccountClassifierFilters() = default;

void AAccountClassifierFilters::ShowAccount(int index, bool show)
{
    for (int part = 0; part < 2; ++part)
        ShowElement(kSideIds[index == kGiving ? 1 : 0][part], show);
}

bool AAccountClassifierFilters::AccountShown(int index)
{
    return IsElementShown(kSideIds[index == kGiving ? 1 : 0][1]);
}

std::vector<AReference<ACategory>> AAccountClassifierFilters::ChosenCategories() const
{
    std::vector<AReference<ACategory>> chosen;
    for (const auto& chooser : categories_)
        if (auto category = chooser->Category())
            chosen.push_back(category);
    return chosen;
}

void AAccountClassifierFilters::Refill()
{
    for (const auto& chooser : accounts_)
        chooser->Fill();
    for (const auto& chooser : categories_)
        chooser->Fill();
}

}  // namespace UserInterface::Filters
