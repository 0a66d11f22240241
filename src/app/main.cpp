// quillery: the subtitle editor. A project file given on the command line is the system
// asking to open it.
#include "MediaEngine.h"
#include "QYMainWindowController.h"
#include "SystemUtility.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(quillery::SystemUtility::sharedInstance().getBundleName());
    QApplication::setOrganizationName(QStringLiteral("Quillery"));
    QApplication::setApplicationVersion(quillery::SystemUtility::sharedInstance().getAppVersion());
    QApplication::setQuitOnLastWindowClosed(true);

    int status = 0;
    {
        quillery::QYMainWindowController window;
        window.show();
        window.raise();
        window.activateWindow();
        window.windowDidLoad();
        const QStringList arguments = app.arguments();
        for (qsizetype i = 1; i < arguments.size(); ++i)
            window.openFileOnRequest(arguments[i]);
        status = app.exec();
    }
    // The engine closes only once the window and its players are gone.
    quillery::shutdownMediaEngine();
    return status;
}
