// The real start-up question box: caption "Сообщение", answered with "Да" or "Нет".
#include "gui/app/guidialogs.h"
#include "support/testsupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

using namespace lir;

namespace {

struct Seen
{
    QString caption;
    QString text;
    QStringList buttons;
};

// Answers the box that the next question shows by clicking the button of that text.
void answerWith(const QString& button, Seen* seen)
{
    QTimer::singleShot(0, [button, seen] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen->caption = box->windowTitle();
        seen->text = box->text();
        for (QAbstractButton* b : box->buttons())
            seen->buttons << b->text();
        for (QAbstractButton* b : box->buttons()) {
            if (b->text() == button) {
                b->click();
                return;
            }
        }
        // No such button: the box is closed all the same, and the checks fail.
        box->done(QMessageBox::Cancel);
    });
}

} // namespace

TEST(GuiDialogs, TheQuestionIsAnsweredWithDaOrNet)
{
    gui::GuiDialogs dialogs;
    Seen seen;
    answerWith(QStringLiteral("Да"), &seen);
    EXPECT_EQ(dialogs.question(QStringLiteral("Первая строка\rВторая строка")), Dialogs::Answer::Yes);
    EXPECT_EQ(seen.caption, QStringLiteral("Сообщение"));
    EXPECT_EQ(seen.text, QStringLiteral("Первая строка\nВторая строка"));
    seen.buttons.sort();
    EXPECT_EQ(seen.buttons, (QStringList{QStringLiteral("Да"), QStringLiteral("Нет")}));

    Seen second;
    answerWith(QStringLiteral("Нет"), &second);
    EXPECT_EQ(dialogs.question(QStringLiteral("Преобразовать?")), Dialogs::Answer::No);
    EXPECT_EQ(second.text, QStringLiteral("Преобразовать?"));
}

// Before something is lost a hurried Enter or Esc answers "Нет".
TEST(GuiDialogs, TheQuestionBeforeALossAnswersNoToEnterAndEsc)
{
    gui::GuiDialogs dialogs;
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
        QString shown;
        QString defaultButton;
        bool keyClosedIt = false;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            shown = box->text();
            defaultButton = box->defaultButton() ? box->defaultButton()->text() : QString();
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(box->focusWidget() ? box->focusWidget() : box, &press);
            keyClosedIt = !box->isVisible();
            if (!keyClosedIt)
                box->done(QMessageBox::Cancel);
        });
        EXPECT_EQ(dialogs.confirm(QStringLiteral("Очистить заказ?")), Dialogs::Answer::No) << key;
        EXPECT_TRUE(keyClosedIt) << key;
        EXPECT_EQ(shown, QStringLiteral("Очистить заказ?"));
        EXPECT_EQ(defaultButton, QStringLiteral("Нет"));
    }
    Seen seen;
    answerWith(QStringLiteral("Да"), &seen);
    EXPECT_EQ(dialogs.confirm(QStringLiteral("Очистить заказ?")), Dialogs::Answer::Yes);
    EXPECT_EQ(seen.caption, QStringLiteral("Сообщение"));
}
