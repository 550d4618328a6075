#pragma once
// The user's own folders, as the XDG base directory rules name them.

#include <QString>

namespace UserFolders {

// $XDG_DATA_HOME, else ~/.local/share. A relative XDG_DATA_HOME is invalid and ignored. Read each
// time, so a changed environment takes effect at once.
QString dataHome();

} // namespace UserFolders
