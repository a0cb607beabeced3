// Renders a gallery of the toolkit to PNG files, offscreen, so that a person can look at how
// dialogs and lists come out without starting the program.
//   toolkit-gallery [output folder]     (default: the current folder)
#include "core/AStrings.h"
#include "core/LocaleInfo.h"
#include "win32api/AWizard.h"
#include "win32api/DynaForm.h"
#include "win32api/MessageBox.h"
#include "win32api/ReportWindow.h"
#include "win32api/TabControl.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabBar>

#include <cstdio>
#include <memory>

using namespace Win32API::VelvixForms;
using namespace Win32API::VelvixControls::Reports;
using UtilityClasses::Strings::AStrings;

namespace {

bool Save(QWidget& widget, const QDir& folder, const char* name)
{
    QString path = folder.filePath(QString::fromLatin1(name) + ".png");
    bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "could not write", path.toUtf8().constData());
    return saved;
}

void ShowAndFit(QWidget& widget, int extraWidth = 0)
{
    widget.show();
    QSize size = widget.minimumSizeHint();
    widget.resize(size.width() + extraWidth, size.height());
    QApplication::processEvents();
}

// The settings dialog: a tab control stack whose first page is the transactions page form.
bool SettingsDialog(const AStrings& strings, const QDir& folder)
{
    ADialogForm dialog("{b#105{S#-1m4[tt#-2]{b#106m4xeyt}{b#107m4xeyt}{b#108m4xeyt}{b#109m4xeyt}}}", &strings);
    dialog.Create();
    auto* page = new ADialogForm(
        "{bm4xeyt{t1xe{t1l10b8#136xl(:t){bt4xl[bCt#137]}{bt4xl[bCt#138]}{bt4xl[bCt#139]}}{t1l10b8#140xl(:t)"
        "{bt4xl[bCt#141]}}{t1l10b8#142xl(:t){bt4xl[bRg#143]}{bt4xl[bR#144]}}}}",
        &strings);
    dialog.InsertForm(106, page);
    page->ControlAs<QCheckBox>(137)->setChecked(true);
    page->ControlAs<QRadioButton>(143)->setChecked(true);
    ShowAndFit(dialog, 60);
    return Save(dialog, folder, "settings-dialog");
}

// Parts of the transaction dialog: kind, dates and comments, in one form with borders.
bool TransactionParts(const AStrings& strings, const QDir& folder)
{
    ADialogForm dialog("{b#410m4{t1#-1xe}}", &strings);
    dialog.Create();
    dialog.InsertElements(-1, "{b#-2t4(e:f)m4}{b#-3t4(e:f)m4}{b#-4t4(S:f)m4}");
    auto* kind = new ADialogForm("{bxe{t5{bWe}{t1{bxl[bRg#412]}{bt4xl[bR#413]}}{bWe}{t1{bxl[bR#414]}{bt4xl[bR#701]}}{bWe}}}",
                                 &strings);
    auto* dates = new ADialogForm("{t2{br2}{bW117}{bxr[sg#416]}{b{bWe[Dt#-10]}}{bxr[s#417]}{bt2p{bWe[Tt#-11]}}{bxr[s#418]}"
                                  "{bt2p{bWe[Dt#-12]}}}",
                                  &strings);
    auto* comments = new ADialogForm("{t2{br2}{bWe}{bxr[sg#436]}{b{bWe[etX#-14]}}{bt4xr[sg#-29]}{b{bWe[etX#-33]}}"
                                     "{bt4xr[s#-30]}{b{bWe[e=t.#-34]}}}",
                                     &strings);
    dialog.InsertForm(-2, kind);
    dialog.InsertForm(-3, dates);
    dialog.InsertForm(-4, comments);
    kind->ControlAs<QRadioButton>(413)->setChecked(true);
    comments->ControlAs<QLineEdit>(-14)->setText(QString::fromUtf8("Продукты на неделю"));
    comments->ControlAs<QLineEdit>(-33)->setPlaceholderText(QString::fromUtf8("доп. примечание"));
    comments->ControlAs<QLineEdit>(-34)->setText(QString::fromUtf8("1 250,00"));
    comments->ControlAs<QLabel>(-30)->setText(QString::fromUtf8("Сумма:"));
    comments->Relayout(true);
    ShowAndFit(dialog, 80);
    return Save(dialog, folder, "transaction-parts");
}

class AAccountItem : public AReportItem<std::int64_t> {
public:
    AAccountItem(std::u16string name, std::int64_t amount, std::u16string currency, ACheckState check)
        : AReportItem<std::int64_t>(amount), name_(std::move(name)), currency_(std::move(currency)), check_(check)
    {
    }
    std::u16string Text(int column) const override
    {
        if (column == 0)
            return name_;
        if (column == 2)
            return currency_;
        std::int64_t units = Data() / 100, cents = (Data() < 0 ? -Data() : Data()) % 100;
        std::string text = std::to_string(units) + "," + (cents < 10 ? "0" : "") + std::to_string(cents);
        return std::u16string(text.begin(), text.end());
    }
    unsigned CellProperty(int column) const override
    {
        return column == 1 ? kCellRightAligned : column == 2 ? kCellLink : (HasChildren() ? kCellBold : kCellPlain);
    }
    ACheckState CheckState() const override { return check_; }
    void SetChecked(bool checked) override { check_ = checked ? ACheckState::Checked : ACheckState::Unchecked; }

protected:
    int CompareData(const AReportItem<std::int64_t>& other, int column) const override
    {
        if (column == 1)
            return Data() < other.Data() ? -1 : Data() > other.Data();
        return AReportItem<std::int64_t>::CompareData(other, column);
    }

private:
    std::u16string name_, currency_;
    ACheckState check_;
};

