// The sheet as a whole and the library's entry point: closing, titles and dates from the
// caller, the exported function loaded with dlopen, with and without a running application.

#include "analyzer_fixture.h"

#include "analyzer/amortix.h"
#include "analyzer/amortize_page.h"
#include "analyzer/analyze_loan.h"
#include "analyzer/details_page.h"
#include "analyzer/term_controls.h"
#include "analyzer/what_if_page.h"
#include "controls/auto_list_ctrl.h"
#include "controls/label.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QTimer>
#include <QToolButton>

#include <dlfcn.h>

namespace {

class Sheet : public AnalyzerTest
{
};

TEST_F(Sheet, ClosesOnlyThroughItsCloseFlag)
{
    CCustomPropertySheet &s = open();
    s.done(QDialog::Accepted); // what a stray accept would do: ignored
    EXPECT_TRUE(s.isVisible());
    EXPECT_FALSE(s.closeFlag());
    QTest::mouseClick(s.doneButton(), Qt::LeftButton);
    EXPECT_TRUE(s.closeFlag());
    EXPECT_FALSE(s.isVisible());
}

TEST_F(Sheet, EscapeClosesLikeDone)
{
    CCustomPropertySheet &s = open();
    QTest::keyClick(&s, Qt::Key_Escape);
    EXPECT_TRUE(s.closeFlag());
    EXPECT_FALSE(s.isVisible());
}

TEST_F(Sheet, KeyboardAlone)
{
    CCustomPropertySheet &s = open();
    const LoanEntryRows &rows = s.details()->rows();
    // Alt+P reaches the principal; Enter there recomputes the page.
    QTest::keyClick(&s, Qt::Key_P, Qt::AltModifier);
    ASSERT_TRUE(rows.principal->hasFocus());
    rows.principal->selectAll();
    QTest::keyClicks(rows.principal, QStringLiteral("200000"));
    QTest::keyClick(rows.principal, Qt::Key_Return);
    EXPECT_EQ(rows.payment->text(), QStringLiteral("$1,199.10"));
    // Tab walks the page's controls in reading order.
    QTest::keyClick(rows.principal, Qt::Key_Tab);
    EXPECT_TRUE(rows.rate->hasFocus());
    QTest::keyClick(rows.rate, Qt::Key_Tab);
    EXPECT_TRUE(rows.termNumber->hasFocus());
    QTest::keyClick(rows.termNumber, Qt::Key_Tab);
    EXPECT_TRUE(rows.termUnit->hasFocus());
    // Ctrl+Tab turns the page; Alt+D is Done from anywhere.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(s.currentPage(), s.page(1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(s.currentPage(), s.page(0));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageUp, Qt::ControlModifier);
    EXPECT_EQ(s.currentPage(), s.page(3));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(s.currentPage(), s.page(0));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_D, Qt::AltModifier);
    // A mnemonic presses its button visibly, which takes a moment.
    EXPECT_TRUE(QTest::qWaitFor([&] { return s.closeFlag(); }));
}

TEST_F(Sheet, RunLoanAnalyzerReturnsWhenDoneIsPressed)
{
    Ui::install(nullptr); // the real modal loop
    bool ran = false;
    RunLoanAnalyzer(standardLoan(), [&](CCustomPropertySheet &s) {
        QTimer::singleShot(0, &s, [&s, &ran] {
            ran = s.isVisible();
            s.doneButton()->click();
        });
    });
    EXPECT_TRUE(ran);
    Ui::install(&ui);
}

TEST_F(Sheet, EmptyTitleShowsLoanAnalyzer)
{
    LoanTerms loan = standardLoan();
    loan.title.clear();
    CCustomPropertySheet &s = open(loan);
    EXPECT_EQ(s.details()->titleLabel()->text(), QStringLiteral("Loan Analyzer"));
    EXPECT_EQ(s.details()->rows().termNumber->text(), QStringLiteral("30"));
}

TEST_F(Sheet, AnyTitleIsShownAsPlainText)
{
    struct Case
    {
        QString title;
        QString shown; // empty: elided, so only a prefix is checked
    };
    const QString huge(100000, QLatin1Char('W'));
    const Case cases[] = {
        { QStringLiteral("<b>bold</b> & <img src=x>"),
          QStringLiteral("<b>bold</b> & <img src=x>") },
        { QStringLiteral("two\nlines\r\n\tand a tab"), QStringLiteral("two lines and a tab") },
        { huge, QString() },
    };
    for (const Case &c : cases) {
        LoanTerms loan = standardLoan();
        loan.title = c.title;
        CCustomPropertySheet &s = open(loan);
        CLabel *title = s.details()->titleLabel();
        EXPECT_EQ(title->textFormat(), Qt::PlainText);
        if (!c.shown.isEmpty()) {
            EXPECT_EQ(title->text(), c.shown);
        } else {
            EXPECT_TRUE(title->text().startsWith(QStringLiteral("WWW")));
            EXPECT_LE(title->width(), s.details()->width()); // elided, the window did not grow
            EXPECT_LT(s.width(), 2000);
            EXPECT_EQ(title->toolTip(), c.title);
        }
    }
}

