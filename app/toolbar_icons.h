#pragma once
// The toolbar's button images and the program's icon, drawn at start-up: a few flat shapes in
// the program's accent colour, sized for 25 x 23 buttons.

#include <QIcon>

namespace ToolbarIcons {

// The image of a toolbar command (Command ids); a null icon for other ids.
QIcon icon(int commandId);
// A small house, for the window and the About box.
QIcon programIcon();

} // namespace ToolbarIcons
