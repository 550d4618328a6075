#include "widgets/data_problem.h"

#include "db/ado_database.h"
#include "db/ado_error.h"
#include "format/string_table.h"
#include "widgets/ui.h"

#include <QCoreApplication>

#include <cstdio>

namespace DataProblem {

QString readFailedText(const QString &what, const CADODataBase &db)
{
    const quint32 code = db.GetLastErrorCode();
    const QString reason = code == 0 ? QString() : AdoError::meaning(code);
    return reason.isEmpty()
        ? QStringLiteral("%1 could not be read from the data file.").arg(what)
        : QStringLiteral("%1 could not be read from the data file: %2.").arg(what, reason);
}

void readFailed(QWidget *owner, const QString &what, const CADODataBase &db)
{
    std::fprintf(stderr, "%s: %s could not be read from the data file\n%s",
                 qPrintable(QCoreApplication::applicationName()), qPrintable(what.toLower()),
                 qPrintable(db.GetLastError()));
    Ui::messageBox(owner,
                   readFailedText(what, db)
                       + QStringLiteral("\n\nAnother program may be using the file, or the file "
                                        "may be damaged. Nothing was changed; try again in a "
                                        "moment, and if it keeps failing, restore your latest "
                                        "backup."),
                   Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Ok);
}

} // namespace DataProblem
