// The label control: font and colour setters, presets, hover underlining, size-to-text, clicks
// and blinking.
#include "controls/label.h"

#include <QEnterEvent>
#include <QFontDatabase>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

QColor pixelAt(QWidget &widget, QPoint point)
{
    return widget.grab().toImage().pixelColor(point);
}

void hover(CLabel &label, bool enter)
{
    if (enter) {
        QEnterEvent event(QPointF(2, 2), QPointF(2, 2), label.mapToGlobal(QPointF(2, 2)));
        QCoreApplication::sendEvent(&label, &event);
    } else {
        QEvent event(QEvent::Leave);
        QCoreApplication::sendEvent(&label, &event);
    }
}

} // namespace

TEST(Label, ColorRefsAreBlueGreenRed)
{
    EXPECT_EQ(fromColorRef(0x000000FFu), QColor(255, 0, 0));
    EXPECT_EQ(fromColorRef(0x00FF0000u), QColor(0, 0, 255));
    EXPECT_EQ(fromColorRef(16777215u), QColor(255, 255, 255));
    EXPECT_EQ(toColorRef(QColor(55, 96, 157)), 0x009D6037u);
    EXPECT_EQ(fromColorRef(toColorRef(QColor(1, 2, 3))), QColor(1, 2, 3));
}

