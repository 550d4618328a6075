// The four pages driven as a user would: typed values, Refresh, the texts they show.

#include "analyzer_fixture.h"
#include "comma_locale.h"

#include "analyzer/amortize_page.h"
#include "analyzer/compare_page.h"
#include "analyzer/details_page.h"
#include "analyzer/loan_calc.h"
#include "analyzer/what_if_page.h"
#include "controls/auto_list_ctrl.h"
#include "controls/label.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

namespace {

const QLocale us(QLocale::English, QLocale::UnitedStates);

void type(QLineEdit *edit, const QString &text)
{
    edit->selectAll();
    edit->clear();
    QTest::keyClicks(edit, text);
}

void setTerm(const LoanEntryRows &rows, const QString &number, int unit)
{
    type(rows.termNumber, number);
    rows.termUnit->setCurrentIndex(unit);
}

class Pages : public AnalyzerTest
{
};

TEST_F(Pages, ShownInOrderWhateverTheirConstruction)
{
    CCustomPropertySheet &s = open();
    ASSERT_EQ(s.pageCount(), 4);
    const QStringList expected { "Details", "Compare", "What If...", "Amortize" };
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(s.pageCaption(i), expected[i]);
    EXPECT_EQ(s.currentPage(), s.page(0));
    EXPECT_EQ(s.windowTitle(), QStringLiteral("Loan Analyzer"));
}

TEST_F(Pages, DetailsShowsPaymentAndInterestInTheUsersCurrency)
{
    CCustomPropertySheet &s = open();
    const LoanEntryRows &rows = s.details()->rows();
    EXPECT_EQ(rows.termNumber->text(), QStringLiteral("30"));
    EXPECT_EQ(rows.termUnit->currentText(), QStringLiteral("Years"));
    EXPECT_EQ(rows.payment->text(), QStringLiteral("$599.55"));
    EXPECT_EQ(rows.totalInterest->text(), QStringLiteral("$115,838.29"));
    EXPECT_EQ(s.details()->titleLabel()->text(), QStringLiteral("Home mortgage"));
    EXPECT_EQ(s.details()->hintLabel()->text(),
              QStringLiteral("Here is some basic information about this loan. Please check the "
                             "numbers and modify them if necessary."));
}

TEST_F(Pages, DetailsFollowsTheLocale)
{
    const QLocale germany(QLocale::German, QLocale::Germany);
    CCustomPropertySheet &s = open(standardLoan(), germany);
    EXPECT_EQ(s.details()->rows().payment->text(), germany.toCurrencyString(599.55));
    // Typed in the locale's own form.
    type(s.details()->rows().principal, QStringLiteral("100000,5"));
    s.details()->refresh();
    EXPECT_TRUE(ui.messages.isEmpty());
    EXPECT_FLOAT_EQ(s.details()->principal(), 100000.5f);
}

TEST_F(Pages, LoansWithoutAUsablePaymentShowNotAvailable)
{
    CCustomPropertySheet &s = open();
    const LoanEntryRows &rows = s.details()->rows();
    struct Case
    {
        const char *rate;
        const char *term;
        int unit;
    };
    // A rate of 0 gives 0/0; a term of 0 an infinite payment, whose single pass of interest
    // must not show as a total either; at 100 % over 100 years the single-precision payment
    // is just the first month's interest and never pays anything off.
    for (const Case &c : { Case { "0", "30", 1 }, Case { "6", "0", 0 }, Case { "6", "0", 1 },
                           Case { "100", "100", 1 } }) {
        type(rows.rate, QString::fromLatin1(c.rate));
        setTerm(rows, QString::fromLatin1(c.term), c.unit);
        QTest::mouseClick(s.details()->refreshButton(), Qt::LeftButton);
        EXPECT_EQ(rows.payment->text(), QStringLiteral("N/A")) << c.rate << " " << c.term;
        EXPECT_EQ(rows.totalInterest->text(), QStringLiteral("N/A")) << c.rate << " " << c.term;
    }
    EXPECT_TRUE(ui.messages.isEmpty());
}

// A principal of 0 is a loan of nothing, not a loan without a payment: every page shows its
// figures as 0.
TEST_F(Pages, NothingBorrowedShowsNothingToPay)
{
    LoanTerms loan = standardLoan();
    loan.principal = 0;
    CCustomPropertySheet &s = open(loan);
    const LoanEntryRows &rows = s.details()->rows();
    EXPECT_EQ(rows.payment->text(), QStringLiteral("$0.00"));
    EXPECT_EQ(rows.totalInterest->text(), QStringLiteral("$0.00"));

    s.setCurrentPage(s.whatIf());
    CDlgWhatIf *w = s.whatIf();
    EXPECT_EQ(w->totalInterestLabel()->text(), QStringLiteral("$0.00"));
    EXPECT_EQ(w->paidOffLabel()->text(), QStringLiteral("30 years"));
    EXPECT_EQ(w->hintLabel()->text(), QString::fromLatin1(AnalyzerText::kWhatIfHint));
    // An extra payment on nothing changes nothing.
    type(w->amountEdit(), QStringLiteral("100"));
    QTest::mouseClick(w->refreshButton(), Qt::LeftButton);
    EXPECT_EQ(w->totalInterestLabel()->text(), QStringLiteral("$0.00"));
    EXPECT_EQ(w->paidOffLabel()->text(), QStringLiteral("30 years"));
    EXPECT_EQ(w->hintLabel()->text(), QString::fromLatin1(AnalyzerText::kWhatIfHint));

    s.setCurrentPage(s.amortize());
    CAutoListCtrl *list = s.amortize()->list();
    ASSERT_EQ(list->GetItemCount(), 360);
    for (int row : { 0, 359 }) {
        EXPECT_EQ(list->GetItemText(row, 1), QStringLiteral("0.00"));
        EXPECT_EQ(list->GetItemText(row, 2), QStringLiteral("0.00"));
        EXPECT_EQ(list->GetItemText(row, 3), QStringLiteral("0.00"));
    }
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(Pages, OutOfRangeInputIsRefusedWithAMessage)
{
    CCustomPropertySheet &s = open();
    const LoanEntryRows &rows = s.details()->rows();
    struct Case
    {
        QLineEdit *edit;
        const char *text;
        const char *mentions;
    };
    const Case cases[] = {
        { rows.principal, "60000000", "50,000,000" }, { rows.principal, "-1", "principal" },
        { rows.principal, "lots", "principal" },      { rows.principal, "nan", "principal" },
        { rows.rate, "101", "interest rate" },        { rows.rate, "inf", "interest rate" },
        { rows.termNumber, "1201", "1,200" },         { rows.termNumber, "2.5", "term" },
        { rows.termNumber, "99999999999", "term" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        type(rows.principal, QStringLiteral("100000"));
        type(rows.rate, QStringLiteral("6"));
        setTerm(rows, QStringLiteral("30"), 1);
        type(c.edit, QString::fromLatin1(c.text));
        ui.messages.clear();
        s.details()->refresh();
        ASSERT_EQ(ui.messages.size(), 1);
        EXPECT_TRUE(ui.messages[0].contains(QString::fromLatin1(c.mentions)))
            << ui.messages[0].toStdString();
        EXPECT_EQ(ui.captions[0], QStringLiteral("Loan Analyzer"));
        EXPECT_EQ(rows.payment->text(), QStringLiteral("N/A"));
        EXPECT_EQ(rows.totalInterest->text(), QStringLiteral("N/A"));
        EXPECT_EQ(c.edit->selectedText(), c.edit->text()); // ready to be typed over
    }
}

TEST_F(Pages, RefusalSeenFromAnotherPageBringsTheDetailsForward)
{
    CCustomPropertySheet &s = open();
    type(s.details()->rows().principal, QStringLiteral("60000000"));
    s.setCurrentPage(s.compare());
    s.compare()->refresh();
    EXPECT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(s.currentPage(), s.details());
    EXPECT_EQ(s.compare()->rows().payment->text(), QStringLiteral("N/A"));
}

TEST_F(Pages, TwoYearsAre24MonthsOnEveryPage)
{
    CCustomPropertySheet &s = open();
    setTerm(s.details()->rows(), QStringLiteral("2"), 1);
    s.details()->refresh();
    EXPECT_EQ(s.details()->term(), 24);
    EXPECT_EQ(s.details()->rows().payment->text(), QStringLiteral("$4,432.06"));
    EXPECT_EQ(s.details()->rows().totalInterest->text(), QStringLiteral("$6,369.46"));

    s.compare()->ensureInitialised();
    s.compare()->reset();
    EXPECT_EQ(s.compare()->rows().termNumber->text(), QStringLiteral("2"));
    EXPECT_EQ(s.compare()->rows().termUnit->currentIndex(), 1);

    s.setCurrentPage(s.whatIf());
    EXPECT_EQ(s.whatIf()->paidOffLabel()->text(), QStringLiteral("2 years"));

    s.setCurrentPage(s.amortize());
    EXPECT_EQ(s.amortize()->list()->GetItemCount(), 24);
}

// Expected amounts come from tests/analyzer/golden_loans.py, which works the single-precision
// arithmetic out apart from the C++ code.
struct CompareCase
{
    const char *name;
    const char *principal, *rate, *term;
    int unit;
    const char *payment, *interest;
    const char *sentence;
};

TEST_F(Pages, CompareSentences)
{
    CCustomPropertySheet &s = open();
    CDlgCompare *compare = s.compare();
    s.setCurrentPage(compare);
    const CompareCase cases[] = {
        { "same terms", "100000", "6", "30", 1, "$599.55", "$115,838.29",
          "The proposed loan will cost you the same amount of interest, and not affect your "
          "monthly payments." },
        { "lower rate", "100000", "5", "30", 1, "$536.82", "$93,255.73",
          "The proposed loan will save you $22,582.55 in interest, and reduce your monthly "
          "payments by $62.73." },
        { "shorter term", "100000", "6", "180", 0, "$843.86", "$51,894.21",
          "The proposed loan will save you $63,944.08 in interest, but increase your monthly "
          "payments by $244.31." },
        { "higher principal, lower rate, longer", "110000", "5.5", "40", 1, "$567.35",
          "$162,327.02",
          "The proposed loan will cost you $46,488.73 more in interest, but reduce your monthly "
          "payments by $32.20." },
        // Nothing borrowed is a loan too: it saves all the interest and the whole payment.
        { "nothing borrowed", "0", "6", "30", 1, "$0.00", "$0.00",
          "The proposed loan will save you $115,838.29 in interest, and reduce your monthly "
          "payments by $599.55." },
    };
    for (const CompareCase &k : cases) {
        SCOPED_TRACE(k.name);
        const LoanEntryRows &rows = compare->rows();
        type(rows.principal, QString::fromLatin1(k.principal));
        type(rows.rate, QString::fromLatin1(k.rate));
        setTerm(rows, QString::fromLatin1(k.term), k.unit);
        QTest::mouseClick(compare->refreshButton(), Qt::LeftButton);
        EXPECT_EQ(compare->hintLabel()->text(), QString::fromLatin1(k.sentence));
        EXPECT_EQ(rows.payment->text(), QString::fromLatin1(k.payment));
        EXPECT_EQ(rows.totalInterest->text(), QString::fromLatin1(k.interest));
    }
    EXPECT_GT(s.inputPanelRequests(), 0);
    EXPECT_TRUE(ui.messages.isEmpty());
}

TEST_F(Pages, CompareAgainstACurrentLoanOfNothing)
{
    CCustomPropertySheet &s = open();
    type(s.details()->rows().principal, QStringLiteral("0"));
    CDlgCompare *compare = s.compare();
    s.setCurrentPage(compare);
    QTest::mouseClick(compare->refreshButton(), Qt::LeftButton);
    EXPECT_EQ(compare->rows().payment->text(), QStringLiteral("$599.55"));
    EXPECT_EQ(compare->hintLabel()->text(),
              QStringLiteral("The proposed loan will cost you $115,838.29 more in interest, and "
                             "increase your monthly payments by $599.55."));
}

TEST_F(Pages, CompareWithoutAUsablePaymentSaysSo)
{
    CCustomPropertySheet &s = open();
    CDlgCompare *compare = s.compare();
    s.setCurrentPage(compare);
    type(compare->rows().rate, QStringLiteral("0"));
    compare->refresh();
    EXPECT_EQ(compare->rows().payment->text(), QStringLiteral("N/A"));
    EXPECT_TRUE(compare->hintLabel()->text().startsWith(
        QStringLiteral("The proposed loan has no usable monthly payment")));
    EXPECT_FALSE(compare->hintLabel()->text().contains(QLatin1String("nan")));

    type(compare->rows().rate, QStringLiteral("6"));
    setTerm(s.details()->rows(), QStringLiteral("0"), 0);
    compare->refresh();
    EXPECT_TRUE(compare->hintLabel()->text().startsWith(
        QStringLiteral("Your current loan has no usable monthly payment")));
}

TEST_F(Pages, CompareKeepsTypedTermsUntilReset)
{
    CCustomPropertySheet &s = open();
    CDlgCompare *compare = s.compare();
    s.setCurrentPage(compare);
    EXPECT_EQ(compare->rows().payment->text(), QStringLiteral("N/A"));
    type(compare->rows().principal, QStringLiteral("80000"));
    s.setCurrentPage(s.details());
    type(s.details()->rows().rate, QStringLiteral("7.25"));
    s.setCurrentPage(compare);
    EXPECT_EQ(compare->rows().principal->text(), QStringLiteral("80000"));
    EXPECT_EQ(compare->rows().rate->text(), QStringLiteral("6"));

    QTest::mouseClick(compare->resetButton(), Qt::LeftButton);
    EXPECT_EQ(compare->rows().principal->text(), QStringLiteral("100000"));
    EXPECT_EQ(compare->rows().rate->text(), QStringLiteral("7.25"));
    EXPECT_EQ(compare->rows().termNumber->text(), QStringLiteral("30"));
    EXPECT_EQ(compare->rows().principal->selectedText(), QStringLiteral("100000"));
}

class WhatIf : public AnalyzerTest
{
protected:
    CDlgWhatIf *page()
    {
        open();
        sheet->setCurrentPage(sheet->whatIf());
        return sheet->whatIf();
    }
    void run(CDlgWhatIf *w, Loan::ExtraScenario scenario, const QString &amount, int month = 0,
             int year = 2005)
    {
        w->setScenario(scenario);
        type(w->amountEdit(), amount);
        w->monthBox()->setCurrentIndex(month);
        w->yearBox()->setValue(year);
        QTest::mouseClick(w->refreshButton(), Qt::LeftButton);
    }
};

TEST_F(WhatIf, OpensWithTheLoanAsItIs)
{
    CDlgWhatIf *w = page();
    EXPECT_EQ(w->totalInterestLabel()->text(), QStringLiteral("$115,838.29"));
    EXPECT_EQ(w->paidOffLabel()->text(), QStringLiteral("30 years"));
    EXPECT_TRUE(w->scenarioButton(Loan::ExtraScenario::EveryMonth)->isChecked());
    EXPECT_EQ(w->monthBox()->currentText(), QStringLiteral("Jun")); // the fixed "today"
    EXPECT_EQ(w->yearBox()->value(), 2005);
    EXPECT_EQ(w->yearBox()->arrowMinimum(), 2002); // the loan's first year
    EXPECT_EQ(w->yearBox()->arrowMaximum(), 2100);
}

// The arrows keep to the loan's years, but the year shown at first is this year even for a
// loan that starts later: a one-time payment then falls before the loan and changes nothing.
TEST_F(WhatIf, YearOpensAtThisYearForALoanThatStartsLater)
{
    LoanTerms loan = standardLoan();
    loan.start = COleDateTime(2008, 3, 1);
    open(loan);
    sheet->setCurrentPage(sheet->whatIf());
    CDlgWhatIf *w = sheet->whatIf();
    QSpinBox *year = w->yearBox();
    EXPECT_EQ(year->value(), 2005);
    EXPECT_EQ(year->text(), QStringLiteral("2005"));

    w->setScenario(Loan::ExtraScenario::OneTime);
    type(w->amountEdit(), QStringLiteral("5000"));
    w->monthBox()->setCurrentIndex(5);
    QTest::mouseClick(w->refreshButton(), Qt::LeftButton);
    EXPECT_EQ(year->value(), 2005);
    EXPECT_EQ(w->totalInterestLabel()->text(), QStringLiteral("$115,838.29"));
    EXPECT_EQ(w->hintLabel()->text(),
              QStringLiteral("The proposed scenerio will cost you the same amount of interest."));

    // A year can be typed outside the arrows' range; the arrows bring it back into it.
    year->selectAll();
    QTest::keyClicks(year, QStringLiteral("1999"));
    EXPECT_EQ(year->value(), 1999);
    year->stepUp();
    EXPECT_EQ(year->value(), 2008);
    year->stepDown();
    EXPECT_EQ(year->value(), 2008);
    year->setValue(2100);
    year->stepUp();
    EXPECT_EQ(year->value(), 2100);
    year->stepDown();
    EXPECT_EQ(year->value(), 2099);
}

TEST_F(WhatIf, ExtraEveryMonth)
{
    CDlgWhatIf *w = page();
    run(w, Loan::ExtraScenario::EveryMonth, QStringLiteral("100"));
    EXPECT_EQ(w->totalInterestLabel()->text(), QStringLiteral("$75,937.97"));
    EXPECT_EQ(w->paidOffLabel()->text(), QStringLiteral("21 years (Dec 15, 2022)"));
    EXPECT_EQ(w->hintLabel()->text(),
              QStringLiteral("The proposed scenerio will save you $39,900.32 in interest, and pay "
                             "off the loan 9 years early."));
}

TEST_F(WhatIf, YearlyAndOneTimePayments)
{
    CDlgWhatIf *w = page();
    // Outside the loan's payments nothing extra is ever paid.
    run(w, Loan::ExtraScenario::OneTime, QStringLiteral("5000"), 2, 2100);
    EXPECT_EQ(w->totalInterestLabel()->text(), QStringLiteral("$115,838.29"));
    EXPECT_EQ(w->hintLabel()->text(),
              QStringLiteral("The proposed scenerio will cost you the same amount of interest."));

    // As large as the loan: paid off in that month, on the start date's day.
    run(w, Loan::ExtraScenario::OneTime, QStringLiteral("200000"), 4, 2003);
    EXPECT_EQ(w->paidOffLabel()->text(), QStringLiteral("1.4 years (May 15, 2003)"));

    // January every year includes the very first payment (January 2002).
    run(w, Loan::ExtraScenario::OnceAYear, QStringLiteral("1000"), 0);
    EXPECT_EQ(w->totalInterestLabel()->text(), QStringLiteral("$79,129.23"));
    EXPECT_EQ(w->paidOffLabel()->text(), QStringLiteral("21.9 years (Nov 15, 2023)"));
    EXPECT_EQ(w->hintLabel()->text(),
              QStringLiteral("The proposed scenerio will save you $36,709.06 in interest, and pay "
                             "off the loan 8.1 years early."));
}

// QApplication takes the C library's LC_NUMERIC from the environment; a user with a comma
// locale must still read "12.5 years", as the report and the handheld write it.
TEST_F(WhatIf, TermsKeepTheirDecimalPointUnderACommaLocale)
{
    COMMA_NUMERIC_LOCALE(comma);
    CDlgWhatIf *w = page();
    run(w, Loan::ExtraScenario::OneTime, QStringLiteral("200000"), 4, 2003);
    EXPECT_EQ(w->paidOffLabel()->text(), QStringLiteral("1.4 years (May 15, 2003)"));

    setTerm(sheet->details()->rows(), QStringLiteral("150"), 0);
    run(w, Loan::ExtraScenario::EveryMonth, QStringLiteral("0"));
    EXPECT_EQ(w->paidOffLabel()->text(), QStringLiteral("12.5 years"));
}

TEST_F(WhatIf, ScenarioButtonsOnlyChangeTheLayout)
{
    CDlgWhatIf *w = page();
    run(w, Loan::ExtraScenario::EveryMonth, QStringLiteral("100"));
    const QString before = w->totalInterestLabel()->text();
    struct Case
    {
        Loan::ExtraScenario scenario;
        bool month, year;
    };
    for (const Case &c : { Case { Loan::ExtraScenario::OnceAYear, true, false },
                           Case { Loan::ExtraScenario::OneTime, true, true },
                           Case { Loan::ExtraScenario::EveryMonth, false, false } }) {
        QTest::mouseClick(w->scenarioButton(c.scenario), Qt::LeftButton);
        EXPECT_EQ(w->monthBox()->isVisible(), c.month);
        EXPECT_EQ(w->payMonthCaption()->isVisible(), c.month);
        EXPECT_EQ(w->yearBox()->isVisible(), c.year);
        EXPECT_TRUE(w->amountEdit()->hasFocus());
        EXPECT_EQ(w->amountEdit()->selectedText(), w->amountEdit()->text());
        EXPECT_EQ(w->totalInterestLabel()->text(), before);
    }
}

TEST_F(WhatIf, AmountZeroShowsTheLoanWithoutExtras)
{
    CDlgWhatIf *w = page();
    run(w, Loan::ExtraScenario::EveryMonth, QStringLiteral("100"));
    run(w, Loan::ExtraScenario::EveryMonth, QStringLiteral("0"));
    EXPECT_EQ(w->totalInterestLabel()->text(), QStringLiteral("$115,838.29"));
    EXPECT_EQ(w->paidOffLabel()->text(), QStringLiteral("30 years"));
}

TEST_F(WhatIf, LoanChangedToNothingShowsNoStaleFigures)
{
    CDlgWhatIf *w = page();
    run(w, Loan::ExtraScenario::EveryMonth, QStringLiteral("100"));
    EXPECT_EQ(w->totalInterestLabel()->text(), QStringLiteral("$75,937.97"));
    type(sheet->details()->rows().principal, QStringLiteral("0"));
    run(w, Loan::ExtraScenario::EveryMonth, QStringLiteral("100"));
    EXPECT_EQ(w->totalInterestLabel()->text(), QStringLiteral("$0.00"));
    EXPECT_EQ(w->paidOffLabel()->text(), QStringLiteral("30 years"));
    EXPECT_EQ(w->hintLabel()->text(), QString::fromLatin1(AnalyzerText::kWhatIfHint));
}

TEST_F(WhatIf, NegativeOrNonNumericAmountsAreRefused)
{
    CDlgWhatIf *w = page();
    run(w, Loan::ExtraScenario::EveryMonth, QStringLiteral("100"));
    for (const char *amount : { "-1000", "-0.01", "abc", "nan", "1e40" }) {
        SCOPED_TRACE(amount);
        ui.messages.clear();
        run(w, Loan::ExtraScenario::EveryMonth, QString::fromLatin1(amount));
        EXPECT_EQ(ui.messages.size(), 1);
        EXPECT_EQ(w->totalInterestLabel()->text(), QStringLiteral("$75,937.97"));
        EXPECT_TRUE(w->amountEdit()->hasFocus());
    }
}

TEST_F(WhatIf, StalledLoanIsNeverReportedAsPaidOff)
{
    // At 100 % over 50 years the single-precision payment equals the first month's interest,
    // so the balance never falls; a one-time payment before the first one changes nothing.
    LoanTerms loan = standardLoan();
    loan.annualPercent = 100;
    loan.termMonths = 600;
    loan.start = COleDateTime(2002, 6, 15);
    open(loan);
    sheet->setCurrentPage(sheet->whatIf());
    CDlgWhatIf *w = sheet->whatIf();
    EXPECT_EQ(w->totalInterestLabel()->text(), QStringLiteral("N/A"));
    run(w, Loan::ExtraScenario::OneTime, QStringLiteral("10"), 0, 2002);
    EXPECT_EQ(w->totalInterestLabel()->text(), QStringLiteral("N/A"));
    EXPECT_EQ(w->paidOffLabel()->text(), QStringLiteral("N/A"));
    EXPECT_TRUE(w->hintLabel()->text().contains(QLatin1String("no usable monthly payment")));
    EXPECT_TRUE(ui.messages.isEmpty());
    // Its payment pays nothing off, so the Details page does not offer it either.
    EXPECT_EQ(sheet->details()->rows().payment->text(), QStringLiteral("N/A"));
    EXPECT_EQ(sheet->details()->rows().totalInterest->text(), QStringLiteral("N/A"));
}

class Amortize : public AnalyzerTest
{
protected:
    CDlgAmortize *page(const LoanTerms &loan = standardLoan())
    {
        open(loan);
        sheet->setCurrentPage(sheet->amortize());
        return sheet->amortize();
    }
};

TEST_F(Amortize, ListsEveryPayment)
{
    CDlgAmortize *a = page();
    CAutoListCtrl *list = a->list();
    ASSERT_EQ(list->GetItemCount(), 360);
    const QStringList headings { "No.", "Principal", "Interest", "Balance" };
    ASSERT_EQ(list->GetColumnCount(), 4);
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(list->model()->GetColumnText(c), headings[c]);
    EXPECT_EQ(list->GetItemText(0, 0), QStringLiteral("1"));
    EXPECT_EQ(list->GetItemText(0, 1), QStringLiteral("99.55"));
    EXPECT_EQ(list->GetItemText(0, 2), QStringLiteral("500.00"));
    EXPECT_EQ(list->GetItemText(0, 3), QStringLiteral("99,900.45"));
    EXPECT_EQ(list->GetItemText(359, 0), QStringLiteral("360"));
    EXPECT_EQ(list->GetItemText(359, 3), QStringLiteral("0.14"));
    for (int row : { 0, 1, 2, 359 }) {
        EXPECT_EQ(list->GetItemData(row), 1);
        EXPECT_EQ(list->rowLook(row).background.isValid() ? list->rowLook(row).background
                                                          : QColor(),
                  row % 2 == 0 ? CAutoListCtrl::alternateRowColor() : QColor());
        EXPECT_FALSE(list->rowLook(row).text.isValid()); // never red, never white on black
    }
}

// The widest cell of a column as the list draws it, every row measured.
int widestCell(CAutoListCtrl *list, int col)
{
    QStyleOptionViewItem option;
    option.initFrom(list->viewport());
    option.font = list->font();
    option.fontMetrics = QFontMetrics(list->font());
    int widest = 0;
    for (int row = 0; row < list->GetItemCount(); ++row)
        widest = std::max(
            widest, list->itemDelegate()->sizeHint(option, list->model()->index(row, col)).width());
    return widest;
}

// The number column fits its heading; the next three fit their cells when the fill left them
// wider than an amount column (60 pixels), else their heading. Nothing is cut short.
TEST_F(Amortize, ColumnsFitTheirHeadingsOrTheirContents)
{
    LoanTerms loan = standardLoan();
    loan.principal = 50000000;
    loan.annualPercent = 12;
    loan.termMonths = 24;
    CDlgAmortize *a = page(loan);
    CAutoListCtrl *list = a->list();
    QHeaderView *header = list->header();
    ASSERT_EQ(list->GetItemCount(), 24);
    for (int col = 1; col <= 3; ++col)
        ASSERT_GT(widestCell(list, col), 60) << col; // millions in every amount column

    auto check = [&](int col, bool toContents) {
        SCOPED_TRACE(list->model()->GetColumnText(col).toStdString());
        // Fitting the heading takes the cells into account too, as the handheld's list did:
        // a "Date" or "No." column that fit its heading alone would cut its cells short.
        const int expected = toContents
            ? widestCell(list, col)
            : std::max(header->sectionSizeHint(col), widestCell(list, col));
        // The last column also stretches to the list's right edge.
        if (col == list->GetColumnCount() - 1)
            EXPECT_GE(list->GetColumnWidth(col), expected);
        else
            EXPECT_EQ(list->GetColumnWidth(col), expected);
    };
    check(0, false);
    check(1, true);
    check(2, true);
    check(3, true);

    // Small figures: the amounts fit in 60 pixels, so the headings decide.
    type(sheet->details()->rows().principal, QStringLiteral("1000"));
    QTest::mouseClick(a->refreshButton(), Qt::LeftButton);
    ASSERT_LE(widestCell(list, 1), 60);
    check(0, false);
    check(1, false);
    check(2, false);

    // With dates the Date column is one of the three.
    QTest::mouseClick(a->showDatesBox(), Qt::LeftButton);
    ASSERT_EQ(list->GetColumnCount(), 5);
    ASSERT_LE(widestCell(list, 1), 60); // "12/15/03" in the short date format
    check(0, false);
    check(1, false);
    check(2, false);
    check(3, false);
}

TEST_F(Amortize, DateColumnComesAndGoes)
{
    LoanTerms loan = standardLoan();
    loan.start = COleDateTime(2002, 1, 31);
    CDlgAmortize *a = page(loan);
    CAutoListCtrl *list = a->list();
    QTest::mouseClick(a->showDatesBox(), Qt::LeftButton);
    QTest::mouseClick(a->refreshButton(), Qt::LeftButton);
    QTest::mouseClick(a->refreshButton(), Qt::LeftButton);
    ASSERT_EQ(list->GetColumnCount(), 5);
    EXPECT_EQ(list->model()->GetColumnText(1), QStringLiteral("Date"));
    const QDate expected[] = { { 2002, 1, 31 }, { 2002, 2, 28 },  { 2002, 3, 31 },
                               { 2002, 4, 30 }, { 2002, 12, 31 }, { 2003, 1, 31 } };
    const int rows[] = { 0, 1, 2, 3, 11, 12 };
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(list->GetItemText(rows[i], 1), us.toString(expected[i], QLocale::ShortFormat));
    EXPECT_EQ(list->GetItemText(0, 2), QStringLiteral("99.55"));
    EXPECT_EQ(list->GetItemText(359, 4), QStringLiteral("0.14"));

    QTest::mouseClick(a->showDatesBox(), Qt::LeftButton);
    ASSERT_EQ(list->GetColumnCount(), 4);
    EXPECT_EQ(list->model()->GetColumnText(1), QStringLiteral("Principal"));
    EXPECT_EQ(list->GetItemText(0, 1), QStringLiteral("99.55"));
}

TEST_F(Amortize, LoansWithoutAUsablePaymentHaveNoRows)
{
    CDlgAmortize *a = page();
    const LoanEntryRows &rows = sheet->details()->rows();
    for (const auto &[rate, term] : { std::pair { "6", "0" }, { "0", "30" } }) {
        type(rows.rate, QString::fromLatin1(rate));
        type(rows.termNumber, QString::fromLatin1(term));
        a->fill();
        EXPECT_EQ(a->list()->GetItemCount(), 0) << rate << " " << term;
    }
}

TEST_F(Amortize, ChangesOnDetailsShowAfterRefresh)
{
    CDlgAmortize *a = page();
    setTerm(sheet->details()->rows(), QStringLiteral("12"), 0);
    EXPECT_EQ(a->list()->GetItemCount(), 360);
    QTest::mouseClick(a->refreshButton(), Qt::LeftButton);
    EXPECT_EQ(a->list()->GetItemCount(), 12);
    EXPECT_TRUE(a->refreshButton()->isEnabled());
}

TEST_F(Amortize, RefusedDetailsLeaveTheListAsItWas)
{
    CDlgAmortize *a = page();
    type(sheet->details()->rows().principal, QStringLiteral("-5"));
    a->fill();
    EXPECT_EQ(ui.messages.size(), 1);
    EXPECT_EQ(a->list()->GetItemCount(), 360);
}

} // namespace
