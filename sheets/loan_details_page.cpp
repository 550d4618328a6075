#include "sheets/loan_details_page.h"

#include "format/display_text.h"
#include "format/string_table.h"
#include "records/loan.h"
#include "widgets/number_entry.h"
#include "widgets/ui.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>

namespace {

// TermInMonths is a 16-bit column: a longer term would come back negative.
constexpr qint32 kLongestTerm = 32767;

} // namespace

CDlgLoan_Tab1::CDlgLoan_Tab1(QWidget *parent, Clock clock)
    : CPropertyPage(QStringLiteral("Details"), parent)
    , m_clock(clock ? std::move(clock) : Clock([] { return QDateTime::currentDateTime(); }))
{
    m_description = new QLineEdit(this);
    m_description->setObjectName(QStringLiteral("description"));

    m_principal = new QLineEdit(this);
    m_principal->setObjectName(QStringLiteral("principal"));
    m_principal->setMaximumWidth(140);
    m_autoUpdate = new QPushButton(QStringLiteral("&Auto Update"), this);
    m_autoUpdate->setObjectName(QStringLiteral("autoUpdate"));
    m_autoUpdate->setAutoDefault(false);
    connect(m_autoUpdate, &QPushButton::clicked, this, &CDlgLoan_Tab1::OnAutoUpdate);
    auto *principalRow = new QHBoxLayout;
    principalRow->addWidget(m_principal);
    principalRow->addWidget(m_autoUpdate);
    principalRow->addStretch(1);

    m_rate = new QLineEdit(this);
    m_rate->setObjectName(QStringLiteral("interestRate"));
    m_rate->setMaximumWidth(80);
    auto *rateRow = new QHBoxLayout;
    rateRow->addWidget(m_rate);
    rateRow->addWidget(new QLabel(QStringLiteral("% per year"), this));
    rateRow->addStretch(1);

    m_term = new QLineEdit(this);
    m_term->setObjectName(QStringLiteral("term"));
    m_term->setMaximumWidth(80);
    m_term->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d{0,9}")), m_term));
    m_termUnit = new QComboBox(this);
    m_termUnit->setObjectName(QStringLiteral("termUnit"));
    m_termUnit->setAccessibleName(QStringLiteral("Term unit"));
    m_termUnit->addItems(termUnitNames());
    auto *termRow = new QHBoxLayout;
    termRow->addWidget(m_term);
    termRow->addWidget(m_termUnit);
    termRow->addStretch(1);

    m_startDate = new QDateEdit(this);
    m_startDate->setObjectName(QStringLiteral("startDate"));
    m_startDate->setDisplayFormat(datePickerFormat());
    m_startDate->setCalendarPopup(true);
    m_startDate->setMinimumDate(QDate(1753, 1, 1));

    auto *layout = new QFormLayout(this);
    layout->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    layout->addRow(QStringLiteral("&Description:"), m_description);
    layout->addRow(QStringLiteral("&Principal:"), principalRow);
    layout->addRow(QStringLiteral("Interest &Rate:"), rateRow);
    layout->addRow(QStringLiteral("&Term:"), termRow);
    layout->addRow(QStringLiteral("&Start Date:"), m_startDate);
    // A row label is the buddy of the row's layout, not of its edit: point it at the edit.
    for (auto [edit, row] :
         { std::pair<QWidget *, int> { m_principal, 1 }, { m_rate, 2 }, { m_term, 3 } }) {
        if (auto *label =
                qobject_cast<QLabel *>(layout->itemAt(row, QFormLayout::LabelRole)->widget()))
            label->setBuddy(edit);
    }
}

void CDlgLoan_Tab1::toControls()
{
    m_description->setText(m_strDescription);
    m_principal->setText(numberText(m_fPrincipal, true, true));
    m_rate->setText(NumberEntry::text(m_fInterestRate));
    showTerm(m_nTermInMonths);
    const QDateTime start = m_dtStartDate.isValid() ? m_dtStartDate.toDateTime() : QDateTime();
    m_startDate->setDate(start.isValid() ? start.date() : QDate::currentDate());
    m_shownStartDate = m_startDate->date();
}

void CDlgLoan_Tab1::takeStartDate()
{
    if (m_startDate->date() == m_shownStartDate)
        return;
    const QTime time = m_dtStartDate.isValid() && m_dtStartDate.toDateTime().isValid()
        ? m_dtStartDate.toDateTime().time()
        : QTime(0, 0);
    m_dtStartDate = COleDateTime::fromDateTime(QDateTime(m_startDate->date(), time));
}

void CDlgLoan_Tab1::showTerm(qint32 months)
{
    const TermText term = termText(months);
    m_term->setText(term.number);
    m_termUnit->setCurrentIndex(term.unitIndex);
}

std::optional<qint32> CDlgLoan_Tab1::readTerm()
{
    const qint32 months = termMonths(m_term->text(), m_termUnit->currentIndex());
    if (months < 0 || months > kLongestTerm) {
        refuse(*m_term,
               QStringLiteral("Please enter a term of at most %1 months (%2 years).")
                   .arg(kLongestTerm)
                   .arg(kLongestTerm / 12));
        return std::nullopt;
    }
    return months;
}

bool CDlgLoan_Tab1::fromControls()
{
    if (!requireText(*m_description,
                     QStringLiteral("Please enter a description for this loan (e.g: My Home "
                                    "Loan).")))
        return false;
    float principal = m_fPrincipal;
    if (m_principal->text() != numberText(m_fPrincipal, true, true)
        && !readNumber(*m_principal, principal))
        return false;
    float rate = m_fInterestRate;
    if (!readNumber(*m_rate, rate))
        return false;
    const std::optional<qint32> term = readTerm();
    if (!term)
        return false;
    m_strDescription = m_description->text();
    m_fPrincipal = principal;
    m_fInterestRate = rate;
    m_nTermInMonths = *term;
    takeStartDate();
    return true;
}

void CDlgLoan_Tab1::onActivated()
{
    m_description->setFocus(Qt::OtherFocusReason);
}

void CDlgLoan_Tab1::OnAutoUpdate()
{
    const QString caption = Strings::load(Strings::AppTitle);
    if (Ui::messageBox(this, Strings::load(Strings::LoanAutoUpdateQuestion), caption,
                       Ui::Icon::Question, Ui::Yes | Ui::No)
        != Ui::Yes)
        return;

    // The controls go into the fields; a number that does not read is refused with the usual
    // message and the estimate goes on with the value held before.
    if (m_principal->text() != numberText(m_fPrincipal, true, true))
        readNumber(*m_principal, m_fPrincipal);
    m_strDescription = m_description->text();
    readNumber(*m_rate, m_fInterestRate);
    takeStartDate();
    const qint32 term = termMonths(m_term->text(), m_termUnit->currentIndex());

    const LoanEstimate::Remaining estimate = LoanEstimate::remaining(
        m_fPrincipal, m_fInterestRate, term, m_dtStartDate, COleDateTime::fromDateTime(m_clock()));
    if (estimate.check != LoanEstimate::Check::Ok) {
        Ui::messageBox(this, LoanEstimate::message(estimate.check), caption, Ui::Icon::Warning,
                       Ui::Ok);
        return;
    }
    m_fPrincipal = estimate.principal;
    m_principal->setText(numberText(m_fPrincipal, true, true));
    showTerm(estimate.termMonths);
    Ui::messageBox(this, Strings::load(Strings::LoanAutoUpdateDone), caption, Ui::Icon::Information,
                   Ui::Ok);
}
