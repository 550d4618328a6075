#include "app/shared_look.h"

#include <QApplication>
#include <QFontDatabase>

namespace SharedLook {

QString fontFamily()
{
    static const QString family = [] {
        const QStringList families = QFontDatabase::families();
        for (const char *candidate : { "Verdana", "DejaVu Sans" }) {
            if (families.contains(QLatin1String(candidate), Qt::CaseInsensitive))
                return QString::fromLatin1(candidate);
        }
        return QApplication::font().family();
    }();
    return family;
}

QFont normalFont()
{
    QFont font(fontFamily());
    font.setPixelSize(12);
    font.setWeight(QFont::Normal);
    return font;
}

QFont boldFont()
{
    QFont font = QApplication::font();
    font.setFamily(fontFamily());
    font.setWeight(QFont::Bold);
    return font;
}

QBrush backgroundBrush()
{
    return QBrush(QColor(234, 239, 244));
}

QColor listBackground()
{
    return QColor(255, 254, 249);
}

QColor accentColor()
{
    return QColor(55, 96, 157);
}

} // namespace SharedLook
