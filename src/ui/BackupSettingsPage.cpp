// The settings dialog's backup page: whether, where, how often and how many copies.
#include "core/BackupSettingsCheck.h"
#include "core/CommonTexts.h"
#include "core/Settings.h"
#include "ui/ProgramContext.h"
#include "ui/SettingsPages.h"
#include "ui/UiText.h"
#include "ui/UserDialogs.h"
#include "win32api/AEdit.h"

#include <QAbstractButton>

namespace UserInterface::Settings {

namespace {

constexpr int kEnabled = 117;
constexpr int kPlaces[] = {119, 120, 121};
constexpr int kPeriods[] = {123, 124, 125, 126};
constexpr std::int16_t kFolderEdit = -5, kCopiesEdit = -6;

const char* const kBackupLayout =
    "{bm4xeyt{t1xe"
    "{bl3t4xl[bCgt#117]}"
    "{t1xet10b8#118(:t){bl10t6xl[bRgt#119]}{bl10t4xl[bRt#120]}{t2l10t4xe{bxl[bRt#121]}{bl4Wexe[e.t#-5]}}}"
    "{t1xet6b8#122(:t){bl10t6xl[bRgt#123]}{bl10t4xl[bRt#124]}{bl10t4xl[bRt#125]}{bl10t4xl[bRt#126]}}"
    "{t2l3t8xl{bxl[sg#127]}{bl6W24[et#-6]}}"
    "}}";

class ABackupPage final : public ASettingsPage {
public:
    ABackupPage(const AProgramContext& context, QWidget* parent) : ASettingsPage(context, kBackupLayout, parent)
    {
        Create();
        for (int id : {kEnabled, kPlaces[0], kPlaces[1], kPlaces[2]})
            connect(ControlAs<QAbstractButton>(static_cast<std::int16_t>(id)), &QAbstractButton::toggled, this,
                    [this] { UpdateEnabled(); });
        connect(ControlAs<Win32API::VelvixControls::AEdit>(kFolderEdit),
                &Win32API::VelvixControls::AEdit::FrameButtonClicked, this, [this](int button) {
                    if (button != kBrowseButton)
                        return;
                    // The browser starts in the folder the edit names.
                    auto* edit = ControlAs<QLineEdit>(kFolderEdit);
                    if (const auto folder = context_.Dialogs().AskFolder(this, ToPath(edit->text())))
                        edit->setText(PathToQString(*folder));
                });
    }

    void Load() override
    {
        const auto& settings = context_.Options();
        const int mode = settings.backupMode.value;
        SetChecked(kEnabled, mode != kNoBackups);
        const int place = mode == kNoBackups ? 0 : mode - 1;
        for (int i = 0; i < 3; ++i)
            SetChecked(kPlaces[i], i == place);
        for (int i = 0; i < 4; ++i)
            SetChecked(kPeriods[i], i == settings.backupPeriod.value);
        ControlAs<QLineEdit>(kCopiesEdit)
            ->setText(QString::number(static_cast<std::uint32_t>(settings.backupVersions.value)));
        ControlAs<QLineEdit>(kFolderEdit)->setText(PathToQString(settings.backupFolder.value));
        UpdateEnabled();
    }

    bool Store(bool apply) override
    {
        ABackupPageInput input;
        input.enabled = IsChecked(kEnabled);
        for (int i = 0; i < 3; ++i)
            if (IsChecked(kPlaces[i]))
                input.placeIndex = i;
        for (int i = 0; i < 4; ++i)
            if (IsChecked(kPeriods[i]))
                input.periodIndex = i;
        input.copiesText = ToPath(ControlAs<QLineEdit>(kCopiesEdit)->text());
        input.folderText = ToPath(ControlAs<QLineEdit>(kFolderEdit)->text().trimmed());
        const ABackupPageCheck check = CheckBackupPage(input, *context_.fs, context_.folders.programFolder);
        if (check.refusal) {
            ShowMessage(check.refusal->id);
            const bool copies = check.refusal->id == UtilityClasses::Strings::CommonText::kBackupCopiesOutOfRange;
            Control(copies ? kCopiesEdit : kFolderEdit)->setFocus();
            return false;
        }
        if (apply)
            ApplyBackupChoice(context_.Options(), check.choice);
        return true;
    }

private:
    void UpdateEnabled()
    {
        const bool enabled = IsChecked(kEnabled);
        for (int id : kPlaces)
            Enable(id, enabled);
        for (int id : kPeriods)
            Enable(id, enabled);
        Enable(kCopiesEdit, enabled);
        Enable(kFolderEdit, enabled && IsChecked(kPlaces[2]));
    }
};

}  // namespace

ASettingsPage* CreateBackupPage(const AProgramContext& context, QWidget* parent)
{
    return new ABackupPage(context, parent);
}

}  // namespace UserInterface::Settings
