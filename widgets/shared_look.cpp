#include "widgets/shared_look.h"

#include <QApplication>
#include <QFontDatabase>

namespace SharedLook {

QString fontFamily()
{
    // Looked up once per program in the list of installed families. (hasFamily() would also
    // resolve the name through fontconfig's substitution rules first, a few milliseconds of the
    // start-up for each name asked, for an answer this list gives as well.)
    static const QString family = [] {
        const QStringList installed = QFontDatabase::families();
        for (const char *candidate : { "Verdana", "DejaVu Sans" }) {
            if (installed.contains(QLatin1String(candidate), Qt::CaseInsensitive))
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
