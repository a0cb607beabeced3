// The settings pages' common parts, and the general and transactions pages.
#include "ui/SettingsPages.h"

#include "core/Autostart.h"
#include "core/Settings.h"
#include "ui/DataFileNames.h"
#include "ui/InterfaceTexts.h"
#include "ui/ProgramContext.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "win32api/AEdit.h"

#include <QAbstractButton>
#include <QDir>

namespace UserInterface::Settings {

using namespace Win32API::VelvixForms;

ASettingsPage::ASettingsPage(const AProgramContext& context, std::string layout, QWidget* parent)
    : ADialogForm(std::move(layout), context.strings.get(), parent), context_(context)
{
}

bool ASettingsPage::IsChecked(int id)
{
    auto* button = ControlAs<QAbstractButton>(static_cast<std::int16_t>(id));
    return button && button->isChecked();
}

void ASettingsPage::SetChecked(int id, bool checked)
{
    if (auto* button = ControlAs<QAbstractButton>(static_cast<std::int16_t>(id)))
        button->setChecked(checked);
}

void ASettingsPage::Enable(int id, bool enabled)
{
    if (QWidget* control = Control(static_cast<std::int16_t>(id)))
        control->setEnabled(enabled);
}

int ASettingsPage::ShowMessage(int id)
{
    AMessageBoxOptions options;
    options.text = std::u16string(context_.Strings().Text(id));
    options.title = u"Fendral";
    options.icon = AMessageIcon::Warning;
    return context_.Dialogs().ShowMessage(this, options);
}

namespace {

// ---- general: automatic start, the window, saving after every change

constexpr int kAutostart = 111, kLastSession = 112, kThisFile = 113, kToTray = 115, kMinimizeOnClose = 116,
              kSaveEveryChange = 640;
constexpr std::int16_t kStartFileEdit = -4;

const char* const kGeneralLayout =
    "{bm4xeyt{t1xe"
    "{t1xeb8#110(:t){bl10t6xl[bCgt#111]}{bl22t4xl[bRgt#112]}{t2l22t2xe{bxl[bRt#113]}{bl4Wexe[e.t#-4]}}}"
    "{t1xet6b8#114(:t){bl10t6xl[bCgt#115]}{bl10t4xl[bCgt#116]}}"
    "{bl3t8xl[bCgt#640]}"
    "}}";

class AGeneralPage final : public ASettingsPage {
public:
    AGeneralPage(const AProgramContext& context, QWidget* parent) : ASettingsPage(context, kGeneralLayout, parent)
    {
        Create();
        for (int id : {kAutostart, kLastSession, kThisFile})
            connect(ControlAs<QAbstractButton>(static_cast<std::int16_t>(id)), &QAbstractButton::toggled, this,
                    [this] { UpdateEnabled(); });
        connect(ControlAs<Win32API::VelvixControls::AEdit>(kStartFileEdit),
                &Win32API::VelvixControls::AEdit::FrameButtonClicked, this, [this](int button) {
                    if (button == kBrowseButton)
                        Browse();
                });
    }

    void Load() override
    {
        const auto& settings = context_.Options();
        found_ = ReadAutostart(*context_.fs, EntryPath());
        SetChecked(kAutostart, found_.has_value());
        const bool ownFile = found_ && found_->dataFile;
        SetChecked(ownFile ? kThisFile : kLastSession, true);
        SetChecked(ownFile ? kLastSession : kThisFile, false);
        ControlAs<QLineEdit>(kStartFileEdit)->setText(ownFile ? PathToQString(*found_->dataFile) : QString());
        SetChecked(kToTray, settings.Flag(kMinimizeToTray));
        SetChecked(kMinimizeOnClose, settings.Flag(UserInterface::Settings::kMinimizeOnClose));
        SetChecked(kSaveEveryChange, settings.Flag(kSaveAfterEveryChange));
        UpdateEnabled();
    }

