#include "app/home_app.h"
#include "format/string_table.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(Strings::load(Strings::AppTitle));
    QApplication::setOrganizationName(QStringLiteral("Varn Holt"));
    CHomeApp app;
    if (!app.InitInstance())
        return 1;
    const int rc = QApplication::exec();
    const int exitCode = app.ExitInstance();
    return rc != 0 ? rc : exitCode;
}
