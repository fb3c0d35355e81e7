// Quorlex's icons: the program's own and those of the toolbar buttons.
#pragma once

#include <QIcon>

// The desktop theme's icon when it has one, else a small drawn one, so the
// toolbar reads the same on a bare X server as on a full desktop.
class CQuorlexIcons {
public:
    // A mast sending waves: the main window, the detail windows, About.
    static QIcon Application();

    // The icon of a toolbar command (QuorlexCommand ids); a null icon for others.
    static QIcon ForCommand(int commandId);
};
