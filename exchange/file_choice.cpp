#include "exchange/file_choice.h"

#include "format/string_table.h"
#include "widgets/ui.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace FileChoice {

QString startFolder()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString saveFileName(QWidget *owner, const QString &caption, const QString &proposedName,
                     const QString &filter, const QString &suffix)
{
    QString name =
        Ui::saveFileName(owner, caption, QDir(startFolder()).filePath(proposedName), filter);
    if (name.isEmpty())
        return {};
    if (!QFileInfo(name).fileName().contains(QLatin1Char('.'))) {
        name += QLatin1Char('.') + suffix;
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

} // namespace FileChoice
