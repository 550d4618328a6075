// The real Qt services behind the Ui seam, answered by closing what they show.
#include "widgets/ui.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Shown
{
    QString title;
    QString text;
    QStringList buttons;
};

// Runs a message box through the real services; reads it and presses the button labelled press.
Shown showAndPress(const QString &caption, int buttons, const QString &press)
{
    Shown shown;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown.title = box->windowTitle();
        shown.text = box->text();
        for (QAbstractButton *button : box->buttons())
            shown.buttons << button->text().remove(QLatin1Char('&'));
        for (QAbstractButton *button : box->buttons())
            if (button->text().remove(QLatin1Char('&')) == press)
                button->click();
    });
    const int answer = Ui::messageBox(nullptr, QStringLiteral("Something failed."), caption,
                                      Ui::Icon::Warning, buttons);
    shown.buttons.sort();
    shown.text += QStringLiteral(" -> %1").arg(answer);
    return shown;
}

TEST(UiServices, AMessageBoxWithoutCaptionGetsTheSystemsNotTheProgramsName)
{
    QApplication::setApplicationName(QStringLiteral("Domelio"));
    const Shown plain = showAndPress(QString(), Ui::Ok, QStringLiteral("OK"));
    EXPECT_EQ(plain.title, Ui::systemCaption());
    EXPECT_NE(plain.title, QStringLiteral("Domelio"));
    EXPECT_EQ(plain.text, QStringLiteral("Something failed. -> %1").arg(int(Ui::Ok)));

    const Shown named = showAndPress(QStringLiteral("Domelio"), Ui::Yes | Ui::No,
                                     QStringLiteral("No"));
    EXPECT_EQ(named.title, QStringLiteral("Domelio"));
    EXPECT_EQ(named.buttons, (QStringList { "No", "Yes" }));
    EXPECT_EQ(named.text, QStringLiteral("Something failed. -> %1").arg(int(Ui::No)));
}

} // namespace
