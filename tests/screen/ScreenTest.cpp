// Starts the real editor on a virtual X screen, takes a picture of it and checks that
// the window is drawn: a toolbar of text along the top, the white editor, the dark panes.
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The share of pixels in a rectangle that are close to the colour.
double shareOf(const QImage& image, const QRect& area, const QColor& colour) {
    int matching = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - colour.red()) + std::abs(pixel.green() - colour.green()) +
                    std::abs(pixel.blue() - colour.blue()) <
                24)
                ++matching;
        }
    }
    return static_cast<double>(matching) / (area.width() * area.height());
}

int distinctColours(const QImage& image, const QRect& area) {
    QSet<QRgb> colours;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            colours.insert(image.pixel(x, y));
    return static_cast<int>(colours.size());
}

TEST(Screen, TheEditorWindowIsDrawnWithItsToolbarAndPanes) {
    if (QStandardPaths::findExecutable("xvfb-run").isEmpty())
        GTEST_SKIP() << "xvfb-run is not installed";
    QTemporaryDir home;
    // A configured user: no first-launch question in front of the window.
    QDir(home.path()).mkpath("config/Quillery");
    QFile settings(home.filePath("config/Quillery/Quillery.json"));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write(R"({"firstLaunch": "NO", "isFinalCutPro7ToolBar": true})");
    settings.close();

    const QString picture = home.filePath("screen.png");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
    environment.insert("XDG_CACHE_HOME", home.filePath("cache"));
    environment.insert("XDG_DATA_HOME", home.filePath("data"));
    environment.insert("XDG_RUNTIME_DIR", home.path());
    environment.insert("QT_QPA_PLATFORM", "xcb");
    QProcess run;
    run.setProcessEnvironment(environment);
    run.start("xvfb-run", {"-a", "-s", "-screen 0 1600x1000x24", QUILLERY_SCREEN_SCRIPT,
                           QUILLERY_EDITOR_PATH, QUILLERY_GRABBER_PATH, picture});
    ASSERT_TRUE(run.waitForFinished(120000));
    ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();

    QImage screen(picture);
    ASSERT_FALSE(screen.isNull());
    ASSERT_EQ(screen.size(), QSize(1600, 1000));
    // The toolbar: a light band of text just under the menu bar.
    EXPECT_GT(distinctColours(screen, QRect(0, 25, 700, 30)), 8);
    // The editor: the top of the right-hand column is white.
    EXPECT_GT(shareOf(screen, QRect(900, 150, 300, 300), Qt::white), 0.9);
    // The player pane on the left is dark.
    EXPECT_GT(shareOf(screen, QRect(100, 200, 400, 300), QColor(28, 30, 34)), 0.9);
}

} // namespace
