#include "analyzer/analyzer_page.h"

#include "analyzer/analyzer_sheet.h"
#include "analyzer/loan_calc.h"
#include "analyzer/loan_limits.h"
#include "analyzer/term_controls.h"
#include "controls/label.h"
#include "widgets/ui.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QVBoxLayout>

#include <charconv>
#include <cmath>

CAnalyzerPage::CAnalyzerPage(CCustomPropertySheet *sheet, const QString &caption)
    : m_sheet(sheet)
    , m_caption(caption)
{
}

void CAnalyzerPage::ensureInitialised()
{
    if (m_initialised)
        return;
    m_initialised = true;
    initialise();
}

QVBoxLayout *CAnalyzerPage::buildFrame(const QString &title, bool ruleUnderTitle)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 6);
    layout->setSpacing(4);
    if (!title.isNull()) {
        m_title = new CLabel(this);
        m_title->setObjectName(QStringLiteral("title"));
        // Titles come from the caller: never read them as markup.
        m_title->setTextFormat(Qt::PlainText);
        m_title->setMinimumWidth(1);
        layout->addWidget(m_title);
        setTitleText(title);
        if (ruleUnderTitle) {
            auto *rule = new QFrame(this);
            rule->setFrameShape(QFrame::HLine);
            rule->setFrameShadow(QFrame::Sunken);
            layout->addWidget(rule);
        }
    }
    return layout;
}

CLabel *CAnalyzerPage::addHint(QVBoxLayout *layout)
{
    m_hint = new CLabel(this);
    m_hint->setObjectName(QStringLiteral("hint"));
    m_hint->setTextFormat(Qt::PlainText);
    m_hint->setWordWrap(true);
    m_hint->setMargin(4);
    m_hint->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_hint->setMinimumHeight(m_hint->fontMetrics().lineSpacing() * 4);
    layout->addWidget(m_hint);
    return m_hint;
}

QPushButton *CAnalyzerPage::makeRefreshButton(const QString &text)
{
    m_refresh = new QPushButton(text, this);
    m_refresh->setObjectName(QStringLiteral("refresh"));
    connect(m_refresh, &QPushButton::clicked, this, [this] { refresh(); });
    return m_refresh;
}

void CAnalyzerPage::setTitleText(const QString &title)
{
    // Line breaks and tabs from a caller would spill over the page's rows.
    m_fullTitle = title;
    m_fullTitle.replace(QRegularExpression(QStringLiteral("[\\r\\n\\t\\x{2028}\\x{2029}]+")),
                        QStringLiteral(" "));
    m_title->setToolTip(m_fullTitle);
    updateTitleElision();
}

void CAnalyzerPage::updateTitleElision()
{
    if (!m_title)
        return;
    const int width = std::max(20, contentsRect().width() - 12);
    m_title->SetText(m_title->fontMetrics().elidedText(m_fullTitle, Qt::ElideRight, width));
}

void CAnalyzerPage::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    updateTitleElision();
}

// On the handheld the label's window-colour background was the page's own colour; here a
// page is painted by the style, so captions and titles let it show through instead.
void CAnalyzerPage::makeBold(CLabel *caption)
{
    caption->SetFontBold(true);
    caption->SetBkColor(QColor(Qt::transparent));
}

void CAnalyzerPage::styleHint(CLabel *hint)
{
    hint->SetFontSize(11);
    hint->SetBkColor(QColor(255, 255, 204));
}

void CAnalyzerPage::styleTitle()
{
    m_title->SetFontSize(11);
    m_title->SetFontBold(true);
    m_title->SetTextColor(QColor(0, 0, 128));
    m_title->SetBkColor(QColor(Qt::transparent));
    updateTitleElision();
}

QString CAnalyzerPage::floatText(float value, const QLocale &locale)
{
    if (!std::isfinite(value))
        return QString::number(static_cast<double>(value));
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
    QString text = QString::fromLatin1(buffer, result.ptr - buffer);
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    text.replace(QLatin1Char('-'), locale.negativeSign());
    return text;
}

bool CAnalyzerPage::parseFloat(const QString &text, const QLocale &locale, float &value)
{
    const QString trimmed = text.trimmed();
    bool ok = false;
    double number = locale.toDouble(trimmed, &ok);
    if (!ok)
        number = QLocale::c().toDouble(trimmed, &ok);
    if (!ok || !std::isfinite(number) || std::fabs(number) > 3.0e38)
        return false;
    value = static_cast<float>(number);
    return true;
}

bool CAnalyzerPage::parseInt(const QString &text, int &value)
{
    static const QRegularExpression integer(QStringLiteral("^\\s*[+-]?[0-9]+\\s*$"));
    if (!integer.match(text).hasMatch())
        return false;
    bool ok = false;
    value = text.trimmed().toInt(&ok);
    return ok;
}

