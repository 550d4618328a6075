#pragma once
// Amounts and dates read from imported text: in the user's locale (as the inventory export
// writes them: "$1,250.00", "($5.00)", "5/14/19"; "1.250,00 €", "14.05.19" under German
// settings), as ISO 8601 ("2019-05-14", also with a time after it) and as plain numbers
// ("1250", "149.99", which other programs write whatever the locale). Text that none of these
// reads is refused, never taken for 0 or for today.

#include <QDate>
#include <QHash>
#include <QLocale>
#include <QString>

#include <optional>

namespace Import {

// Two-digit years fall in 1930..2029, as the program's lists read the dates it shows.
int fullYear(int twoDigitYear);

class Values
{
public:
    explicit Values(const QLocale &locale);

    // The amount the text stands for; none when it is no amount (or empty). Up to a trillion
    // either way: larger figures are no household's and lose their cents in the data file.
    std::optional<double> amount(QStringView text) const;
    // The day the text names; none when it names none (or is empty).
    std::optional<QDate> date(const QString &text);

    const QLocale &locale() const { return m_locale; }

private:
    struct DateForm
    {
        QString format;
        bool numeric = false; // only day, month, year numbers and other characters
    };

    QDate readDate(const QString &text) const;
    // The ISO form and the locale's numeric forms, read without the locale's help.
    QDate readNumeric(QStringView text) const;
    QDate readWithForms(const QString &text) const;

    QLocale m_locale;
    char m_decimal = '.';
    QByteArray m_groups; // the marks that may group thousands besides a space
    QString m_symbol;
    QString m_isoCode;
    std::vector<DateForm> m_dateForms;
    // Dates repeat a great deal in an inventory; each distinct text is read once.
    QHash<QString, QDate> m_dates;
};

} // namespace Import
