#include "controls/auto_list_ctrl.h"
#include "db/ado_database.h"
#include "db/ado_recordset.h"
#include "format/display_text.h"
#include "format/string_table.h"
#include "records/home.h"
#include "records/loan.h"
#include "sheets/home_loans_page.h"
#include "sheets/home_sheet.h"
#include "sheets/loan_sheet.h"
#include "support/scripted_ui.h"
#include "support/temp_env.h"

#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

const QDateTime kNow(QDate(2026, 6, 15), QTime(14, 30));

class LoanSheet : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(db.Open(env.dataFile()));
        setUserLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    }
    void TearDown() override { resetUserLocale(); }

    static QTabWidget &tabs(QDialog &sheet) { return *sheet.findChild<QTabWidget *>("pages"); }
    static QString unit(QDialog &sheet) { return Fill::textOf(sheet, "termUnit"); }

    CLoan storedLoan(float principal, qint32 term)
    {
        CLoan loan;
        loan.m_nAssetId = 1;
        loan.m_strDescription = QStringLiteral("Mortgage");
        loan.m_fPrincipal = principal;
        loan.m_nTermInMonths = term;
        EXPECT_TRUE(loan.Save(db));
        return loan;
    }

    TempEnv env;
    CADODataBase db;
    ScriptedUi ui;
    CDlgLoan_Tab1::Clock clock = [] { return kNow; };
};

TEST_F(LoanSheet, TermsOpenAsYearsOrMonthsAndYearsAreSavedAsMonths)
{
    CLoan loan = storedLoan(150000.0f, 360);
    ui.onNextDialog([&](QDialog &sheet) {
        EXPECT_EQ(sheet.windowTitle(), QStringLiteral("Loan Properties"));
        ASSERT_EQ(tabs(sheet).count(), 3);
        EXPECT_EQ(tabs(sheet).tabText(1), QStringLiteral("Lender"));
        EXPECT_EQ(tabs(sheet).tabText(2), QStringLiteral("Notes"));
        EXPECT_EQ(Fill::textOf(sheet, "term"), QStringLiteral("30"));
        EXPECT_EQ(unit(sheet), QStringLiteral("Years"));
        EXPECT_EQ(Fill::textOf(sheet, "principal"), QStringLiteral("150000.00"));
        EXPECT_EQ(sheet.findChild<QDateEdit *>("startDate")->displayFormat(),
                  QStringLiteral("ddd, MMM d, yyyy"));
        Fill::text(sheet, "term", QStringLiteral("15"));
        Fill::click(sheet, "ok");
    });
    ASSERT_TRUE(CLoanSheet::Edit(loan, db, nullptr, clock));
    CLoan stored(loan.id());
    ASSERT_TRUE(stored.Load(db));
    EXPECT_EQ(stored.m_nTermInMonths, 180);

    stored.m_nTermInMonths = 100;
    ASSERT_TRUE(stored.Save(db));
    ui.onNextDialog([&](QDialog &sheet) {
        EXPECT_EQ(Fill::textOf(sheet, "term"), QStringLiteral("100"));
        EXPECT_EQ(unit(sheet), QStringLiteral("Months"));
        // A term the data file's column cannot hold is refused, not wrapped.
        Fill::text(sheet, "term", QStringLiteral("3000"));
        Fill::comboIndex(sheet, "termUnit", 1);
        Fill::click(sheet, "ok");
        EXPECT_TRUE(sheet.isVisible());
        ASSERT_FALSE(ui.messages().empty());
        EXPECT_TRUE(ui.messages().back().text.startsWith(QStringLiteral("Please enter a term")));
    });
    EXPECT_FALSE(CLoanSheet::Edit(stored, db, nullptr, clock));
    CLoan again(loan.id());
    ASSERT_TRUE(again.Load(db));
    EXPECT_EQ(again.m_nTermInMonths, 100);
}

