#include "widgets/shared_look.h"

#include <QApplication>
#include <QFontDatabase>

namespace SharedLook {

QString fontFamily()
{
    // hasFamily() asks for one family; listing them all would load every font on the system
    // and cost a third of the start-up.
    static const QString family = [] {
        for (const char *candidate : { "Verdana", "DejaVu Sans" }) {
            if (QFontDatabase::hasFamily(QLatin1String(candidate)))
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
