#include "analyzer/details_page.h"

#include "analyzer/analyzer_sheet.h"
#include "analyzer/loan_calc.h"
#include "analyzer/term_controls.h"
#include "controls/label.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

CDlgDetails::CDlgDetails(CCustomPropertySheet *sheet, const LoanTerms &loan)
    : CAnalyzerPage(sheet, tr("Details"))
    , m_term(loan.termMonths)
    , m_start(loan.start)
    , m_loanTitle(loan.title)
{
    setObjectName(QStringLiteral("details"));
    m_values.principal = loan.principal;
    m_values.rate = loan.annualPercent;

    QVBoxLayout *layout = buildFrame(m_loanTitle.isEmpty() ? tr("Loan Analyzer") : m_loanTitle);
    m_rows = addLoanRows(layout);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(makeRefreshButton());
    layout->addLayout(buttons);
    layout->addStretch();
    addHint(layout);
}

void CDlgDetails::initialise()
{
    showLoanValues(m_rows, m_values);
    ShowTermControls(m_term, *m_rows.termNumber, *m_rows.termUnit);
    hintLabel()->SetText(QString::fromLatin1(AnalyzerText::kDetailsHint));
    styleHint(hintLabel());
    styleTitle();
    refresh();
}

bool CDlgDetails::validateAndRead()
{
    ensureInitialised();
    if (!takeLoanValues(m_rows, m_values))
        return false;
    m_term = ReadTermControls(*m_rows.termNumber, *m_rows.termUnit);
    return true;
}

float CDlgDetails::currentPayment()
{
    if (!validateAndRead())
        return 0;
    return CalcMonthlyPayment(m_values.principal, m_values.rate, m_term);
}

void CDlgDetails::refresh()
{
    showNoResults(m_rows);
    if (!validateAndRead())
        return;
    const bool usable = Loan::IsUsablePayment(m_values.principal, m_values.rate, m_term);
    const float payment = CalcMonthlyPayment(m_values.principal, m_values.rate, m_term);
    const float interest =
        usable ? CalcTotalInterest(m_values.principal, m_values.rate, m_term) : 0.0f;
    showResults(m_rows, usable, payment, interest);
}

void CDlgDetails::done()
{
    sheet()->requestClose();
}
