#include "analyzer/loan_report.h"

#include "analyzer/loan_calc.h"

#include <QIODevice>
#include <QStringList>

namespace {

QString field(const QString &text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"'))
        && !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')))
        return text;
    QString quoted = text;
    quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString line(const QStringList &fields)
{
    QStringList out;
    out.reserve(fields.size());
    for (const QString &f : fields)
        out.append(field(f));
    return out.join(QLatin1Char(',')) + QLatin1Char('\n');
}

} // namespace

bool WriteLoanReport(QIODevice &out, const LoanReportInput &in, const QLocale &locale)
{
    const float payment = CalcMonthlyPayment(in.principal, in.annualPercent, in.termMonths);
    const bool usable = Loan::IsUsablePayment(payment);
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
                   usable && interest > 0 ? FormatMoney(interest, locale) : na });
    text += QLatin1Char('\n');
    text += line({ QStringLiteral("No."), QStringLiteral("Date"), QStringLiteral("Principal"),
                   QStringLiteral("Interest"), QStringLiteral("Balance") });
    if (out.write(text.toUtf8()) < 0)
        return false;

    // A loan without a usable payment has no schedule worth printing (its rows are all NaN).
    if (!usable)
        return true;
    const std::vector<Loan::ScheduleRow> rows =
        Loan::BuildSchedule(in.principal, in.annualPercent, in.termMonths);
    text.clear();
    std::int64_t number = 0;
    for (const Loan::ScheduleRow &row : rows) {
        ++number;
        text += line({ QString::number(number),
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
