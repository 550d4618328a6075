#pragma once
// The pictures of the Sync Direction dialog and the progress window, drawn by the program: a
// desktop computer, a handheld device, and the arrow of the copy between them.

#include <QPixmap>

namespace SyncIcons {

inline constexpr int kSize = 32;

QPixmap desktop();
QPixmap handheld();
// Points right: the copy runs from the picture on its left to the one on its right.
QPixmap arrow();
// The progress window's picture: two arrows turning into each other.
QPixmap synchronizing();

} // namespace SyncIcons
