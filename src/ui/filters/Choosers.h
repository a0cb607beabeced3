// The account chooser and the category chooser: drop-down pickers over the account plans' tree
// and over one classifier's category tree, shared by the filter panes and the transaction
// dialog.
//
// How to use them: lay out a picker control ("[rt#-n]") in a form, create the form, and hand
// the picker to a chooser, which fills it and owns its mode:
//
//     Form().InsertElements(-5, "{bWe[rt#-6]}");
//     AAccountChooser accounts(*Form().ControlAs<AReportPicker>(-6), context, db);
//     connect(&accounts, &AChooser::Changed, ...);   // the user chose another item
//     accounts.Account();   // the chosen account, null for none, a folder or the mark
//     accounts.Folder();    // the folder chosen instead of an account (its accounts: Accounts())
//
// Folders are shown bold and can be chosen, so that whoever needs an account can say why a
// folder will not do. A chooser made with a none text (for example 707 "Все счета", or 59
// "Не указано", which the category chooser always has) starts with that item chosen. When a
// form edits several records whose values differ, ShowDifferentValues(true) adds and chooses
// the mark "« Разные значения »"; ShowsDifferentValues() stays true until the user picks
// something else. Fill() rereads the tree after the records changed and keeps the choice.
// The caption of a picker is its accessible name when the caption's static comes right
// before the picker in the form's tab order (the form makes it the picker's buddy).
#pragma once
#include "ui/DatabaseModel.h"
#include "win32api/ReportMode.h"
#include "win32api/ReportPicker.h"
#include "win32api/ReportWindow.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <string>
#include <vector>

namespace UserInterface {
struct AProgramContext;
class APageMode;
}

namespace UserInterface::Filters {

class AChooserItem;

// What the two choosers share (the owner keeps the chooser as long as its picker, and
// destroys it first): the picker, the none item, the different-values mark.
class AChooser : public QObject {
    Q_OBJECT
public:
    ~AChooser() override;

    Win32API::VelvixControls::Reports::AReportPicker& Picker() const { return *picker_; }
    // Rereads the tree from the database, keeping the chosen item when it is still there.
    void Fill();
    void ShowDifferentValues(bool show);
    bool ShowsDifferentValues() const;
    // Whether nothing, or the none item, is chosen.
    bool NoneChosen() const;
    void ChooseNone();
    // The text the picker shows.
    std::u16string ChosenText() const;

signals:
    void Changed();

protected:
    AChooser(Win32API::VelvixControls::Reports::AReportPicker& picker, const AProgramContext& context,
             Database::ADatabase& db, int noneTextId, bool currencyColumn);
    virtual void AddItems(Win32API::VelvixControls::Reports::AReportItemImpl& root) = 0;
    const AChooserItem* Chosen() const;
    // Chooses the first item of `kind` with record id `id`; none when there is no such item.
    void ChooseItem(int kind, std::uint32_t id);

    const AProgramContext& context_;
    Database::ADatabase& db_;

private:
    QPointer<Win32API::VelvixControls::Reports::AReportPicker> picker_;
    Win32API::VelvixControls::Reports::AReportMode mode_;
    int noneTextId_;
    bool differentValues_ = false;
};

class AAccountChooser final : public AChooser {
    Q_OBJECT
public:
    // `noneTextId`: the caption of an item standing for no account, 0 for none.
    AAccountChooser(Win32API::VelvixControls::Reports::AReportPicker& picker,
                    const AProgramContext& context, Database::ADatabase& db, int noneTextId = 0);

    Database::AReference<Database::AAccount> Account() const;
    Database::AReference<Database::AAccountFolder> Folder() const;
    // The accounts the choice stands for: the account, or every account under the folder.
    std::vector<Database::AReference<Database::AAccount>> Accounts() const;
    void Choose(Database::AReference<Database::AAccount> account);
    void ChooseFolder(Database::AReference<Database::AAccountFolder> folder);

protected:
    void AddItems(Win32API::VelvixControls::Reports::AReportItemImpl& root) override;
};

class ACategoryChooser final : public AChooser {
    Q_OBJECT
public:
    ACategoryChooser(Win32API::VelvixControls::Reports::AReportPicker& picker,
                     const AProgramContext& context, Database::ADatabase& db,
                     Database::AReference<Database::AClassifier> classifier);

    Database::AReference<Database::AClassifier> Classifier() const { return classifier_; }
    Database::AReference<Database::ACategory> Category() const;
    void Choose(Database::AReference<Database::ACategory> category);

protected:
    void AddItems(Win32API::VelvixControls::Reports::AReportItemImpl& root) override;

private:
    Database::AReference<Database::AClassifier> classifier_;
};

// The ticked account tree of the expanded account list: the account plans' tree in a list
// control with a check box on each row. A folder's tick stands for every account below it;
// an account placed in several plans is one tick, shown under each.
class AAccountTicks final : public QObject {
    Q_OBJECT
public:
    struct ATicked;

    AAccountTicks(Win32API::VelvixControls::Reports::AReportWindow& list, const AProgramContext& context,
                  Database::ADatabase& db);
    ~AAccountTicks() override;

    // The ticked accounts, in the order of their identifiers.
    std::vector<Database::AReference<Database::AAccount>> Ticked() const;
    // Ticks exactly these, without reporting a change.
    void SetTicked(const std::vector<Database::AReference<Database::AAccount>>& accounts);
    // Rereads the tree after the records changed; ticks of deleted accounts go.
    void Fill();

signals:
    // The user ticked or cleared a row.
    void Changed();

private:
    const AProgramContext& context_;
    Database::ADatabase& db_;
    QPointer<Win32API::VelvixControls::Reports::AReportWindow> list_;
    std::unique_ptr<APageMode> mode_;
    std::unique_ptr<ATicked> ticked_;
};

}  // namespace UserInterface::Filters