    bool Store(bool apply) override
    {
        if (!apply)
            return true;
        auto& settings = context_.Options();
        settings.SetFlag(kMinimizeToTray, IsChecked(kToTray));
        settings.SetFlag(UserInterface::Settings::kMinimizeOnClose, IsChecked(kMinimizeOnClose));
        settings.SetFlag(kSaveAfterEveryChange, IsChecked(kSaveEveryChange));
        const std::string path = EntryPath();
        if (IsChecked(kAutostart)) {
            AAutostartEntry entry{context_.folders.programPath, std::nullopt};
            const std::string file = ToPath(ControlAs<QLineEdit>(kStartFileEdit)->text().trimmed());
            // An empty file name means the file of the last session, as the other choice does.
            if (IsChecked(kThisFile) && !file.empty())
                entry.dataFile = file;
            WriteAutostart(*context_.fs, path, entry);
        } else if (found_) {
            RemoveAutostart(*context_.fs, path);
        }
        return true;
    }

private:
    std::string EntryPath() const { return AutostartPath(context_.folders.configFolder); }

    void UpdateEnabled()
    {
        const bool autostart = IsChecked(kAutostart);
        Enable(kLastSession, autostart);
        Enable(kThisFile, autostart);
        Enable(kStartFileEdit, autostart && IsChecked(kThisFile));
    }

    void Browse()
    {
        AFileDialogSpec spec;
        spec.title = TableText(context_.Strings(), MainText::kOpenTitle);
        spec.filters = FileFilter(TableText(context_.Strings(), MainText::kDataFiles), kOpenExtensions);
        spec.defaultSuffix = QStringLiteral("fend");
        spec.initialPath = ToPath(ControlAs<QLineEdit>(kStartFileEdit)->text());
        if (const auto chosen = context_.Dialogs().AskOpenFile(this, spec))
            ControlAs<QLineEdit>(kStartFileEdit)->setText(PathToQString(*chosen));
    }

    std::optional<AAutostartEntry> found_;
};

// ---- transactions

const char* const kTransactionsLayout =
    "{bm4xeyt{t1xe{t1l10b8#136xl(:t){bt4xl[bCt#137]}{bt4xl[bCt#138]}{bt4xl[bCt#139]}}{t1l10b8#140xl(:t)"
    "{bt4xl[bCt#141]}}{t1l10b8#142xl(:t){bt4xl[bRg#143]}{bt4xl[bR#144]}}}}";

class ATransactionsPage final : public ASettingsPage {
public:
    ATransactionsPage(const AProgramContext& context, QWidget* parent) : ASettingsPage(context, kTransactionsLayout, parent)
    {
        Create();
    }

    void Load() override
    {
        const auto& settings = context_.Options();
        SetChecked(137, !settings.Flag(kHideCommandPanel));
        SetChecked(138, settings.Flag(kShowGroupingField));
        SetChecked(139, settings.Flag(kExpandedAccountList));
        SetChecked(141, settings.Flag(kSkipFilterCheck));
        SetChecked(143, settings.initDupDate.value == 0);
        SetChecked(144, settings.initDupDate.value == 1);
    }

    bool Store(bool apply) override
    {
        if (!apply)
            return true;
        auto& settings = context_.Options();
        settings.SetFlag(kHideCommandPanel, !IsChecked(137));
        settings.SetFlag(kShowGroupingField, IsChecked(138));
        settings.SetFlag(kExpandedAccountList, IsChecked(139));
        settings.SetFlag(kSkipFilterCheck, IsChecked(141));
        settings.initDupDate.value = IsChecked(144) ? 1 : 0;
        return true;
    }
};

}  // namespace

ASettingsPage* CreateGeneralPage(const AProgramContext& context, QWidget* parent)
{
    return new AGeneralPage(context, parent);
}

ASettingsPage* CreateTransactionsPage(const AProgramContext& context, QWidget* parent)
{
    return new ATransactionsPage(context, parent);
}

}  // namespace UserInterface::Settings
