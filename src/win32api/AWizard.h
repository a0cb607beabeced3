// The program's wizard frame: a title and subtitle per step over the step's page (a form
// laid out from its own layout string), and the Back, Next, Finish and Cancel buttons.
#pragma once
#include <QDialog>
#include <QString>

#include <memory>
#include <source_location>
#include <string>
#include <vector>

class QLabel;
class QPushButton;
class QStackedWidget;

namespace UtilityClasses::Strings {
class AStrings;
}
namespace Win32API::VelvixForms {
class ADialogForm;
}

namespace UserInterface {

class AWizard : public QDialog {
    Q_OBJECT
public:
    class AWizardStep {
    public:
        AWizardStep(int titleId, int subtitleId, std::string layout,
                    std::source_location where = std::source_location::current());
        virtual ~AWizardStep();
        AWizardStep(const AWizardStep&) = delete;
        AWizardStep& operator=(const AWizardStep&) = delete;

        // The page; it exists from the moment the step is added to a wizard.
        Win32API::VelvixForms::ADialogForm* Form() const { return form_; }
        int TitleId() const { return titleId_; }
        int SubtitleId() const { return subtitleId_; }
        // A step of a window the string table has no texts for gives its own, instead of ids.
        void SetOwnTexts(QString title, QString subtitle)
        {
            ownTitle_ = std::move(title);
            ownSubtitle_ = std::move(subtitle);
        }

        // Whether the wizard passes this step by, in either direction.
        virtual bool IsSkipped(const AWizard& wizard) const;
        // The step is about to be shown.
        virtual void OnEnter(AWizard& wizard);
        // The step is left by Back (forward false) or by Next or Finish; false stays (after
        // the step told the user why).
        virtual bool OnLeave(AWizard& wizard, bool forward);

    private:
        friend class AWizard;
        int titleId_;
        int subtitleId_;
        std::string layout_;
        QString ownTitle_, ownSubtitle_;
        std::source_location where_;
        Win32API::VelvixForms::ADialogForm* form_ = nullptr;
    };

    enum AButton { kBack = 13, kNext = 14, kFinish = 15, kCancel = 2 };

    AWizard(const UtilityClasses::Strings::AStrings* strings, int titleId, QWidget* parent = nullptr);
    ~AWizard() override;

    AWizardStep* AddStep(std::unique_ptr<AWizardStep> step);
    int StepCount() const { return static_cast<int>(steps_.size()); }
    AWizardStep* Step(int index) const;
    int CurrentStep() const { return current_; }

    // Shows the first step that is not skipped (done by the first show when not called).
    void Start();
    // What the buttons do; false when nothing changed.
    bool Next();
    bool Back();
    bool Finish();
    void Cancel();

    // After entering a step the buttons follow the position: Back with an earlier step, Next
    // with a later one, Finish on the last. A step may change that (a running operation
    // leaves only Cancel).
    void EnableButton(AButton button, bool enabled);
    bool IsButtonEnabled(AButton button) const;
    void ApplyTexts(const UtilityClasses::Strings::AStrings* strings);

signals:
    void StepChanged(int index);

protected:
    // Finishing; false keeps the wizard open.
    virtual bool OnFinish();
    void reject() override;
    void showEvent(QShowEvent* event) override;

private:
    int Neighbour(int from, int direction) const;
    void Enter(int index);
    void ApplyStepTexts();
    QPushButton* Button(AButton button) const;

    const UtilityClasses::Strings::AStrings* strings_;
    int titleId_;
    std::vector<std::unique_ptr<AWizardStep>> steps_;
    int current_ = -1;
    QLabel* title_;
    QLabel* subtitle_;
    QStackedWidget* pages_;
    QPushButton* back_;
    QPushButton* next_;
    QPushButton* finish_;
    QPushButton* cancel_;
};

}  // namespace UserInterface