TEST_F(LoanSheet, AnEmptyDescriptionKeepsTheDetailsPage)
{
    CLoan loan;
    loan.m_nAssetId = 1;
    ui.onNextDialog([&](QDialog &sheet) {
        EXPECT_EQ(Fill::textOf(sheet, "description"), QStringLiteral("New Loan"));
        Fill::text(sheet, "description", QString());
        tabs(sheet).setCurrentIndex(1);
        EXPECT_EQ(tabs(sheet).currentIndex(), 0);
        Fill::click(sheet, "ok");
        EXPECT_TRUE(sheet.isVisible());
        ASSERT_EQ(ui.messages().size(), 2u);
        EXPECT_EQ(ui.messages().back().text,
                  QStringLiteral("Please enter a description for this loan (e.g: My Home Loan)."));
        EXPECT_EQ(ui.messages().back().icon, Ui::Icon::Information);
    });
    EXPECT_FALSE(CLoanSheet::Edit(loan, db, nullptr, clock));
    EXPECT_FALSE(loan.Exists());
}

TEST_F(LoanSheet, AutoUpdateEstimatesOnThePageAndCancelKeepsTheStoredLoan)
{
    CLoan loan = storedLoan(100000.0f, 360);
    loan.m_dtStartDate = COleDateTime::fromDateTime(kNow.addDays(-45));
    ASSERT_TRUE(loan.Save(db));

    ui.onNextDialog([&](QDialog &sheet) {
        // No: nothing happens after the question.
        ui.answer(Ui::No);
        Fill::click(sheet, "autoUpdate");
        ASSERT_EQ(ui.messages().size(), 1u);
        EXPECT_EQ(ui.messages()[0].text, Strings::load(Strings::LoanAutoUpdateQuestion));
        EXPECT_EQ(ui.messages()[0].icon, Ui::Icon::Question);
        EXPECT_EQ(ui.messages()[0].buttons, Ui::Yes | Ui::No);
        EXPECT_EQ(Fill::textOf(sheet, "principal"), QStringLiteral("100000.00"));

        ui.answer(Ui::Yes);
        Fill::click(sheet, "autoUpdate");
        ASSERT_EQ(ui.messages().size(), 3u);
        EXPECT_EQ(ui.messages()[2].text, Strings::load(Strings::LoanAutoUpdateDone));
        EXPECT_EQ(ui.messages()[2].icon, Ui::Icon::Information);
        EXPECT_NEAR(Fill::textOf(sheet, "principal").toDouble(), 99800.40, 0.011);
        EXPECT_EQ(Fill::textOf(sheet, "term"), QStringLiteral("358"));
        EXPECT_EQ(unit(sheet), QStringLiteral("Months"));
        Fill::click(sheet, "cancel");
    });
    EXPECT_FALSE(CLoanSheet::Edit(loan, db, nullptr, clock));
    CLoan stored(loan.id());
    ASSERT_TRUE(stored.Load(db));
    EXPECT_EQ(stored.m_fPrincipal, 100000.0f);
    EXPECT_EQ(stored.m_nTermInMonths, 360);

    // Confirmed, the estimate is stored; the start date stays.
    ui.onNextDialog([&](QDialog &sheet) {
        ui.answer(Ui::Yes);
        Fill::click(sheet, "autoUpdate");
        Fill::click(sheet, "ok");
    });
    ASSERT_TRUE(CLoanSheet::Edit(stored, db, nullptr, clock));
    CLoan updated(loan.id());
    ASSERT_TRUE(updated.Load(db));
    EXPECT_NEAR(updated.m_fPrincipal, 99800.40f, 0.011f);
    EXPECT_EQ(updated.m_nTermInMonths, 358);
    EXPECT_EQ(updated.m_dtStartDate.days(), loan.m_dtStartDate.days());
}

