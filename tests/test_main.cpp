// Runs every test inside a Qt application object, so code that posts, translates or
// shows widgets finds one. Preferences go to Qt's test locations, never the user's.
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#ifdef QUILLERY_WIDGET_TESTS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

int main(int argc, char** argv) {
#ifdef QUILLERY_WIDGET_TESTS
    // Widgets are tested headless unless a platform is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
#endif
#ifdef QUILLERY_TEST_MEDIA_DIR
    // Movies play to a silent sound card.
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER"))
        qputenv("SDL_AUDIODRIVER", "dummy");
#endif
    // Qt's test locations are under the home folder, and test programs run side by side:
    // each gets a home of its own, so one program's preferences never reach another's.
    const QTemporaryDir home;
    qputenv("HOME", QFile::encodeName(home.path()));
    QStandardPaths::setTestModeEnabled(true);
    TestApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
