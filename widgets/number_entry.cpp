#include "widgets/number_entry.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace NumberEntry {

QString text(float value)
{
    return QString::asprintf("%g", double(value));
}

std::optional<float> read(const QString &input)
{
    const QString trimmed = input.trimmed();
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d+)?$"));
    if (!number.match(trimmed).hasMatch())
        return std::nullopt;
    bool ok = false;
    const double value = trimmed.toDouble(&ok); // C locale: the point is the decimal mark
    // A value beyond the float's range would be stored as infinity and never read back.
    if (!ok || !std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        return std::nullopt;
    return float(value);
}

QString refusal()
{
    return QStringLiteral("Please enter a number.");
}

} // namespace NumberEntry