TEST_F(LoanSheet, AutoUpdateStopsAtAStartDateFromTodayOn)
{
    CLoan loan = storedLoan(100000.0f, 360);
    ui.onNextDialog([&](QDialog &sheet) {
        sheet.findChild<QDateEdit *>("startDate")->setDate(kNow.date().addDays(3));
        ui.answer(Ui::Yes);
        Fill::click(sheet, "autoUpdate");
        ASSERT_EQ(ui.messages().size(), 2u);
        EXPECT_EQ(ui.messages()[1].text, QStringLiteral("Start date must be earlier than today."));
        EXPECT_EQ(ui.messages()[1].icon, Ui::Icon::Warning);
        EXPECT_EQ(Fill::textOf(sheet, "principal"), QStringLiteral("100000.00"));
        EXPECT_EQ(Fill::textOf(sheet, "term"), QStringLiteral("30"));

        // Earlier today: no month has passed, yet the estimate is confirmed.
        sheet.findChild<QDateEdit *>("startDate")->setDate(kNow.date());
        ui.answer(Ui::Yes);
        Fill::click(sheet, "autoUpdate");
        ASSERT_EQ(ui.messages().size(), 4u);
        EXPECT_EQ(ui.messages()[3].text, Strings::load(Strings::LoanAutoUpdateDone));
        EXPECT_EQ(Fill::textOf(sheet, "principal"), QStringLiteral("100000.00"));
        EXPECT_EQ(Fill::textOf(sheet, "term"), QStringLiteral("30"));

        // A principal that does not read is refused, and the estimate goes on with the old one.
        sheet.findChild<QDateEdit *>("startDate")->setDate(kNow.date().addDays(-45));
        Fill::text(sheet, "principal", QStringLiteral("12,5"));
        ui.answer(Ui::Yes);
        Fill::click(sheet, "autoUpdate");
        ASSERT_EQ(ui.messages().size(), 7u);
        EXPECT_EQ(ui.messages()[5].text, QStringLiteral("Please enter a number."));
        EXPECT_NEAR(Fill::textOf(sheet, "principal").toDouble(), 99800.40, 0.011);
    });
    EXPECT_FALSE(CLoanSheet::Edit(loan, db, nullptr, clock));
}

TEST_F(LoanSheet, LenderPageAndPlainTextRoundTrip)
{
    const QString text = QStringLiteral("Bank \"A\"; DROP TABLE Loans;--\nsecond line");
    CLoan loan;
    loan.m_nAssetId = 1;
    ui.onNextDialog([&](QDialog &sheet) {
        Fill::text(sheet, "description", text);
        tabs(sheet).setCurrentIndex(1);
        EXPECT_TRUE(qobject_cast<QAbstractButton *>(sheet.findChild<QWidget *>("affectsEquity"))
                        ->isChecked());
        Fill::text(sheet, "lenderName", text);
        Fill::text(sheet, "lenderAcctNo", QStringLiteral("0042"));
        Fill::text(sheet, "lenderPhone", QStringLiteral("+1 555 0100"));
        Fill::check(sheet, "affectsEquity", false);
        tabs(sheet).setCurrentIndex(2);
        Fill::text(sheet, "notes", text + QStringLiteral("\r\nmore"));
        Fill::click(sheet, "ok");
    });
    ASSERT_TRUE(CLoanSheet::Edit(loan, db, nullptr, clock));
    CLoan stored(loan.id());
    ASSERT_TRUE(stored.Load(db));
    EXPECT_EQ(stored.m_strDescription, text);
    EXPECT_EQ(stored.m_strLenderName, text);
    EXPECT_EQ(stored.m_strLenderAcctNo, QStringLiteral("0042"));
    EXPECT_EQ(stored.m_strLenderPhone, QStringLiteral("+1 555 0100"));
    EXPECT_EQ(stored.m_nAssetType, 0);
    EXPECT_TRUE(stored.m_strNotes.startsWith(text));
}

