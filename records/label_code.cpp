#include "records/label_code.h"

#include "records/area.h"
#include "records/asset.h"
#include "records/home.h"

#include <QStringList>

#include <limits>

namespace LabelCode {
namespace {

const QLatin1String kPrefix("DOMELIO");

// A positive 32-bit id in plain digits: no sign, no blanks, no leading zeros that would let two
// texts name one record.
std::optional<qint32> id(const QString &digits)
{
    if (digits.isEmpty() || digits.size() > 10 || digits.startsWith(QLatin1Char('0')))
        return std::nullopt;
    for (QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
    }
    bool ok = false;
    const qint64 value = digits.toLongLong(&ok);
    if (!ok || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(value);
}

} // namespace

QByteArray text(const Target &target)
{
    return QByteArray(kPrefix.data()) + (target.kind == Kind::Asset ? ":A:" : ":L:")
        + QByteArray::number(target.homeId) + ':' + QByteArray::number(target.id);
}

std::optional<Target> parse(const QString &typed)
{
    const QStringList parts = typed.trimmed().split(QLatin1Char(':'));
    if (parts.size() != 4 || parts[0].compare(kPrefix, Qt::CaseInsensitive) != 0)
        return std::nullopt;
    Target target;
    if (parts[1].compare(QLatin1String("A"), Qt::CaseInsensitive) == 0)
        target.kind = Kind::Asset;
    else if (parts[1].compare(QLatin1String("L"), Qt::CaseInsensitive) == 0)
        target.kind = Kind::Location;
    else
        return std::nullopt;
    const std::optional<qint32> home = id(parts[2]);
    const std::optional<qint32> record = id(parts[3]);
    if (!home || !record)
        return std::nullopt;
    target.homeId = *home;
    target.id = *record;
    return target;
}

std::optional<qint32> currentHome(CADODataBase &db, const Target &target)
{
    qint32 homeId = 0;
    if (target.kind == Kind::Asset) {
        CAsset asset(target.id);
        if (!asset.Load(db))
            return std::nullopt;
        homeId = asset.m_lHomeId;
    } else {
        CArea area(target.id);
        if (!area.Load(db))
            return std::nullopt;
        homeId = area.m_nHomeId;
    }
    CHome home(homeId);
    if (!home.Load(db))
        return std::nullopt;
    return homeId;
}

} // namespace LabelCode