bool CAnalyzerPage::refuse(QWidget *control, const QString &message)
{
    Ui::messageBox(m_sheet, message, QString::fromLatin1(AnalyzerText::kCaption),
                   Ui::Icon::Warning);
    m_sheet->setCurrentPage(this);
    control->setFocus(Qt::OtherFocusReason);
    if (auto *edit = qobject_cast<QLineEdit *>(control))
        edit->selectAll();
    return false;
}

bool CAnalyzerPage::takeFloat(QLineEdit *edit, float &value, double min, double max,
                              const QString &what)
{
    float typed = 0;
    // NaN fails both comparisons, so it is refused like any value out of range.
    if (!parseFloat(edit->text(), locale(), typed) || !(typed >= min && typed <= max)) {
        return refuse(
            edit,
            tr("Please enter a number between %1 and %2 for %3.")
                .arg(locale().toString(min, 'f', 0), locale().toString(max, 'f', 0), what));
    }
    value = typed;
    return true;
}

bool CAnalyzerPage::takeInt(QLineEdit *edit, int &value, int min, int max, const QString &what)
{
    int typed = 0;
    if (!parseInt(edit->text(), typed) || typed < min || typed > max) {
        return refuse(edit,
                      tr("Please enter a whole number between %1 and %2 for %3.")
                          .arg(locale().toString(min), locale().toString(max), what));
    }
    value = typed;
    return true;
}

QLabel *CAnalyzerPage::addResultRow(QGridLayout *grid, int row, const QString &caption,
                                    const QString &name)
{
    auto *label = new CLabel(caption, this);
    makeBold(label);
    auto *value = new QLabel(this);
    value->setObjectName(name);
    value->setWordWrap(true);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(label, row, 0);
    grid->addWidget(value, row, 1, 1, 2);
    return value;
}

LoanEntryRows CAnalyzerPage::addLoanRows(QVBoxLayout *layout)
{
    LoanEntryRows rows;
    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(6);
    grid->setVerticalSpacing(4);
    auto addEdit = [&](int row, const QString &caption, const QString &name) {
        auto *edit = new QLineEdit(this);
        edit->setObjectName(name);
        edit->setMaxLength(20);
        auto *label = new QLabel(caption, this);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        return edit;
    };
    rows.principal = addEdit(0, tr("&Principal:"), QStringLiteral("principal"));
    rows.rate = addEdit(1, tr("&Interest Rate:"), QStringLiteral("rate"));
    grid->addWidget(new QLabel(tr("% per year"), this), 1, 2);
    rows.termNumber = addEdit(2, tr("&Term:"), QStringLiteral("termNumber"));
    rows.termUnit = new QComboBox(this);
    rows.termUnit->setObjectName(QStringLiteral("termUnit"));
    FillTermUnits(*rows.termUnit);
    grid->addWidget(rows.termUnit, 2, 2);

    grid->addItem(new QSpacerItem(1, 6), 3, 0);
    rows.payment = addResultRow(grid, 4, tr("Monthly Pymnt:"), QStringLiteral("payment"));
    rows.totalInterest =
        addResultRow(grid, 5, tr("Total Interest:"), QStringLiteral("totalInterest"));
    for (QLabel *value : { rows.payment, rows.totalInterest })
        value->setText(QString::fromLatin1(AnalyzerText::kNotAvailable));
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    return rows;
}

void CAnalyzerPage::showLoanValues(const LoanEntryRows &rows, const LoanEntryValues &values)
{
    rows.principal->setText(floatText(values.principal, locale()));
    rows.rate->setText(floatText(values.rate, locale()));
    rows.termNumber->setText(QString::number(values.termNumber));
}

bool CAnalyzerPage::takeLoanValues(const LoanEntryRows &rows, LoanEntryValues &values)
{
    LoanEntryValues taken = values;
    if (!takeFloat(rows.principal, taken.principal, 0, LoanLimits::kMaxPrincipal,
                   tr("the principal"))
        || !takeFloat(rows.rate, taken.rate, 0, LoanLimits::kMaxRate, tr("the interest rate"))
        || !takeInt(rows.termNumber, taken.termNumber, 0, LoanLimits::kMaxTermNumber,
                    tr("the term")))
        return false;
    values = taken;
    return true;
}

void CAnalyzerPage::showResults(const LoanEntryRows &rows, bool usable, float payment,
                                float totalInterest)
{
    const QString na = QString::fromLatin1(AnalyzerText::kNotAvailable);
    // A loan without a usable payment has no meaningful interest either (a term of 0 would
    // otherwise show one month's interest). A loan of nothing shows 0 for both.
    rows.payment->setText(usable ? FormatMoney(payment, locale()) : na);
    rows.totalInterest->setText(usable ? FormatMoney(totalInterest, locale()) : na);
}
