#include "analyzer/what_if_page.h"

#include "analyzer/analyzer_sheet.h"
#include "analyzer/details_page.h"
#include "analyzer/loan_calc.h"
#include "controls/label.h"
#include "platform/busy.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {
const int kLastYear = 2100;
const int kFirstYearWithoutStart = 1900;
} // namespace

CYearSpinBox::CYearSpinBox(QWidget *parent)
    : QSpinBox(parent)
{
    // Digits only, as many as a year has.
    setRange(0, 9999);
    setArrowRange(kFirstYearWithoutStart, kLastYear);
}

void CYearSpinBox::setArrowRange(int first, int last)
{
    m_first = std::min(first, last);
    m_last = last;
}

void CYearSpinBox::stepBy(int steps)
{
    // A year outside the arrows' range steps to the nearest end of it.
    const qint64 next = qint64(value()) + steps;
    setValue(int(std::clamp<qint64>(next, m_first, m_last)));
    selectAll();
}

QAbstractSpinBox::StepEnabled CYearSpinBox::stepEnabled() const
{
    StepEnabled enabled = StepNone;
    if (isReadOnly())
        return enabled;
    if (value() < m_last)
        enabled |= StepUpEnabled;
    if (value() > m_first)
        enabled |= StepDownEnabled;
    return enabled;
}

CDlgWhatIf::CDlgWhatIf(CCustomPropertySheet *sheet)
    : CAnalyzerPage(sheet, tr("What If..."))
{
    setObjectName(QStringLiteral("whatIf"));
    QVBoxLayout *layout = buildFrame(tr("What would happen if I..."));

    m_every = new QRadioButton(tr("pay an extra amount every &month"), this);
    m_every->setObjectName(QStringLiteral("scenarioMonthly"));
    m_yearly = new QRadioButton(tr("pay an extra amount once every &year"), this);
    m_yearly->setObjectName(QStringLiteral("scenarioYearly"));
    m_once = new QRadioButton(tr("make an extra &one time payment"), this);
    m_once->setObjectName(QStringLiteral("scenarioOnce"));
    auto *group = new QButtonGroup(this);
    for (QRadioButton *button : { m_every, m_yearly, m_once }) {
        group->addButton(button);
        layout->addWidget(button);
        connect(button, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                applyLayout();
        });
    }

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    m_amount = new QLineEdit(this);
    m_amount->setObjectName(QStringLiteral("amount"));
    m_amount->setMaxLength(20);
    auto *amountCaption = new QLabel(tr("&Amount:"), this);
    amountCaption->setBuddy(m_amount);
    grid->addWidget(amountCaption, 0, 0);
    grid->addWidget(m_amount, 0, 1);
    grid->addWidget(makeRefreshButton(), 0, 2);

    m_payIn = new QLabel(tr("Ma&ke the pymt. in:"), this);
    m_payIn->setObjectName(QStringLiteral("payMonthCaption"));
    m_month = new QComboBox(this);
    m_month->setObjectName(QStringLiteral("month"));
    for (const char *name :
         { "Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec" })
        m_month->addItem(QString::fromLatin1(name));
    m_payIn->setBuddy(m_month);
    m_year = new CYearSpinBox(this);
    m_year->setObjectName(QStringLiteral("year"));
    m_year->setAccessibleName(tr("Year"));
    auto *when = new QHBoxLayout;
    when->addWidget(m_month);
    when->addWidget(m_year);
    when->addStretch();
    grid->addWidget(m_payIn, 1, 0);
    grid->addLayout(when, 1, 1, 1, 2);

    grid->addItem(new QSpacerItem(1, 6), 2, 0);
    m_totalInterest = addResultRow(grid, 3, tr("Total Interest:"), QStringLiteral("totalInterest"));
    m_paidOff = addResultRow(grid, 4, tr("Loan paid off in:"), QStringLiteral("paidOffIn"));
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addStretch();
    addHint(layout);

    setTabOrder(m_every, m_yearly);
    setTabOrder(m_yearly, m_once);
    setTabOrder(m_once, m_amount);
    setTabOrder(m_amount, refreshButton());
    setTabOrder(refreshButton(), m_month);
    setTabOrder(m_month, m_year);
}

void CDlgWhatIf::initialise()
{
    m_totalInterest->clear();
    m_paidOff->clear();
    hintLabel()->SetText(QString::fromLatin1(AnalyzerText::kWhatIfHint));
    styleHint(hintLabel());
    styleTitle();

    const QDate today = sheet()->today();
    const QDate start = sheet()->details()->startDate().date();
    // This year, even for a loan that starts later: the arrows' range below does not move the
    // year shown. One-time payments can fall from the loan's first year on; without a start
    // date the arrows cover every year from 1900.
    m_year->setValue(today.year());
    m_year->setArrowRange(
        start.isValid() ? std::min(start.year(), kLastYear) : kFirstYearWithoutStart, kLastYear);
    m_amount->setText(floatText(m_extra, locale()));

    m_every->setChecked(true);
    refresh();
    applyLayout();
    m_monthIndex = today.month() - 1;
    m_month->setCurrentIndex(m_monthIndex);
}

Loan::ExtraScenario CDlgWhatIf::scenario() const
{
    if (m_yearly->isChecked())
        return Loan::ExtraScenario::OnceAYear;
    if (m_once->isChecked())
        return Loan::ExtraScenario::OneTime;
    return Loan::ExtraScenario::EveryMonth;
}

