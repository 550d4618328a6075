// Every page fits its window: no control is cut off by the page or overlaps another, and every
// text fits its label. AMORTIX_SCREENSHOTS=folder also saves each page as a PNG.

#include "analyzer_fixture.h"

#include "analyzer/amortize_page.h"
#include "analyzer/analyzer_page.h"
#include "analyzer/compare_page.h"
#include "analyzer/details_page.h"
#include "analyzer/what_if_page.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

namespace {

void expectNothingClipped(QWidget *page)
{
    const QRect area = page->rect();
    QList<QWidget *> controls;
    for (QWidget *child : page->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!child->isVisible())
            continue;
        const QRect box = child->geometry();
        EXPECT_TRUE(area.contains(box))
            << page->objectName().toStdString() << ": " << child->metaObject()->className() << " "
            << child->objectName().toStdString() << " lies outside the page";
        if (auto *label = qobject_cast<QLabel *>(child); label && !label->wordWrap()) {
            EXPECT_GE(box.width(), label->minimumSizeHint().width())
                << page->objectName().toStdString() << ": '" << label->text().toStdString()
                << "' is cut off";
        }
        if (auto *button = qobject_cast<QAbstractButton *>(child)) {
            EXPECT_GE(box.width(), button->minimumSizeHint().width())
                << button->text().toStdString() << " is cut off";
        }
        controls.append(child);
    }
    for (int i = 0; i < controls.size(); ++i) {
        for (int j = i + 1; j < controls.size(); ++j) {
            EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                << page->objectName().toStdString() << ": "
                << controls[i]->objectName().toStdString() << " overlaps "
                << controls[j]->objectName().toStdString();
        }
    }
}

class Layout : public AnalyzerTest
{
};

TEST_F(Layout, EveryPageFitsTheWindow)
{
    CCustomPropertySheet &s = open();
    const QString shots = qEnvironmentVariable("AMORTIX_SCREENSHOTS");
    // The longest texts each page shows.
    s.compare()->ensureInitialised();
    s.compare()->rows().principal->setText(QStringLiteral("110000"));
    s.compare()->rows().rate->setText(QStringLiteral("5.5"));
    s.compare()->rows().termNumber->setText(QStringLiteral("40"));
    s.compare()->refresh();
    s.whatIf()->ensureInitialised();
    s.whatIf()->amountEdit()->setText(QStringLiteral("100"));
    s.whatIf()->refresh();
    s.whatIf()->setScenario(Loan::ExtraScenario::OneTime); // every control showing
    s.amortize()->showDatesBox()->setChecked(true);
    for (int i = 0; i < s.pageCount(); ++i) {
        s.setCurrentPage(s.page(i));
        if (s.page(i) == s.amortize())
            s.amortize()->fill();
        QApplication::processEvents();
        SCOPED_TRACE(s.pageCaption(i).toStdString());
        expectNothingClipped(s.page(i));
        if (!shots.isEmpty())
            s.grab().save(QDir(shots).filePath(QStringLiteral("amortix-%1.png").arg(i + 1)));
    }
    EXPECT_TRUE(ui.messages.isEmpty()) << ui.messages.join('\n').toStdString();
}

} // namespace