TEST_F(LoanSheet, AStartDateThePickerCannotShowIsKeptUntilAnotherDayIsPicked)
{
    // Before the picker's first day, and a day count no calendar date has (the handheld's).
    const double stored[] = { COleDateTime(1700, 3, 1, 8, 30, 0).days(), 1e10 };
    for (const double days : stored) {
        CLoan loan = storedLoan(1000.0f, 12);
        loan.m_dtStartDate = COleDateTime(days);
        ASSERT_TRUE(loan.Save(db));
        ui.onNextDialog([&](QDialog &sheet) {
            Fill::text(sheet, "description", QStringLiteral("Renamed"));
            Fill::click(sheet, "ok");
        });
        ASSERT_TRUE(CLoanSheet::Edit(loan, db, nullptr, clock));
        CLoan again(loan.id());
        ASSERT_TRUE(again.Load(db));
        EXPECT_EQ(again.m_strDescription, QStringLiteral("Renamed"));
        EXPECT_EQ(again.m_dtStartDate.days(), days);

        ui.onNextDialog([&](QDialog &sheet) {
            sheet.findChild<QDateEdit *>("startDate")->setDate(QDate(2001, 5, 7));
            Fill::click(sheet, "ok");
        });
        ASSERT_TRUE(CLoanSheet::Edit(again, db, nullptr, clock));
        ASSERT_TRUE(again.Load(db));
        EXPECT_EQ(again.m_dtStartDate.date(), QDate(2001, 5, 7));
    }
}

class LoansPage : public LoanSheet
{
protected:
    qint32 homeId()
    {
        if (home.Exists())
            return home.id();
        home.m_strDescription = QStringLiteral("Cottage");
        EXPECT_TRUE(home.Save(db));
        return home.id();
    }
    qint32 addLoan(const QString &name, const QString &lender, float principal, int equity)
    {
        CLoan loan;
        loan.m_nAssetId = homeId();
        loan.m_strDescription = name;
        loan.m_strLenderName = lender;
        loan.m_fPrincipal = principal;
        loan.m_nAssetType = equity;
        EXPECT_TRUE(loan.Save(db));
        return loan.id();
    }
    static QStringList rows(CAutoListCtrl &list)
    {
        QStringList texts;
        for (int row = 0; row < list.GetItemCount(); ++row)
            texts << list.GetItemText(row, 0) + QLatin1Char('|') + list.GetItemText(row, 1);
        return texts;
    }
    CHome home;
};

