#pragma once
// The look the views and pages share: the list font, the bold font of captions, the views'
// background and the accent colour of titles and hints.

#include <QBrush>
#include <QColor>
#include <QFont>

namespace SharedLook {

// "Verdana" when the system has it, else a sans-serif face every Linux desktop carries.
QString fontFamily();
// The views' list font: character height 12 pixels, normal weight.
QFont normalFont();
// The default interface font in the shared family, bold.
QFont boldFont();
// Solid RGB(234, 239, 244): views paint their backgrounds with it.
QBrush backgroundBrush();
// RGB(255, 254, 249): background of the views' lists.
QColor listBackground();
// RGB(55, 96, 157): titles and hints.
QColor accentColor();

} // namespace SharedLook