class AAccountMode : public AReportMode {
public:
    explicit AAccountMode(bool tree) : tree_(tree)
    {
        AddColumn(u"&Счёт:", 240, false);
        AddColumn(u"Остаток", 110);
        AddColumn(u"Валюта", 70);
    }
    bool IsTree() const override { return tree_; }
    bool MultiSelect() const override { return !tree_; }

private:
    bool tree_;
};

AReportItemImpl* AddAccount(AReportItemImpl& parent, const char16_t* name, std::int64_t amount,
                            const char16_t* currency = u"RUB", ACheckState check = ACheckState::Checked)
{
    return parent.AddChild(std::make_unique<AAccountItem>(name, amount, currency, check));
}

bool ReportTree(const QDir& folder)
{
    AAccountMode mode(true);
    AReportWindow report;
    report.SetMode(&mode);
    AReportItemImpl* cash = AddAccount(report.Root(), u"Наличные", 1'253'050);
    AddAccount(*cash, u"Кошелёк", 453'050);
    AddAccount(*cash, u"Копилка", 800'000, u"RUB", ACheckState::Unchecked);
    AReportItemImpl* bank = AddAccount(report.Root(), u"Банковские счета", 18'540'000);
    AddAccount(*bank, u"Зарплатная карта", 9'540'000);
    AReportItemImpl* savings = AddAccount(*bank, u"Вклады", 9'000'000);
    AddAccount(*savings, u"Вклад «Надёжный»", 5'000'000);
    AddAccount(*savings, u"Валютный вклад", 4'000'000, u"EUR");
    AReportItemImpl* debts = AddAccount(report.Root(), u"Долги", -1'200'000);
    AddAccount(*debts, u"Кредитная карта", -1'200'000);
    debts->SetExpandedFlag(false);
    AddAccount(report.Root(), u"Закрытый счёт", 0, u"USD", ACheckState::Unchecked);
    report.resize(460, 250);
    report.show();
    report.RebuildRows();
    report.setFocus();
    report.Model().FocusRow(4);
    QApplication::processEvents();
    return Save(report, folder, "report-tree");
}

bool MessageBoxes(const AStrings& strings, const QDir& folder)
{
    AMessageBoxOptions options;
    options.title = u"Операция";
    options.text = std::u16string(strings.Text(457));
    options.buttons = AMessageButtons::YesNo;
    options.icon = AMessageIcon::Question;
    options.defaultButton = 1;
    options.offerDontShowAgain = true;
    AMessageBox box(&strings, options);
    ShowAndFit(box);
    return Save(box, folder, "message-box");
}

bool Wizard(const AStrings& strings, const QDir& folder)
{
    UserInterface::AWizard wizard(&strings, 518);
    wizard.AddStep(std::make_unique<UserInterface::AWizard::AWizardStep>(
        524, 525, "{bm8xeyt{t1xl{bt4xl[bCt#335]}{bt4xl[bCt#336]}{bt4xl[bCt#331]}{bt4xl[bCt#332]}}}"));
    wizard.resize(520, 340);
    wizard.show();
    QApplication::processEvents();
    return Save(wizard, folder, "wizard");
}

bool ReportList(const QDir& folder)
{
    AAccountMode mode(false);
    mode.SetSortColumn(-2);
    AReportWindow report;
    report.SetMode(&mode);
    const char16_t* names[] = {u"Продукты", u"Транспорт", u"Кафе", u"Аренда квартиры", u"Подарки", u"Связь",
                               u"Коммунальные платежи", u"Книги", u"Спорт", u"Лекарства"};
    for (int i = 0; i < 10; ++i)
        AddAccount(report.Root(), names[i], (i * 7919 % 23 + 1) * 10'000 + i * 37, u"RUB", ACheckState::None);
    report.resize(460, 230);
    report.show();
    report.RebuildRows();
    report.Model().FocusRow(2);
    report.Model().FocusRow(4, true);
    QApplication::processEvents();
    report.clearFocus();  // without the focus: the inactive selection colour
    return Save(report, folder, "report-list");
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QDir folder(argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::currentPath());
    folder.mkpath(".");
    AStrings strings(UtilityClasses::Strings::RussianLocale());
    bool ok = SettingsDialog(strings, folder);
    ok = TransactionParts(strings, folder) && ok;
    ok = ReportTree(folder) && ok;
    ok = ReportList(folder) && ok;
    ok = MessageBoxes(strings, folder) && ok;
    ok = Wizard(strings, folder) && ok;
    return ok ? 0 : 1;
}
