#include "analyzer/compare_page.h"

#include "analyzer/analyzer_sheet.h"
#include "analyzer/details_page.h"
#include "analyzer/loan_calc.h"
#include "analyzer/term_controls.h"
#include "controls/label.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cmath>

CDlgCompare::CDlgCompare(CCustomPropertySheet *sheet, const LoanTerms &loan)
    : CAnalyzerPage(sheet, tr("Compare"))
    , m_term(loan.termMonths)
{
    setObjectName(QStringLiteral("compare"));
    m_values.principal = loan.principal;
    m_values.rate = loan.annualPercent;

    QVBoxLayout *layout = buildFrame(tr("Compare Loans"));
    m_rows = addLoanRows(layout);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(makeRefreshButton());
    m_reset = new QPushButton(tr("R&eset"), this);
    m_reset->setObjectName(QStringLiteral("reset"));
    connect(m_reset, &QPushButton::clicked, this, [this] { reset(); });
    buttons->addWidget(m_reset);
    layout->addLayout(buttons);
    layout->addStretch();
    addHint(layout);
}

void CDlgCompare::initialise()
{
    showLoanValues(m_rows, m_values);
    hintLabel()->SetText(QString::fromLatin1(AnalyzerText::kCompareHint));
    styleHint(hintLabel());
    styleTitle();
    ShowTermControls(m_term, *m_rows.termNumber, *m_rows.termUnit);
}

void CDlgCompare::reset()
{
    ensureInitialised();
    CDlgDetails *details = sheet()->details();
    details->validateAndRead(); // a refusal there still leaves its last accepted terms
    m_values.principal = details->principal();
    m_values.rate = details->rate();
    m_term = details->term();
    showLoanValues(m_rows, m_values);
    ShowTermControls(m_term, *m_rows.termNumber, *m_rows.termUnit);
    m_rows.principal->setFocus(Qt::OtherFocusReason);
    m_rows.principal->selectAll();
}

void CDlgCompare::refresh()
{
    ensureInitialised();
    showNoResults(m_rows);
    CDlgDetails *details = sheet()->details();
    if (!details->validateAndRead() || !takeLoanValues(m_rows, m_values))
        return;
    m_term = ReadTermControls(*m_rows.termNumber, *m_rows.termUnit);

    const bool currentUsable =
        Loan::IsUsablePayment(details->principal(), details->rate(), details->term());
    const bool proposedUsable = Loan::IsUsablePayment(m_values.principal, m_values.rate, m_term);
    const float c = details->currentPayment();
    const float d = CalcMonthlyPayment(m_values.principal, m_values.rate, m_term);
    const float a = currentUsable
        ? CalcTotalInterest(details->principal(), details->rate(), details->term())
        : 0.0f;
    const float b =
        proposedUsable ? CalcTotalInterest(m_values.principal, m_values.rate, m_term) : 0.0f;
    showResults(m_rows, proposedUsable, d, b);
    // Without a usable payment on either side there is nothing honest to compare.
    if (!currentUsable)
        hintLabel()->SetText(tr("Your current loan has no usable monthly payment. Please check "
                                "its interest rate and term on the Details page."));
    else if (!proposedUsable)
        hintLabel()->SetText(tr("The proposed loan has no usable monthly payment. Please check "
                                "its interest rate and term."));
    else
        hintLabel()->SetText(comparisonSentence(a, b, c, d, locale()));
    sheet()->lowerInputPanel();
}

QString CDlgCompare::comparisonSentence(float a, float b, float c, float d, const QLocale &locale)
{
    if (!std::isfinite(a) || !std::isfinite(b))
        return tr("The total interest of one of the loans cannot be worked out (its balance "
                  "would never fall to zero), so the loans cannot be compared.");

    QString verb, amount, tail;
    bool interestGood = true;
    if (a > b) {
        verb = QStringLiteral("save");
        amount = FormatMoney(a - b, locale);
        tail = QStringLiteral("in ");
    } else if (b > a) {
        verb = QStringLiteral("cost");
        amount = FormatMoney(b - a, locale);
        tail = QStringLiteral("more in ");
        interestGood = false;
    } else {
        verb = QStringLiteral("cost");
        amount = QStringLiteral("the same amount of");
    }
    const QString first =
        QStringLiteral("The proposed loan will %1 you %2 %3interest").arg(verb, amount, tail);

    QString change, by;
    bool paymentGood = true;
    if (c > d) {
        change = QStringLiteral("reduce");
        by = QStringLiteral(" by ") + FormatMoney(c - d, locale);
    } else if (d > c) {
        change = QStringLiteral("increase");
        by = QStringLiteral(" by ") + FormatMoney(d - c, locale);
        paymentGood = false;
    } else {
        change = QStringLiteral("not affect");
    }
    const QString second = QStringLiteral("%1 your monthly payments%2.").arg(change, by);
    const QString join =
        interestGood == paymentGood ? QStringLiteral("and") : QStringLiteral("but");
    return first + QStringLiteral(", ") + join + QStringLiteral(" ") + second;
}
