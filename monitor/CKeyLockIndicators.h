// The CAP, NUM and SCRL panes of the main frame's status bar.
#pragma once

#include <QObject>

class QLabel;
class QStatusBar;
class QTimer;

// Shows each pane's text while its lock key is on and leaves it blank while it
// is off. Qt does not report lock-key states, so they are read from the X
// server's keyboard indicators when the program runs on X11; elsewhere (offscreen,
// Wayland) the panes stay blank.
class CKeyLockIndicators : public QObject {
    Q_OBJECT
public:
    // Bits of the state word.
    enum Lock : unsigned { CapsLock = 1u << 0, NumLock = 1u << 1, ScrollLock = 1u << 2 };

    explicit CKeyLockIndicators(QStatusBar* statusBar);

    // Shows the given lock states (a combination of Lock bits).
    void ShowState(unsigned state);
    unsigned shownState() const { return m_shown; }

private:
    void Poll();

    QLabel* m_panes[3];
    QTimer* m_poll;
    unsigned m_shown = ~0u;
};