TEST(Label, StartsWithAnInstalledVerdanaOrDejaVuFace)
{
    CLabel label;
    const QString family = label.font().family();
    if (QFontDatabase::hasFamily(QStringLiteral("Verdana")))
        EXPECT_EQ(family, QStringLiteral("Verdana"));
    else
        EXPECT_EQ(family, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(label.fontDescription(), label.font());
    EXPECT_FALSE(label.font().bold());
    EXPECT_EQ(label.textColor(), QApplication::palette().color(QPalette::WindowText));
    EXPECT_EQ(label.bkColor(), QApplication::palette().color(QPalette::Button));
    EXPECT_FALSE(label.hoverUnderline());
}

TEST(Label, SizeAndBoldGiveTheSameFontInEitherOrder)
{
    CLabel first, second;
    first.SetFontSize(11).SetFontBold(true);
    second.SetFontBold(true).SetFontSize(11);
    EXPECT_EQ(first.font(), second.font());
    EXPECT_EQ(first.font().pixelSize(), 11);
    EXPECT_EQ(first.font().weight(), QFont::Bold);
    second.SetFontUnderline(true).SetFontItalic(true).SetFontBold(false);
    EXPECT_EQ(second.font().pixelSize(), 11);
    EXPECT_TRUE(second.font().underline());
    EXPECT_TRUE(second.font().italic());
    EXPECT_EQ(second.font().weight(), QFont::Normal);
}

TEST(Label, PresetsChainAColourAndBold)
{
    CLabel title, link;
    title.SetTitleStyle();
    link.SetTextColor(0x0000FFu).SetLinkStyle();
    EXPECT_EQ(title.textColor(), QColor(55, 96, 157));
    EXPECT_TRUE(title.font().bold());
    EXPECT_EQ(link.textColor(), QColor(0, 0, 0));
    EXPECT_TRUE(link.font().bold());
    EXPECT_EQ(title.palette().color(QPalette::WindowText), QColor(55, 96, 157));
}

TEST(Label, SetBkColorTwicePaintsTheSecondColour)
{
    CLabel label(QStringLiteral("Swatch"));
    label.resize(60, 20);
    label.SetBkColor(0x000000FFu).SetBkColor(QColor(0, 128, 0));
    EXPECT_EQ(label.bkColor(), QColor(0, 128, 0));
    EXPECT_EQ(label.CtlColor().color(), QColor(0, 128, 0));
    EXPECT_EQ(pixelAt(label, QPoint(58, 18)), QColor(0, 128, 0));
}

TEST(Label, TextColourIsPainted)
{
    CLabel label(QStringLiteral("MMMM"));
    label.SetFontSize(20).SetTextColor(QColor(200, 0, 0)).SetBkColor(QColor(Qt::white));
    label.resize(100, 30);
    const QImage image = label.grab().toImage();
    int red = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            red += image.pixelColor(x, y) == QColor(200, 0, 0);
    EXPECT_GT(red, 10);
}

TEST(Label, HoverUnderlinesOncePerHoverOnlyWhenEnabled)
{
    CLabel label(QStringLiteral("Tasks"));
    hover(label, true);
    EXPECT_FALSE(label.font().underline());
    hover(label, false);
    EXPECT_FALSE(label.font().underline());

    label.SetHoverUnderline(true);
    EXPECT_EQ(label.cursor().shape(), Qt::PointingHandCursor);
    hover(label, true);
    EXPECT_TRUE(label.font().underline());
    EXPECT_TRUE(label.isHovering());
    hover(label, true); // still the same hover
    EXPECT_TRUE(label.font().underline());
    hover(label, false);
    EXPECT_FALSE(label.font().underline());
    EXPECT_FALSE(label.isHovering());
    hover(label, true);
    EXPECT_TRUE(label.font().underline());

    label.SetHoverUnderline(false);
    EXPECT_NE(label.cursor().shape(), Qt::PointingHandCursor);
}

TEST(Label, SizeToTextFitsTheWidestLineAndCountsLines)
{
    CLabel label;
    label.SetFontSize(12);
    label.SetText(QString());
    label.SizeToText();
    EXPECT_EQ(label.size(), QSize(0, 0)); // no frame: nothing remains

    label.SetText(QStringLiteral("ab\r\nthe longest line\r\n\r\nxyz"));
    label.SizeToText();
    const QFontMetrics metrics(label.font());
    EXPECT_EQ(label.width(), metrics.horizontalAdvance(QStringLiteral("the longest line")));
    EXPECT_EQ(label.height(), 3 * metrics.height()); // the empty line in between does not count

    label.SetText(QStringLiteral("\nstarts with a break"));
    label.SizeToText();
    EXPECT_EQ(label.height(), 2 * metrics.height());

    label.setFrameStyle(QFrame::Box | QFrame::Plain);
    label.setLineWidth(2);
    label.SetText(QString());
    label.SizeToText();
    EXPECT_EQ(label.size(), QSize(4, 4)); // only the borders
}

TEST(Label, TextIsPlain)
{
    CLabel label;
    label.SetText(QStringLiteral("<b>Attic</b> & loft"));
    EXPECT_EQ(label.textFormat(), Qt::PlainText);
    EXPECT_EQ(label.text(), QStringLiteral("<b>Attic</b> & loft"));
}

TEST(Label, ClickedOnRelease)
{
    CLabel label(QStringLiteral("Click me"));
    label.resize(80, 20);
    QSignalSpy clicked(&label, &CLabel::clicked);
    QTest::mouseClick(&label, Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicked.count(), 1);
    QTest::mouseClick(&label, Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(clicked.count(), 1);
}

TEST(Label, BlinkingAlternatesTextOrBackground)
{
    CLabel label(QStringLiteral("Due"));
    label.SetBkColor(QColor(Qt::yellow));
    label.StartBlink(CLabel::BlinkText, 10000);
    label.OnTimer();
    EXPECT_EQ(label.text(), QString());
    label.OnTimer();
    EXPECT_EQ(label.text(), QStringLiteral("Due"));
    label.OnTimer();
    label.StopBlink();
    EXPECT_EQ(label.text(), QStringLiteral("Due"));

    label.StartBlink(CLabel::BlinkBackground, 10000);
    EXPECT_EQ(label.CtlColor().color(), QColor(Qt::yellow));
    label.OnTimer();
    EXPECT_EQ(label.CtlColor().color(), QApplication::palette().color(QPalette::Button));
    label.OnTimer();
    EXPECT_EQ(label.CtlColor().color(), QColor(Qt::yellow));
    label.StopBlink();
    EXPECT_EQ(label.blinkMode(), CLabel::BlinkNone);
}
