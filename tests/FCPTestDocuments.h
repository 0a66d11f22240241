// Small Final Cut Pro documents for tests, written out in full so each test shows the
// structure it reads or writes, and the files of tests/data.
#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

namespace quillery::test {

inline QString testDataFile(const QString& relativePath) {
    QFile file(QStringLiteral(QUILLERY_TEST_DATA_DIR "/") + relativePath);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// A project of version 1.4 or later: format r1 with the frame duration, title effect r2, and
// a sequence whose main storyline holds `spine`.
inline QString fcpxProject(const QString& spine, const QString& frameDuration = "100/2500s",
                           const QString& sequenceAttributes = "duration=\"3600s\" tcStart=\"0s\"",
                           const QString& version = "1.8") {
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE fcpxml>\n"
                          "<fcpxml version=\"%1\"><resources>"
                          "<format id=\"r1\" name=\"FFVideoFormat1080p\" frameDuration=\"%2\" "
                          "width=\"1920\" height=\"1080\"/>"
                          "<effect id=\"r2\" name=\"Basic Title\" uid=\".../Basic Title.moti\"/>"
                          "</resources><library><event name=\"E\"><project name=\"P\">"
                          "<sequence format=\"r1\" %3><spine>%4</spine></sequence>"
                          "</project></event></library></fcpxml>")
        .arg(version, frameDuration, sequenceAttributes, spine);
}

// A title with one text and one style definition; an empty offset leaves the attribute out.
inline QString fcpxTitle(const QString& offset, const QString& duration, const QString& text,
                         const QString& styleId = "ts1") {
    const QString offsetAttribute =
        offset.isEmpty() ? QString() : QStringLiteral(" offset=\"%1\"").arg(offset);
    return QStringLiteral("<title ref=\"r2\"%1 name=\"Basic Title\" start=\"3600s\" "
                          "duration=\"%2\"><text><text-style ref=\"%4\">%3</text-style></text>"
                          "<text-style-def id=\"%4\"><text-style font=\"Helvetica\"/>"
                          "</text-style-def></title>")
        .arg(offsetAttribute, duration, text, styleId);
}

// count titles of one second every two seconds in a connected storyline of a clip:
// the storyline starts at `storylineOffset` in the clip's own time.
inline QString fcpxStorylineClip(int count, const QString& clipAttributes,
                                 const QString& storylineOffset) {
    QString titles;
    for (int i = 0; i < count; ++i)
        titles += fcpxTitle(i == 0 ? QString() : QStringLiteral("%1s").arg(2 * i), "1s",
                            QStringLiteral("T%1").arg(i), QStringLiteral("ts%1").arg(i));
    return QStringLiteral("<clip %1><video ref=\"r2\" offset=\"0s\" start=\"0s\" "
                          "duration=\"600s\"/><spine lane=\"1\" offset=\"%2\">%3</spine></clip>")
        .arg(clipAttributes, storylineOffset, titles);
}

// A Final Cut Pro 7 sequence of 9000 frames at the timebase, displayed "NDF" or "DF", with a
// video track for each of `tracks` (the last holds the subtitles) and the audio tracks given.
inline QString xmemlSequence(const QString& name, const QString& displayFormat, int timebase,
                             const QStringList& tracks, const QString& audioTracks = QString()) {
    QString video;
    for (const QString& track : tracks)
        video += "<track>" + track + "</track>";
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE xmeml>\n<xmeml version=\"5\">"
               "<sequence id=\"s\"><name>%1</name><duration>9000</duration><rate><ntsc>FALSE"
               "</ntsc><timebase>%2</timebase></rate><timecode><displayformat>%3</displayformat>"
               "</timecode><media><video><format><samplecharacteristics><width>1280</width>"
               "<height>720</height></samplecharacteristics></format>%4</video><audio>%5</audio>"
               "</media></sequence></xmeml>")
        .arg(name)
        .arg(timebase)
        .arg(displayFormat, video, audioTracks);
}

} // namespace quillery::test
