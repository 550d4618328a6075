#include "analyzer/loan_report.h"

#include "analyzer/loan_calc.h"

#include <QIODevice>
#include <initializer_list>

namespace {

void appendField(QString &out, const QString &text)
{
    bool needsQuotes = false;
    for (const QChar c : text) {
        if (c == QLatin1Char(',') || c == QLatin1Char('"') || c == QLatin1Char('\n')
            || c == QLatin1Char('\r')) {
            needsQuotes = true;
            break;
        }
    }
    if (!needsQuotes) {
        out += text;
        return;
    }
    out += QLatin1Char('"');
    for (const QChar c : text) {
        if (c == QLatin1Char('"'))
            out += QLatin1Char('"');
        out += c;
    }
    out += QLatin1Char('"');
}

void appendLine(QString &out, std::initializer_list<QString> fields)
{
    bool first = true;
    for (const QString &f : fields) {
        if (!first)
            out += QLatin1Char(',');
        first = false;
        appendField(out, f);
    }
    out += QLatin1Char('\n');
}

QString line(std::initializer_list<QString> fields)
{
    QString out;
    appendLine(out, fields);
    return out;
}

} // namespace

bool WriteLoanReport(QIODevice &out, const LoanReportInput &in, const QLocale &locale)
{
    const float payment = CalcMonthlyPayment(in.principal, in.annualPercent, in.termMonths);
    const bool usable = Loan::IsUsablePayment(in.principal, in.annualPercent, in.termMonths);
    const float interest =
        usable ? TotalInterestOf(in.principal, in.annualPercent, in.termMonths) : 0.0f;
    const QString na = QStringLiteral("N/A");

    QString text;
    if (!in.title.isEmpty())
        text += line({ QStringLiteral("Title"), in.title });
    text += line({ QStringLiteral("Principal"), FormatMoney(in.principal, locale) });
    text += line({ QStringLiteral("Interest Rate"),
                   locale.toString(static_cast<double>(in.annualPercent), 'g', 6)
                       + QStringLiteral(" % per year") });
    text += line({ QStringLiteral("Term"), FormatTerm(in.termMonths) });
    text += line({ QStringLiteral("Monthly Pymnt"), usable ? FormatMoney(payment, locale) : na });
    text += line({ QStringLiteral("Total Interest"),
                   usable ? FormatMoney(interest, locale) : na });
    text += QLatin1Char('\n');
    text += line({ QStringLiteral("No."), QStringLiteral("Date"), QStringLiteral("Principal"),
                   QStringLiteral("Interest"), QStringLiteral("Balance") });
    if (out.write(text.toUtf8()) < 0)
        return false;

    // A loan without a usable payment has no schedule worth printing (its rows are all NaN, or
    // a balance that never falls).
    if (!usable)
        return true;
    const std::vector<Loan::ScheduleRow> rows =
        Loan::BuildSchedule(in.principal, in.annualPercent, in.termMonths);
    text.clear();
    std::int64_t number = 0;
    for (const Loan::ScheduleRow &row : rows) {
        ++number;
        appendLine(text,
                   { QString::number(number),
                     FormatLoanDate(PaymentDate(in.start, number), false, locale),
                     FormatNumber(row.principal, true, false, locale),
                     FormatNumber(row.interest, true, false, locale),
                     FormatNumber(row.balance, true, false, locale) });
        if (text.size() > 64 * 1024) {
            if (out.write(text.toUtf8()) < 0)
                return false;
            text.clear();
        }
    }
    return out.write(text.toUtf8()) >= 0;
}