TEST_F(Sheet, InvalidStartDateShowsNoPaymentDates)
{
    for (const LoanTerms &loan : { LoanTermsFromCaller(100000, 6, 360, "x", 1e300, true),
                                   LoanTermsFromCaller(100000, 6, 360, "x", std::nan(""), true),
                                   LoanTermsFromCaller(100000, 6, 360, nullptr, 37271, false) }) {
        EXPECT_FALSE(loan.start.isValid());
        CCustomPropertySheet &s = open(loan);
        s.setCurrentPage(s.amortize());
        s.amortize()->showDatesBox()->click();
        CAutoListCtrl *list = s.amortize()->list();
        ASSERT_EQ(list->GetItemCount(), 360);
        EXPECT_TRUE(list->GetItemText(0, 1).isEmpty());
        EXPECT_EQ(list->GetItemText(0, 2), QStringLiteral("99.55"));

        s.setCurrentPage(s.whatIf());
        CDlgWhatIf *w = s.whatIf();
        w->amountEdit()->setText(QStringLiteral("100"));
        w->refresh();
        EXPECT_EQ(w->paidOffLabel()->text(), QStringLiteral("21 years")); // no "()" of garbage
        EXPECT_TRUE(ui.messages.isEmpty());
    }
}

TEST_F(Sheet, CallerStringsAreTakenAsUtf8)
{
    const LoanTerms loan = LoanTermsFromCaller(1, 2, 3, "Haus \xc3\xa4 \xff end", 37271, true);
    EXPECT_TRUE(loan.title.startsWith(QStringLiteral("Haus \u00e4 ")));
    EXPECT_TRUE(loan.title.endsWith(QStringLiteral(" end")));
    EXPECT_EQ(loan.start.date(), QDate(2002, 1, 15));
}

TEST(TermControls, ShowAndRead)
{
    QLineEdit number;
    QComboBox unit;
    FillTermUnits(unit);
    ASSERT_EQ(unit.count(), 2);
    EXPECT_EQ(unit.itemText(0), QStringLiteral("Months"));
    EXPECT_EQ(unit.itemText(1), QStringLiteral("Years"));
    for (const auto &[months, text, index] :
         { std::tuple { 360, "30", 1 }, { 18, "18", 0 }, { 0, "0", 1 }, { 13, "13", 0 } }) {
        ShowTermControls(months, number, unit);
        EXPECT_EQ(number.text(), QString::fromLatin1(text));
        EXPECT_EQ(unit.currentIndex(), index);
        EXPECT_EQ(ReadTermControls(number, unit), months);
    }
    // The C library's reading: leading digits with an optional sign, 0 when there are none.
    unit.setCurrentIndex(1);
    for (const auto &[text, months] : { std::pair { " 2", 24 },
                                        { "2abc", 24 },
                                        { "abc", 0 },
                                        { "-1", -12 },
                                        { "+3", 36 },
                                        { "99999999999", INT32_MAX } }) {
        number.setText(QString::fromLatin1(text));
        EXPECT_EQ(ReadTermControls(number, unit), months) << text;
    }
}

// The library as the handheld edition uses it: loaded by name, called by its C name.
class Library : public testing::Test
{
protected:
    static QString libraryPath() { return QStringLiteral(DOMELIO_BIN_DIR "/libAmortix.so"); }
};

TEST_F(Library, AnalyzeLoanRunsInsideTheCallersApplication)
{
    void *library = dlopen(DOMELIO_BIN_DIR "/libAmortix.so", RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    auto analyze = reinterpret_cast<AnalyzeLoanFunction>(dlsym(library, "AnalyzeLoan"));
    ASSERT_NE(analyze, nullptr);

    QStringList seen;
    std::function<void()> inspect = [&] {
        for (QWidget *top : QApplication::topLevelWidgets()) {
            if (top->objectName() != QLatin1String("loanAnalyzer") || !top->isVisible())
                continue;
            seen << top->windowTitle();
            QWidget *details = top->findChild<QWidget *>(QStringLiteral("details"));
            if (auto *payment = details->findChild<QLabel *>(QStringLiteral("payment")))
                seen << payment->text();
            if (auto *title = details->findChild<QLabel *>(QStringLiteral("title")))
                seen << title->text();
            top->findChild<QToolButton *>(QStringLiteral("done"))->click();
            return;
        }
        QTimer::singleShot(20, inspect);
    };
    QTimer::singleShot(0, inspect);
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    analyze(100000, 6, 360, "From the handheld", AmortixDate { 37271, 1 });
    QLocale::setDefault(previous);
    EXPECT_EQ(seen, (QStringList { "Loan Analyzer", "$599.55", "From the handheld" }));
    EXPECT_NE(QCoreApplication::instance(), nullptr); // the caller's application is untouched
    dlclose(library);
}

TEST_F(Library, AnalyzeLoanMakesAndEndsItsOwnApplication)
{
    // A separate process: this one already runs an application.
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                { QStringLiteral("--run-without-application"), libraryPath() });
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
}

} // namespace
