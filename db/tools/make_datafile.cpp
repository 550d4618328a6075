// make-datafile: writes a fresh HOMEDATA.DAT (the seven tables and their starting rows).
#include "db/datafile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    const bool keep = args.removeAll(QStringLiteral("--keep")) > 0;
    if (args.size() != 1 || args.first().startsWith(QLatin1Char('-'))) {
        std::fprintf(stderr,
                     "usage: make-datafile [--keep] PATH\n"
                     "Writes a fresh Domelio data file at PATH. An existing file is never\n"
                     "overwritten: with --keep it is left as it is and the exit status is 0.\n");
        return 2;
    }
    const QString path = args.first();
    if (keep && QFileInfo::exists(path))
        return 0;
    QString error;
    if (!DataFile::create(path, &error)) {
        std::fprintf(stderr, "make-datafile: %s\n", qPrintable(error));
        return 1;
    }
    return 0;
}
