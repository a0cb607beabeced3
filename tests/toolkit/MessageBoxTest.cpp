#include "LayoutTestMetrics.h"
#include "ToolkitTestApp.h"

#include "win32api/AssertionBox.h"
#include "win32api/DynaForm.h"
#include "win32api/MessageBox.h"

#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace Win32API::VelvixForms;

namespace {

class MessageBox : public ::testing::Test {
protected:
    MessageBox() : strings(LayoutTests::MakeStrings()) { ToolkitTests::TestApplication(); }
    std::unique_ptr<UtilityClasses::Strings::AStrings> strings;
};

TEST_F(MessageBox, ButtonsAreThePlatformsWithTheirTextsFromTheStringTable)
{
    struct Case { AMessageButtons buttons; std::vector<int> ids; };
    const Case cases[] = {
        {AMessageButtons::Ok, {1}},         {AMessageButtons::OkCancel, {1, 2}},
        {AMessageButtons::AbortRetryIgnore, {3, 4, 5}}, {AMessageButtons::YesNoCancel, {6, 7, 2}},
        {AMessageButtons::YesNo, {6, 7}},   {AMessageButtons::RetryCancel, {4, 2}},
    };
    for (const Case& c : cases) {
        AMessageBoxOptions options;
        options.text = u"Текст";
        options.buttons = c.buttons;
        options.defaultButton = static_cast<int>(c.ids.size()) - 1;
        AMessageBox box(strings.get(), options);
        EXPECT_EQ(MessageButtonIds(c.buttons), c.ids);
        int previousRight = -1;
        for (std::size_t i = 0; i < c.ids.size(); ++i) {
            auto* button = box.Form().ControlAs<QPushButton>(static_cast<std::int16_t>(c.ids[i]));
            ASSERT_NE(button, nullptr) << c.ids[i];
            std::u16string_view text = strings->Text(c.ids[i]);
            EXPECT_EQ(button->text(), QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
            EXPECT_EQ(button->isDefault(), i + 1 == c.ids.size());
            EXPECT_GT(button->x(), previousRight);  // in a row, in order
            previousRight = button->geometry().right();
        }
        box.Press(c.ids[0]);
        EXPECT_EQ(box.Answer(), c.ids[0]);
    }
}

TEST_F(MessageBox, TheTickOnlyWhenOffered)
{
    AMessageBoxOptions options;
    options.text = u"Вопрос?";
    options.buttons = AMessageButtons::YesNo;
    options.icon = AMessageIcon::Question;
    {
        AMessageBox box(strings.get(), options);
        EXPECT_FALSE(box.Form().IsElementShown(-273));
        EXPECT_FALSE(box.DontShowAgain());
    }
    options.offerDontShowAgain = true;
    AMessageBox box(strings.get(), options);
    box.show();
    auto* tick = box.Form().ControlAs<QCheckBox>(462);
    ASSERT_NE(tick, nullptr);
    EXPECT_TRUE(tick->isVisible());
    EXPECT_FALSE(box.DontShowAgain());
    tick->click();
    EXPECT_TRUE(box.DontShowAgain());
    // The icon sits beside the text.
    auto* icon = box.Form().ControlAs<QLabel>(-270);
    EXPECT_FALSE(icon->pixmap().isNull());
    EXPECT_LT(icon->x(), box.Form().Control(-271)->x());
}

TEST_F(MessageBox, EscapeAnswersCancelOrOkButNeverForYesNo)
{
    struct Case { AMessageButtons buttons; int answer; };
    const Case cases[] = {
        {AMessageButtons::OkCancel, kIdCancel}, {AMessageButtons::YesNoCancel, kIdCancel},
        {AMessageButtons::Ok, kIdOk}, {AMessageButtons::YesNo, 0}, {AMessageButtons::AbortRetryIgnore, 0},
    };
    for (const Case& c : cases) {
        AMessageBoxOptions options;
        options.buttons = c.buttons;
        AMessageBox box(strings.get(), options);
        box.show();
        QTest::keyClick(&box, Qt::Key_Escape);
        EXPECT_EQ(box.Answer(), c.answer);
        EXPECT_EQ(box.isVisible(), c.answer == 0);
    }
}

TEST_F(MessageBox, SeveralLinesMakeItTaller)
{
    AMessageBoxOptions one, three;
    one.text = u"Одна строка";
    three.text = u"Первая строка\r\nВторая строка\r\n\r\nЧетвёртая";
    AMessageBox small(strings.get(), one), tall(strings.get(), three);
    auto* label = tall.Form().ControlAs<QLabel>(-271);
    EXPECT_FALSE(label->text().contains(u'\r'));
    EXPECT_GE(label->height(), 4 * label->fontMetrics().height());
    EXPECT_GT(tall.Form().MinimumClientSize().cy, small.Form().MinimumClientSize().cy);
    // Without an icon its place is free.
    EXPECT_FALSE(small.Form().IsElementShown(-272));
}

TEST(AssertionBox, TheTextCarriesTheReportAndTellsOfTheClipboardOnlyWhenItWasCopied)
{
    const std::string report = "Файл: x.cpp (12)\r\nВерсия: 2.1.235\r\n\nСтек вызовов: 00401000";
    for (bool copied : {true, false}) {
        const QString text = AssertionMessageText(report, copied);
        EXPECT_TRUE(text.contains(QString::fromStdString(report) + "\r\n")) << copied;
        EXPECT_EQ(text.contains(QString::fromUtf8("буфер обмена")), copied);
    }
}

TEST(AssertionBox, FailedCheckCopiesTheReportAndAsks)
{
    ToolkitTests::TestApplication();
    QString askedTitle, askedText;
    bool answer = true;
    auto previous = Fendral::SetAssertionHandler(MakeGuiAssertionHandler([&](const QString& title, const QString& text) {
        askedTitle = title;
        askedText = text;
        return answer;
    }));
    const int line = __LINE__ + 1;
    bool held = FD_VERIFY(1 + 1 == 3);
    Fendral::SetAssertionHandler(std::move(previous));
    EXPECT_FALSE(held);  // Yes: the program goes on after the failed check
    EXPECT_EQ(askedTitle, QString::fromUtf8("Ошибка времени исполнения"));
    QString place = QString::fromUtf8("Файл: MessageBoxTest.cpp (%1)").arg(line);
    EXPECT_TRUE(askedText.contains(place)) << askedText.toStdString();
    QString clipboard = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(clipboard.startsWith(place)) << clipboard.toStdString();
    EXPECT_TRUE(clipboard.contains(QString::fromUtf8("Версия: 2.1.235")));
    EXPECT_TRUE(askedText.contains(QString::fromUtf8("буфер обмена")));
}

}  // namespace
