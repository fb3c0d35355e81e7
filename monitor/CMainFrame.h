// Quorlex's main window: the MDI area that holds the detail windows.
#pragma once

#include <QMainWindow>

class QMdiArea;

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return m_mdiArea; }

private:
    QMdiArea* m_mdiArea;
};
