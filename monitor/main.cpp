#include "CMainFrame.h"
#include "CMessageBoxReporter.h"
#include "CQuorlexApp.h"
#include "CTerminationSignals.h"
#include "engine/CProfile.h"

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
    reporter.SetParentWindow(quorlex.mainFrame());

    // Asked to end from outside: close as the user would.
    CTerminationSignals termination;
    QObject::connect(&termination, &CTerminationSignals::terminationRequested, quorlex.mainFrame(), &QWidget::close);

    const int result = QApplication::exec();
    const int exitCode = quorlex.ExitInstance();
    return result != 0 ? result : exitCode;
}
