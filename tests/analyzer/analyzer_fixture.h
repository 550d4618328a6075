#pragma once
// A sheet for one loan, in a fixed locale and on a fixed day, with scripted message boxes.

#include "print_qt.h"

#include "analyzer/analyzer_sheet.h"
#include "analyzer/loan_terms.h"
#include "widgets/ui.h"

#include <QDate>
#include <QLocale>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

#include <memory>

class ScriptedUi : public Ui::Services
{
public:
    int messageBox(QWidget *, const QString &text, const QString &caption, Ui::Icon, int,
                   int) override
    {
        messages.append(text);
        captions.append(caption);
        return Ui::Ok;
    }
    QStringList openFileNames(QWidget *, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString openFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    QString saveFileName(QWidget *, const QString &, const QString &, const QString &) override
    {
        return {};
    }
    int runModal(QDialog &) override { return 0; }
    bool openUrl(const QUrl &) override { return false; }
    void setWaitCursor(bool on) override { waitDepth += on ? 1 : -1; }

    QStringList messages;
    QStringList captions;
    int waitDepth = 0;
};

inline LoanTerms standardLoan()
{
    LoanTerms loan;
    loan.principal = 100000;
    loan.annualPercent = 6;
    loan.termMonths = 360;
    loan.title = QStringLiteral("Home mortgage");
    loan.start = COleDateTime(2002, 1, 15);
    return loan;
}

class AnalyzerTest : public testing::Test
{
protected:
    void SetUp() override { Ui::install(&ui); }
    void TearDown() override
    {
        sheet.reset();
        Ui::install(nullptr);
        EXPECT_EQ(ui.waitDepth, 0) << "a wait cursor was left on";
    }

    CCustomPropertySheet &open(const LoanTerms &loan = standardLoan(),
                               const QLocale &locale = QLocale(QLocale::English,
                                                               QLocale::UnitedStates))
    {
        sheet = std::make_unique<CCustomPropertySheet>(loan);
        sheet->setLocale(locale);
        sheet->setToday(QDate(2005, 6, 10));
        sheet->show();
        sheet->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(sheet.get()));
        return *sheet;
    }

    ScriptedUi ui;
    std::unique_ptr<CCustomPropertySheet> sheet;
};
