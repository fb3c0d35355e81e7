#include "CMessageBoxReporter.h"
#include "CQuorlexApp.h"
#include "core/CProfile.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setOrganizationName("Brantel");
    QApplication::setApplicationName("Quorlex");
    QApplication::setApplicationVersion("1.0");

    CProfile profile;
    CMessageBoxReporter reporter;
    CQuorlexApp quorlex(profile, reporter);
    if (!quorlex.InitInstance())
        return 1;
    const int result = QApplication::exec();
    quorlex.ExitInstance();
    return result;
}
