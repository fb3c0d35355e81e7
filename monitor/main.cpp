#include "CMainFrame.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Brantel");
    QApplication::setApplicationName("Quorlex");

    CMainFrame frame;
    frame.show();
    return app.exec();
}
