#include "LayoutTestMetrics.h"
#include "ToolkitTestApp.h"

#include "win32api/AWizard.h"
#include "win32api/DynaForm.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using UserInterface::AWizard;

namespace {

// A step that counts its visits and may refuse to be left forward or be skipped.
class ACountingStep : public AWizard::AWizardStep {
public:
    ACountingStep(int title, std::string layout) : AWizardStep(title, title + 1, std::move(layout)) {}
    bool IsSkipped(const AWizard&) const override { return skipped; }
    void OnEnter(AWizard&) override { ++entered; }
    bool OnLeave(AWizard&, bool forward) override { return !forward || allowForward; }
    bool skipped = false;
    bool allowForward = true;
    int entered = 0;
};

class Wizard : public ::testing::Test {
protected:
    Wizard() : strings(LayoutTests::MakeStrings())
    {
        ToolkitTests::TestApplication();
        wizard = std::make_unique<AWizard>(strings.get(), 518);
        for (int title : {519, 524, 532, 538})
            steps.push_back(static_cast<ACountingStep*>(
                wizard->AddStep(std::make_unique<ACountingStep>(title, "{bm4[bCt#335]}"))));
    }
    QString Label(int index) const
    {
        return wizard->findChildren<QLabel*>().at(index)->text();
    }
    QString Text(int id) const
    {
        std::u16string_view t = strings->Text(id);
        return QString::fromUtf16(t.data(), static_cast<qsizetype>(t.size()));
    }
    std::unique_ptr<UtilityClasses::Strings::AStrings> strings;
    std::unique_ptr<AWizard> wizard;
    std::vector<ACountingStep*> steps;
};

TEST_F(Wizard, WalksTheStepsWithTitlesAndButtons)
{
    wizard->show();
    EXPECT_EQ(wizard->windowTitle(), Text(518));
    EXPECT_EQ(wizard->CurrentStep(), 0);
    EXPECT_EQ(steps[0]->entered, 1);
    EXPECT_EQ(Label(0), Text(519));
    EXPECT_EQ(Label(1), Text(520));
    EXPECT_FALSE(wizard->IsButtonEnabled(AWizard::kBack));
    EXPECT_TRUE(wizard->IsButtonEnabled(AWizard::kNext));
    EXPECT_FALSE(wizard->IsButtonEnabled(AWizard::kFinish));
    EXPECT_TRUE(steps[0]->Form()->isVisible());

    EXPECT_TRUE(wizard->Next());
    EXPECT_EQ(Label(0), Text(524));
    EXPECT_TRUE(wizard->IsButtonEnabled(AWizard::kBack));
    EXPECT_FALSE(steps[0]->Form()->isVisible());
    EXPECT_TRUE(wizard->Next());
    EXPECT_TRUE(wizard->Next());
    EXPECT_EQ(wizard->CurrentStep(), 3);
    EXPECT_FALSE(wizard->IsButtonEnabled(AWizard::kNext));
    EXPECT_TRUE(wizard->IsButtonEnabled(AWizard::kFinish));
    EXPECT_FALSE(wizard->Next());
    EXPECT_TRUE(wizard->Back());
    EXPECT_EQ(wizard->CurrentStep(), 2);
    EXPECT_EQ(steps[2]->entered, 2);
}

TEST_F(Wizard, SkippedStepsArePassedBothWays)
{
    steps[1]->skipped = true;
    steps[3]->skipped = true;
    wizard->Start();
    EXPECT_TRUE(wizard->Next());
    EXPECT_EQ(wizard->CurrentStep(), 2);
    // The last step shown is the last one that is not skipped.
    EXPECT_TRUE(wizard->IsButtonEnabled(AWizard::kFinish));
    EXPECT_TRUE(wizard->Back());
    EXPECT_EQ(wizard->CurrentStep(), 0);
    EXPECT_EQ(steps[1]->entered, 0);

    steps[0]->skipped = true;
    AWizard other(strings.get(), 518);
    auto* only = other.AddStep(std::make_unique<ACountingStep>(519, "{b}"));
    static_cast<ACountingStep*>(only)->skipped = true;
    other.Start();
    EXPECT_EQ(other.CurrentStep(), -1);
    EXPECT_FALSE(other.Next());
    EXPECT_FALSE(other.Finish());
}

TEST_F(Wizard, AStepMayRefuseToBeLeftForward)
{
    wizard->Start();
    steps[0]->allowForward = false;
    QSignalSpy changed(wizard.get(), &AWizard::StepChanged);
    EXPECT_FALSE(wizard->Next());
    EXPECT_EQ(wizard->CurrentStep(), 0);
    EXPECT_EQ(changed.count(), 0);
    steps[0]->allowForward = true;
    wizard->Next();
    wizard->Next();
    wizard->Next();
    steps[3]->allowForward = false;
    EXPECT_FALSE(wizard->Finish());
    EXPECT_EQ(wizard->result(), QDialog::Rejected);
    steps[3]->allowForward = true;
    EXPECT_TRUE(wizard->Finish());
    EXPECT_EQ(wizard->result(), QDialog::Accepted);
}

TEST_F(Wizard, RunningStepLeavesOnlyCancelAndEscapeFollowsIt)
{
    wizard->show();
    for (auto button : {AWizard::kBack, AWizard::kNext, AWizard::kFinish, AWizard::kCancel})
        wizard->EnableButton(button, false);
    QTest::keyClick(wizard.get(), Qt::Key_Escape);
    EXPECT_TRUE(wizard->isVisible());
    EXPECT_FALSE(wizard->Next());
    wizard->EnableButton(AWizard::kCancel, true);
    QTest::keyClick(wizard.get(), Qt::Key_Escape);
    EXPECT_FALSE(wizard->isVisible());
    EXPECT_EQ(wizard->result(), QDialog::Rejected);
}

TEST_F(Wizard, ButtonTextsAndPagesFollowALanguageSwitch)
{
    wizard->Start();
    auto other = LayoutTests::MakeStrings();
    other->SetText(14, u"Next &>");
    other->SetText(335, u"Currencies");
    other->SetText(519, u"Welcome");
    wizard->ApplyTexts(other.get());
    bool found = false;
    for (QPushButton* button : wizard->findChildren<QPushButton*>())
        found = found || button->text() == "Next &>";
    EXPECT_TRUE(found);
    EXPECT_EQ(steps[0]->Form()->ControlAs<QCheckBox>(335)->text(), "Currencies");
    EXPECT_EQ(Label(0), "Welcome");
}

}  // namespace
