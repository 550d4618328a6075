#include "analyzer/term_controls.h"

#include <QComboBox>
#include <QLineEdit>

#include <algorithm>
#include <limits>

void FillTermUnits(QComboBox &unit)
{
    unit.clear();
    unit.addItem(QStringLiteral("Months"));
    unit.addItem(QStringLiteral("Years"));
}

void ShowTermControls(std::int32_t months, QLineEdit &number, QComboBox &unit)
{
    if (months % 12 != 0) {
        number.setText(QString::number(months));
        unit.setCurrentIndex(0);
    } else {
        number.setText(QString::number(months / 12));
        unit.setCurrentIndex(1);
    }
}

std::int32_t ReadTermControls(const QLineEdit &number, const QComboBox &unit)
{
    const QString text = number.text();
    qsizetype pos = 0;
    while (pos < text.size() && text.at(pos).isSpace())
        ++pos;
    bool negative = false;
    if (pos < text.size()
        && (text.at(pos) == QLatin1Char('+') || text.at(pos) == QLatin1Char('-'))) {
        negative = text.at(pos) == QLatin1Char('-');
        ++pos;
    }
    constexpr std::int64_t cap = std::int64_t(std::numeric_limits<std::int32_t>::max()) + 1;
    std::int64_t value = 0;
    for (; pos < text.size(); ++pos) {
        const QChar c = text.at(pos);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            break;
        value = std::min<std::int64_t>(value * 10 + (c.unicode() - '0'), cap);
    }
    if (negative)
        value = -value;
    if (unit.currentIndex() != 0)
        value *= 12;
    value = std::clamp<std::int64_t>(value, std::numeric_limits<std::int32_t>::min(),
                                     std::numeric_limits<std::int32_t>::max());
    return static_cast<std::int32_t>(value);
}
