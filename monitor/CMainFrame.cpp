#include "CMainFrame.h"

#include <QMdiArea>

CMainFrame::CMainFrame(QWidget* parent)
    : QMainWindow(parent), m_mdiArea(new QMdiArea(this))
{
    setObjectName("MainFrame");
    setWindowTitle("Quorlex");
    setCentralWidget(m_mdiArea);
}
