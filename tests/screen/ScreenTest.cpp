// Starts the real editor on a virtual X screen with a project whose movie is made by ffmpeg
// and checks the picture: the subtitle over the movie and its blocks over the waveform.
#include "TestFiles.h"

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using quillery::test::writeFile;

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

class Screen : public testing::Test {
protected:
    void SetUp() override {
        for (const char* tool : {"xvfb-run", "ffmpeg"}) {
            if (QStandardPaths::findExecutable(tool).isEmpty())
                GTEST_SKIP() << tool << " is not installed";
        }
    }

    // Runs the editor with these arguments on a 1600 x 1000 screen and returns the picture.
    QImage grabEditor(const QStringList& arguments) {
        // A configured user: no first-launch question in front of the window.
        QDir(home.path()).mkpath("config/Quillery");
        writeFile(home.filePath("config/Quillery/Quillery.json"),
                  R"({"firstLaunch": "NO", "isFinalCutPro7ToolBar": true})");
        const QString picture = home.filePath("screen.png");
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const QString folder : {"config", "cache", "data"})
            environment.insert("XDG_" + folder.toUpper() + "_HOME", home.filePath(folder));
        environment.insert("XDG_RUNTIME_DIR", home.path());
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.insert("SDL_AUDIODRIVER", "dummy");
        QProcess run;
        run.setProcessEnvironment(environment);
        run.start("xvfb-run",
                  QStringList{"-a", "-s", "-screen 0 1600x1000x24", QUILLERY_SCREEN_SCRIPT,
                              QUILLERY_EDITOR_PATH, QUILLERY_GRABBER_PATH, picture} +
                      arguments);
        if (!run.waitForFinished(120000) || run.exitCode() != 0)
            ADD_FAILURE() << run.readAllStandardError().toStdString();
        const QImage screen(picture);
        return screen;
    }

    QTemporaryDir home;
};

TEST_F(Screen, AProjectShowsItsMovieWithTheSubtitleOverItAndTheBlocksOverTheWaveform) {
    const QString movie = home.filePath("movie.mp4");
    ASSERT_EQ(
        QProcess::execute("ffmpeg", {"-loglevel", "error", "-f", "lavfi", "-i",
                                     "testsrc2=size=640x360:rate=25:duration=12", "-f", "lavfi",
                                     "-i", "sine=d=12", "-c:v", "libx264", "-preset", "ultrafast",
                                     "-pix_fmt", "yuv420p", "-c:a", "aac", movie}),
        0);
    const QString project =
        writeFile(home.filePath("Screen.qyb"),
                  QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>movie</key><string>%1</string><key>text</key><string>)"
                                 "[00:00:00.00]SUBTITLE OVER THE PICTURE[00:00:02.00]\nuntimed\n"
                                 "[00:00:02.10]TWO[00:00:04.10]</string></dict></plist>")
                      .arg(movie)
                      .toUtf8());
    const QImage screen = grabEditor({project});
    // Below the picture, on the black border, the subtitle's box: grey 163 at 0.3 over
    // black, with white letters in it.
    const QRect band(50, 700, 600, 170);
    EXPECT_GT(shareOf(screen, band, QColor(49, 49, 49)), 0.05);
    EXPECT_GT(shareOf(screen, band, Qt::white), 0.005);
    // Under the editor, right of the player: the waveform pane, where the two blocks of
    // 300 pixels (2 s at 150 a second) fill most of the view in translucent red over its
    // grey, (236, 237, 239) seen through red at 0.3.
    EXPECT_GT(shareOf(screen, QRect(705, 640, 690, 210), QColor(242, 173, 175)), 0.4);
}

} // namespace
