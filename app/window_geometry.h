#pragma once
// Maps a top-level widget to and from the placement record the settings keep.

#include "platform/window_placement.h"

class QWidget;

// The widget's normal (restored) geometry and its show state: maximised, minimised (flagged to
// come back maximised when it was maximised before) or normal.
WindowPlacement placementOf(const QWidget &window);

// Restores the normal geometry and the maximised state. A minimised placement comes back normal
// (or maximised when so flagged): a program that starts minimised looks like one that did not
// start. The rectangle is kept inside the available area of the screen it overlaps most (the
// primary screen when it overlaps none), so a screen that has gone never hides the window; an
// empty or inverted rectangle is ignored and the window centred at its current size.
void applyPlacement(QWidget &window, const WindowPlacement &placement);

// Centres the window's frame on the available area of its screen.
void centreOnScreen(QWidget &window);
