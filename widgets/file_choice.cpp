#include "widgets/file_choice.h"

#include "format/string_table.h"
#include "platform/file_target.h"
#include "widgets/ui.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace FileChoice {

QString startFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

bool refuseDataFile(QWidget *owner, const QString &path, const QString &dataFile)
{
    if (!FileTarget::isDataFile(path, dataFile))
        return false;
    Ui::messageBox(owner,
                   QStringLiteral("\"%1\" is Domelio's own data file, or one of the files the "
                                  "database keeps beside it. Domelio cannot use it here.\n\n"
                                  "Please choose another file.")
                       .arg(QDir::toNativeSeparators(path)),
                   Strings::load(Strings::AppTitle), Ui::Icon::Warning, Ui::Ok);
    return true;
}

QString saveFileName(QWidget *owner, const QString &caption, const QString &proposedName,
                     const QString &filter, const QString &suffix, const QString &dataFile)
{
    QString name =
        Ui::saveFileName(owner, caption, QDir(startFolder()).filePath(proposedName), filter);
    if (name.isEmpty())
        return {};
    const bool addSuffix = !QFileInfo(name).fileName().contains(QLatin1Char('.'));
    if (addSuffix)
        name += QLatin1Char('.') + suffix;
    if (refuseDataFile(owner, name, dataFile))
        return {};
    if (addSuffix) {
        if (QFileInfo::exists(name)
            && Ui::messageBox(owner,
                              QStringLiteral("%1 already exists.\nDo you want to replace it?")
                                  .arg(QDir::toNativeSeparators(name)),
                              caption, Ui::Icon::Warning, Ui::Yes | Ui::No, Ui::No)
                != Ui::Yes)
            return {};
    }
    return name;
}

void offerToOpen(QWidget *owner, const QString &path)
{
    const QString question = QLatin1Char('"') + QDir::toNativeSeparators(path)
        + QStringLiteral("\" has been created.\n\nWould you like to open it now?");
    if (Ui::messageBox(owner, question, Strings::load(Strings::AppTitle), Ui::Icon::Question,
                       Ui::Yes | Ui::No)
        == Ui::Yes)
        Ui::openUrl(QUrl::fromLocalFile(path));
}

} // namespace FileChoice
