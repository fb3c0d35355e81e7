// Notices that stay in the main window's status bar while what they tell
// holds (a DIS port shared with another program, a lost HLA federation),
// beside the lock-key panes. Unlike a status message, which the next menu
// or toolbar tip replaces, a notice stays until it is cleared.
#pragma once

#include <QHash>
#include <QObject>
#include <QString>

class QLabel;
class QStatusBar;

class CStatusNotices : public QObject {
    Q_OBJECT
public:
    explicit CStatusNotices(QStatusBar* statusBar);

    // Shows the notice of `key` (or changes its text); `details` is its tooltip.
    void Show(const QString& key, const QString& text, const QString& details = {});
    // Takes the notice of `key` away (nothing when none is shown).
    void Clear(const QString& key);
    // The text shown for `key`; empty when none is.
    QString Text(const QString& key) const;
    // The pane of `key`; null when none is shown.
    QLabel* Pane(const QString& key) const { return m_panes.value(key); }

private:
    QStatusBar* m_statusBar;
    QHash<QString, QLabel*> m_panes;
};
