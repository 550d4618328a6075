// make-datafile: writes a fresh HOMEDATA.DAT (the seven tables and their starting rows), or with
// --sample an invented household to try the program on.
#include "db/datafile.h"
#include "db/tools/sample_household.h"

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        std::fputs("usage: make-datafile [--keep] PATH\n"
                   "       make-datafile --sample PATH\n"
                   "Writes a fresh Domelio data file at PATH. An existing file is never\n"
                   "overwritten: with --keep it is left as it is and the exit status is 0.\n"
                   "--sample writes an invented household instead, its pictures drawn into the\n"
                   "folder 'pictures' beside PATH.\n",
                   stdout);
        return 0;
    }
    const bool keep = args.removeAll(QStringLiteral("--keep")) > 0;
    const bool sample = args.removeAll(QStringLiteral("--sample")) > 0;
    if (args.size() != 1 || args.first().startsWith(QLatin1Char('-')) || (keep && sample)) {
        std::fprintf(stderr,
                     "usage: make-datafile [--keep] PATH | make-datafile --sample PATH "
                     "(see make-datafile --help)\n");
        return 2;
    }
    const QString path = args.first();
    if (keep && QFileInfo::exists(path))
        return 0;
    QString error;
    const bool written = sample ? SampleHousehold::write(path, QDate::currentDate(), &error)
                                : DataFile::create(path, &error);
    if (!written) {
        std::fprintf(stderr, "make-datafile: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