TEST_F(LoansPage, ListsLargestFirstAndTotalsTheEquityLoans)
{
    CDlgHome_Loan page(db, homeId());
    page.toControls();
    EXPECT_EQ(page.list()->GetItemCount(), 0);
    EXPECT_FALSE(page.findChild<QPushButton *>("editLoan")->isEnabled());
    EXPECT_FALSE(page.findChild<QPushButton *>("removeLoan")->isEnabled());
    EXPECT_EQ(Fill::textOf(page, "totalLiability"), moneyText(0.0f));

    addLoan(QStringLiteral("Card"), QString(), 20000.0f, 0);
    const qint32 mortgage =
        addLoan(QStringLiteral("Mortgage"), QStringLiteral("First Bank"), 100000.0f, 1);
    page.Fill();
    EXPECT_EQ(rows(*page.list()),
              (QStringList { QStringLiteral("Mortgage (First Bank)|$100,000.00"),
                             QStringLiteral("Card|$20,000.00") }));
    EXPECT_EQ(page.list()->GetItemData(0), mortgage);
    EXPECT_EQ(page.list()->GetCurSel(), 0);
    EXPECT_TRUE(page.findChild<QPushButton *>("editLoan")->isEnabled());
    EXPECT_EQ(Fill::textOf(page, "totalLiability"), QStringLiteral("$100,000.00"));

    // Remove asks first; No keeps the loan.
    page.list()->SetCurSel(1);
    ui.answer(Ui::No);
    Fill::click(page, "removeLoan");
    ASSERT_EQ(ui.messages().size(), 1u);
    EXPECT_EQ(ui.messages()[0].text, QStringLiteral("This loan will be deleted. Continue?"));
    EXPECT_EQ(ui.messages()[0].icon, Ui::Icon::Warning);
    EXPECT_EQ(page.list()->GetItemCount(), 2);
    ui.answer(Ui::Yes);
    Fill::click(page, "removeLoan");
    EXPECT_EQ(rows(*page.list()),
              (QStringList { QStringLiteral("Mortgage (First Bank)|$100,000.00") }));

    // New: a loan of this home, listed after OK.
    ui.onNextDialog([&](QDialog &sheet) {
        Fill::text(sheet, "description", QStringLiteral("Car"));
        Fill::text(sheet, "principal", QStringLiteral("150000"));
        Fill::click(sheet, "ok");
    });
    Fill::click(page, "newLoan");
    EXPECT_EQ(page.list()->GetItemText(0, 0), QStringLiteral("Car"));
    EXPECT_EQ(Fill::textOf(page, "totalLiability"), QStringLiteral("$250,000.00"));

    // Edit selects the row at the same position again, on OK (when the refill moved the loan
    // and selected the first row) as on Cancel.
    page.list()->SetCurSel(1);
    ui.onNextDialog([&](QDialog &sheet) {
        EXPECT_EQ(Fill::textOf(sheet, "description"), QStringLiteral("Mortgage"));
        Fill::text(sheet, "principal", QStringLiteral("900000"));
        Fill::click(sheet, "ok");
    });
    Fill::click(page, "editLoan");
    EXPECT_EQ(page.list()->GetItemText(0, 0), QStringLiteral("Mortgage (First Bank)"));
    EXPECT_EQ(page.list()->GetCurSel(), 1);
    ui.onNextDialog([&](QDialog &sheet) {
        EXPECT_EQ(Fill::textOf(sheet, "description"), QStringLiteral("Car"));
        Fill::click(sheet, "cancel");
    });
    Fill::click(page, "editLoan");
    EXPECT_EQ(page.list()->GetCurSel(), 1);
}

TEST_F(LoansPage, TheHomeProfileOpensAtLoansAndKeepsLoansWhenCancelled)
{
    CHome stored(homeId());
    ASSERT_TRUE(stored.Load(db));
    ui.onNextDialog([&](QDialog &sheet) {
        ASSERT_EQ(tabs(sheet).count(), 5);
        EXPECT_EQ(tabs(sheet).tabText(1), QStringLiteral("Loans"));
        EXPECT_EQ(tabs(sheet).currentIndex(), 1);
        ui.onNextDialog([&](QDialog &loanSheet) {
            Fill::text(loanSheet, "description", QStringLiteral("HELOC"));
            Fill::click(loanSheet, "ok");
        });
        Fill::click(sheet, "newLoan");
        Fill::click(sheet, "cancel");
    });
    EXPECT_FALSE(CHomeSheet::Edit(stored, db, nullptr, true));
    const LoanList loans = loansOfHome(db, stored.id());
    ASSERT_EQ(loans.rows.size(), 1u);
    EXPECT_EQ(loans.rows[0].text, QStringLiteral("HELOC"));

    // Opened without the flag it starts on Details; a new home has no Loans page at all.
    ui.onNextDialog([&](QDialog &sheet) { EXPECT_EQ(tabs(sheet).currentIndex(), 0); });
    CHomeSheet::Edit(stored, db, nullptr, false);
    ui.onNextDialog([&](QDialog &sheet) {
        EXPECT_EQ(tabs(sheet).count(), 4);
        EXPECT_EQ(tabs(sheet).currentIndex(), 0);
    });
    CHome fresh;
    CHomeSheet::Edit(fresh, db, nullptr, true);
}

} // namespace
