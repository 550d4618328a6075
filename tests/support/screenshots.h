#pragma once
// Pictures of windows for a person to look at: saved as <name>.png in the folder named by
// DOMELIO_SCREENSHOTS when that is set, and not at all otherwise, so a test run leaves nothing
// behind and never depends on them.

#include <QDir>
#include <QPixmap>
#include <QWidget>
#include <gtest/gtest.h>

namespace Screenshots {

inline void save(const QPixmap &picture, const QString &name)
{
    const QString folder = qEnvironmentVariable("DOMELIO_SCREENSHOTS");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    EXPECT_TRUE(picture.save(folder + QLatin1Char('/') + name + QStringLiteral(".png")))
        << name.toStdString();
}

inline void save(QWidget &widget, const QString &name)
{
    save(widget.grab(), name);
}

} // namespace Screenshots