QRadioButton *CDlgWhatIf::scenarioButton(Loan::ExtraScenario scenario) const
{
    switch (scenario) {
    case Loan::ExtraScenario::OnceAYear:
        return m_yearly;
    case Loan::ExtraScenario::OneTime:
        return m_once;
    case Loan::ExtraScenario::EveryMonth:
        break;
    }
    return m_every;
}

void CDlgWhatIf::setScenario(Loan::ExtraScenario scenario)
{
    scenarioButton(scenario)->setChecked(true);
}

void CDlgWhatIf::applyLayout()
{
    const Loan::ExtraScenario s = scenario();
    m_payIn->setVisible(s != Loan::ExtraScenario::EveryMonth);
    m_month->setVisible(s != Loan::ExtraScenario::EveryMonth);
    m_year->setVisible(s == Loan::ExtraScenario::OneTime);
    m_amount->setFocus(Qt::OtherFocusReason);
    m_amount->selectAll();
}

bool CDlgWhatIf::takeFields()
{
    float extra = 0;
    if (!parseFloat(m_amount->text(), locale(), extra))
        return refuse(m_amount, tr("Please enter a number for the amount."));
    // A negative extra payment would add to the balance; large enough, it keeps the loan
    // from ever being paid off.
    if (extra < 0)
        return refuse(m_amount,
                      tr("Please enter an amount of 0 or more: an extra payment "
                         "cannot be negative."));
    m_extra = extra;
    m_yearValue = m_year->value();
    m_monthIndex = m_month->currentIndex();
    return true;
}

void CDlgWhatIf::refresh()
{
    ensureInitialised();
    CDlgDetails *details = sheet()->details();
    if (!details->validateAndRead() || !takeFields())
        return;
    hintLabel()->SetText(QString::fromLatin1(AnalyzerText::kWhatIfHint));

    const QString na = QString::fromLatin1(AnalyzerText::kNotAvailable);
    const float principal = details->principal();
    const float rate = details->rate();
    const std::int32_t term = details->term();
    if (!Loan::IsUsablePayment(principal, rate, term)) {
        m_totalInterest->setText(na);
        m_paidOff->setText(na);
        hintLabel()->SetText(tr("Your loan has no usable monthly payment. Please check its "
                                "interest rate and term on the Details page."));
        return;
    }
    const float a = CalcTotalInterest(principal, rate, term);
    // Nothing borrowed: no extra payment can change anything, and the payoff would report
    // nothing paid, leaving the figures of an earlier loan on show.
    if (m_extra == 0 || principal == 0) {
        m_totalInterest->setText(std::isfinite(a) ? FormatMoney(a, locale()) : na);
        m_paidOff->setText(FormatTerm(term));
        return;
    }

    const QDate start = details->startDate().date();
    Loan::PayoffInput in;
    in.principal = principal;
    in.annualPercent = rate;
    in.termMonths = term;
    // Without a start date the months still count from a January; only the dates are unknown.
    in.startMonth = start.isValid() ? start.month() : 1;
    in.startYear = start.isValid() ? start.year() : 0;
    in.extra = m_extra;
    in.scenario = scenario();
    in.extraMonth = m_monthIndex + 1;
    in.extraYear = m_yearValue;
    const Loan::PayoffResult result = [&] {
        Busy::Scope busy;
        return Loan::CalcPayoff(in);
    }();
    const COleDateTime payoff = start.isValid()
        ? SetDateClamped(result.finalYear, result.finalMonth, start.day())
        : COleDateTime::invalidDate();
    const QString payoffText = FormatLoanDate(payoff, true, locale());
    sheet()->lowerInputPanel();

    if (!result.paidOff) {
        m_totalInterest->setText(na);
        m_paidOff->setText(na);
        hintLabel()->SetText(tr("With these payments the balance would stop falling, and the "
                                "loan would never be paid off."));
        return;
    }
    if (result.totalInterest == 0)
        return;
    m_totalInterest->setText(FormatMoney(result.totalInterest, locale()));
    QString paidOff = FormatTerm(result.payments);
    if (!payoffText.isEmpty())
        paidOff += QStringLiteral(" (") + payoffText + QStringLiteral(")");
    m_paidOff->setText(paidOff);
    hintLabel()->SetText(
        scenarioSentence(a, result.totalInterest, term, result.payments, locale()));
}

QString CDlgWhatIf::scenarioSentence(float a, float t, std::int32_t n, std::int32_t k,
                                     const QLocale &locale)
{
    if (!std::isfinite(a))
        return tr("Without extra payments the balance of this loan would never fall to zero, so "
                  "there is nothing to compare the scenerio with.");
    QString verb = QStringLiteral("cost");
    QString amount = QStringLiteral("the same amount of");
    QString tail;
    if (a > t) {
        verb = QStringLiteral("save");
        amount = FormatMoney(a - t, locale);
        tail = QStringLiteral("in ");
    } else if (t > a) {
        amount = FormatMoney(t - a, locale);
        tail = QStringLiteral("more in ");
    }
    QString sentence =
        QStringLiteral("The proposed scenerio will %1 you %2 %3interest").arg(verb, amount, tail);
    const std::int64_t early = std::int64_t(n) - k;
    if (early > 0)
        sentence += QStringLiteral(", and pay off the loan %1 early").arg(FormatTerm(early));
    return sentence + QStringLiteral(".");
}
