#include "db/ado_error.h"

#include <sqlite3.h>

namespace AdoError {

QString meaning(quint32 code)
{
    switch (code) {
    case NoCurrentRecord:
        return QStringLiteral("Either BOF or EOF is True, or the current record has been deleted. "
                              "Requested operation requires a current record.");
    case ItemNotFound:
        return QStringLiteral("Item cannot be found in the collection corresponding to the "
                              "requested name or ordinal.");
    case NotUpdatable:
        return QStringLiteral("Current Recordset does not support updating.");
    case ObjectClosed:
        return QStringLiteral("Operation is not allowed when the object is closed.");
    case TypeMismatch:
        return QStringLiteral("Type mismatch.");
    case InvalidArgument:
        return QStringLiteral("Arguments are of the wrong type, are out of acceptable range, or "
                              "are in conflict with one another.");
    case ReadOnlyFile:
        return QStringLiteral("The data file is read-only.");
    default:
        break;
    }
    if (code != 0 && code < 0x10000u) {
        QString text = QString::fromUtf8(sqlite3_errstr(static_cast<int>(code)));
        while (text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r')))
            text.chop(1);
        if (!text.isEmpty())
            return text;
    }
    if (code >= 0x80040201u && code <= 0x8004FFFFu)
        return QStringLiteral("IDispatch error #%1").arg(code - 0x80040200u);
    return QStringLiteral("Unknown error 0x%1").arg(QString::number(code, 16).toUpper());
}

QString report(const char *heading, quint32 code, const QString &source, const QString &description)
{
    return QStringLiteral("%1 Error\n\tCode = %2\n\tCode meaning = %3\n\tSource = %4\n\t"
                          "Description = %5\n")
        .arg(QLatin1String(heading), QStringLiteral("%1").arg(code, 8, 16, QLatin1Char('0')),
             meaning(code), source, description);
}

} // namespace AdoError
