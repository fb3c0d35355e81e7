#include "CStatusNotices.h"

#include <QLabel>
#include <QStatusBar>

CStatusNotices::CStatusNotices(QStatusBar* statusBar) : QObject(statusBar), m_statusBar(statusBar) {}

void CStatusNotices::Show(const QString& key, const QString& text, const QString& details)
{
    QLabel* pane = m_panes.value(key);
    if (!pane) {
        pane = new QLabel(m_statusBar);
        pane->setObjectName("Notice" + key);
        pane->setFrameShape(QFrame::Panel);
        pane->setFrameShadow(QFrame::Sunken);
        // Before the lock-key panes, the newest first.
        m_statusBar->insertPermanentWidget(0, pane);
        m_panes.insert(key, pane);
    }
    pane->setText(text);
    pane->setToolTip(details.isEmpty() ? text : details);
    pane->show();
}

void CStatusNotices::Clear(const QString& key)
{
    if (QLabel* pane = m_panes.take(key)) {
        m_statusBar->removeWidget(pane);
        pane->deleteLater();
    }
}

QString CStatusNotices::Text(const QString& key) const
{
    const QLabel* pane = m_panes.value(key);
    return pane ? pane->text() : QString();
}
