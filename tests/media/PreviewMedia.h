// The media files of the preview tests, made with ffmpeg by make-preview-media.sh once per
// build folder (ctest runs it as a fixture; a test binary started by hand makes them
// itself) at the paths the Final Cut Pro timelines name, below root(). Every picture's
// colour tells which file and which of its frames it is.
#pragma once

#include "TestMedia.h"

#include <QColor>
#include <QImage>
#include <QUrl>
#include <cmath>

namespace quillery::test {

class PreviewMedia {
public:
    static const PreviewMedia& shared() {
        static const PreviewMedia media;
        return media;
    }

    static QString root() { return QStringLiteral(QUILLERY_TEST_MEDIA_DIR "/preview"); }
    static QString path(const QString& relative) { return root() + u'/' + relative; }
    bool made() const { return made_; }

    // The timeline's text with every local media location moved below root(): Final Cut
    // Pro 7's "file://localhost/..." and Final Cut Pro X's "file:///...".
    static QString relocated(QString xml) {
        const QString folder = QString::fromUtf8(QUrl::toPercentEncoding(root(), "/"));
        xml.replace(QStringLiteral("file://localhost/"), "file://localhost" + folder + u'/');
        xml.replace(QStringLiteral("file:///"), "file://" + folder + u'/');
        return xml;
    }

private:
    PreviewMedia() {
        QProcess script;
        script.start("bash", {QUILLERY_PREVIEW_MEDIA_SCRIPT, root()});
        made_ = script.waitForFinished(180000) && script.exitCode() == 0;
    }

    bool made_ = false;
};

// What a picture of the test media shows: the file's red and the frame's number. Black
// (a red of 0) where no clip plays.
struct CodedPicture {
    int red = 0;
    int frame = 0;

    bool operator==(const CodedPicture&) const = default;
};

inline CodedPicture decodePicture(QRgb colour) {
    constexpr int kReds[] = {0, 20, 40, 80, 120, 160, 200, 240};
    int red = 0;
    for (int candidate : kReds) {
        if (std::abs(candidate - qRed(colour)) < std::abs(red - qRed(colour)))
            red = candidate;
    }
    const int low = static_cast<int>(std::lround(qGreen(colour) / 8.0)) % 32;
    const int high = static_cast<int>(std::lround(qBlue(colour) / 7.0));
    return {red, red == 0 ? 0 : high * 32 + low};
}

inline CodedPicture decodePicture(const QImage& picture) {
    return decodePicture(picture.pixel(picture.width() / 2, picture.height() / 2));
}

inline std::ostream& operator<<(std::ostream& out, const CodedPicture& picture) {
    return out << "red " << picture.red << " frame " << picture.frame;
}

// --- Timelines over the test media ----------------------------------------------------------

// A clip item of the test media ("clips/NAME"); the file is described at its first use.
inline QString fcp7Clip(const QString& file, int start, int end, int in, int out,
                        bool firstUse = true, bool still = false) {
    const QString described =
        QStringLiteral("<file id=\"%1\"><name>%1</name><pathurl>file://localhost/clips/%1"
                       "</pathurl><rate><timebase>25</timebase></rate></file>")
            .arg(file);
    return QStringLiteral("<clipitem id=\"%1-%2\"><name>%1</name><rate><timebase>25</timebase>"
                          "</rate><start>%2</start><end>%3</end><in>%4</in><out>%5</out>"
                          "<stillframe>%6</stillframe>%7</clipitem>")
        .arg(file)
        .arg(start)
        .arg(end)
        .arg(in)
        .arg(out)
        .arg(still ? "TRUE" : "FALSE",
             firstUse ? described : QStringLiteral("<file id=\"%1\"/>").arg(file));
}

inline QString fcp7Sequence(const QStringList& videoTracks, const QStringList& audioTracks,
                            const QString& rate = "<timebase>25</timebase><ntsc>FALSE</ntsc>") {
    QString video;
    for (const QString& track : videoTracks)
        video += "<track>" + track + "</track>";
    QString audio;
    for (const QString& track : audioTracks)
        audio += "<track>" + track + "</track>";
    return PreviewMedia::relocated(
        QStringLiteral("<xmeml version=\"5\"><sequence><name>S</name><rate>%1</rate><media>"
                       "<video><format><samplecharacteristics><width>160</width><height>90"
                       "</height></samplecharacteristics></format>%2</video><audio>%3</audio>"
                       "</media></sequence></xmeml>")
            .arg(rate, video, audio));
}

// A Final Cut Pro X asset of the test media ("clips/FILE").
inline QString fcpxAsset(const QString& id, const QString& file) {
    return QStringLiteral("<asset id=\"%1\" name=\"%1\" src=\"file:///clips/%2\" start=\"0s\" "
                          "duration=\"12s\" hasVideo=\"1\" hasAudio=\"1\"/>")
        .arg(id, file);
}

#define QUILLERY_REQUIRE_PREVIEW_MEDIA()                                                           \
    do {                                                                                           \
        if (!test::TestMedia::available())                                                         \
            GTEST_SKIP() << "ffmpeg is not installed";                                             \
        ASSERT_TRUE(test::PreviewMedia::shared().made());                                          \
    } while (false)

} // namespace quillery::test
