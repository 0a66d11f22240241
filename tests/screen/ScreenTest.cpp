// Starts the real editor on a virtual X screen, takes a picture of it and checks that
// the window is drawn: a toolbar of text along the top, the white editor, the dark player
// pane; and, with a project whose movie is made by ffmpeg, the movie's picture with the
// subtitle under the playhead over it, and the subtitle blocks over the waveform.
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

// Runs the editor with these arguments on a 1600 x 1000 screen and returns the picture.
QImage grabEditor(const QTemporaryDir& home, const QStringList& arguments) {
    // A configured user: no first-launch question in front of the window.
    QDir(home.path()).mkpath("config/Quillery");
    QFile settings(home.filePath("config/Quillery/Quillery.json"));
    if (!settings.open(QIODevice::WriteOnly))
        return QImage();
    settings.write(R"({"firstLaunch": "NO", "isFinalCutPro7ToolBar": true})");
    settings.close();

    const QString picture = home.filePath("screen.png");
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_CONFIG_HOME", home.filePath("config"));
    environment.insert("XDG_CACHE_HOME", home.filePath("cache"));
    environment.insert("XDG_DATA_HOME", home.filePath("data"));
    environment.insert("XDG_RUNTIME_DIR", home.path());
    environment.insert("QT_QPA_PLATFORM", "xcb");
    environment.insert("SDL_AUDIODRIVER", "dummy");
    QProcess run;
    run.setProcessEnvironment(environment);
    run.start("xvfb-run", QStringList{"-a", "-s", "-screen 0 1600x1000x24", QUILLERY_SCREEN_SCRIPT,
                                      QUILLERY_EDITOR_PATH, QUILLERY_GRABBER_PATH, picture} +
                              arguments);
    if (!run.waitForFinished(120000) || run.exitCode() != 0) {
        ADD_FAILURE() << run.readAllStandardError().toStdString();
        return QImage();
    }
    return QImage(picture);
}

bool runFFmpeg(const QStringList& arguments) {
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", QStringList{"-loglevel", "error", "-y"} + arguments);
    return ffmpeg.waitForFinished(60000) && ffmpeg.exitCode() == 0;
}

TEST(Screen, TheEditorWindowIsDrawnWithItsToolbarAndPanes) {
    if (QStandardPaths::findExecutable("xvfb-run").isEmpty())
        GTEST_SKIP() << "xvfb-run is not installed";
    QTemporaryDir home;
    const QImage screen = grabEditor(home, {});
    ASSERT_FALSE(screen.isNull());
    ASSERT_EQ(screen.size(), QSize(1600, 1000));
    // The toolbar: a light band of text just under the menu bar.
    EXPECT_GT(distinctColours(screen, QRect(0, 25, 700, 30)), 8);
    // The editor: the top of the right-hand column is white.
    EXPECT_GT(shareOf(screen, QRect(900, 150, 300, 300), Qt::white), 0.9);
    // The player pane on the left is black until a movie is opened.
    EXPECT_GT(shareOf(screen, QRect(100, 200, 400, 300), Qt::black), 0.9);
}

// A project of a 12-second movie made by ffmpeg and the script.
QString makeProject(const QTemporaryDir& home, const QString& script) {
    const QString movie = home.filePath("movie.mp4");
    if (!runFFmpeg({"-f", "lavfi", "-i", "testsrc2=size=640x360:rate=25:duration=12", "-f", "lavfi",
                    "-i", "sine=d=12", "-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt",
                    "yuv420p", "-c:a", "aac", movie}))
        return QString();
    const QString project = home.filePath("Screen.qyb");
    QFile file(project);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict>
<key>movie</key><string>%1</string>
<key>text</key><string>%2</string>
</dict></plist>)")
                   .arg(movie, script)
                   .toUtf8());
    return project;
}

TEST(Screen, TheWaveformShowsTheSubtitleBlocks) {
    if (QStandardPaths::findExecutable("xvfb-run").isEmpty() ||
        QStandardPaths::findExecutable("ffmpeg").isEmpty())
        GTEST_SKIP() << "xvfb-run or ffmpeg is not installed";
    QTemporaryDir home;
    const QString project =
        makeProject(home, "[00:00:01.00]ONE[00:00:03.00]\nuntimed\n[00:00:03.10]TWO[00:00:05.10]");
    ASSERT_FALSE(project.isEmpty());
    const QImage screen = grabEditor(home, {project});
    ASSERT_FALSE(screen.isNull());
    // Under the editor, right of the player: the waveform pane, where the two blocks of
    // 300 pixels (2 s at 150 a second) fill most of the view in translucent red over its
    // grey, (236, 237, 239) seen through red at 0.3.
    EXPECT_GT(shareOf(screen, QRect(705, 640, 690, 210), QColor(242, 173, 175)), 0.4);
}

TEST(Screen, ThePlayerShowsTheMovieWithTheSubtitleOverIt) {
    if (QStandardPaths::findExecutable("xvfb-run").isEmpty() ||
        QStandardPaths::findExecutable("ffmpeg").isEmpty())
        GTEST_SKIP() << "xvfb-run or ffmpeg is not installed";
    QTemporaryDir home;
    const QString project =
        makeProject(home, "[00:00:00.00]SUBTITLE OVER THE PICTURE[00:00:10.00]");
    ASSERT_FALSE(project.isEmpty());
    const QImage screen = grabEditor(home, {project});
    ASSERT_FALSE(screen.isNull());
    // The movie's colour bars fill the middle of the player pane.
    EXPECT_GT(distinctColours(screen, QRect(50, 300, 600, 200)), 20);
    // Below the picture, on the black border, the subtitle's box: grey 163 at 0.3 over
    // black, with white letters in it.
    const QRect band(50, 700, 600, 170);
    EXPECT_GT(shareOf(screen, band, QColor(49, 49, 49)), 0.05);
    EXPECT_GT(shareOf(screen, band, Qt::white), 0.005);
}

} // namespace
