// Final Cut Pro 7 projects written for a test, and quillery-fcp7-endpoint answering from
// them on the test's private session bus.
#pragma once

#include "AppleEventDBus.h"
#include "TestFiles.h"

#include <QDBusConnectionInterface>
#include <QDir>
#include <QProcess>
#include <QTest>
#include <gtest/gtest.h>

namespace quillery::test {

struct TestSequence {
    QString name;
    QString uuid;
    QStringList subtitles; // 2 s each from 0 s on, 1 s apart, at 25 frames per second
    bool inBin = false;
};

// A sequence whose last video track holds one Text generator per subtitle.
inline QString sequenceXml(const TestSequence& sequence) {
    QString items;
    for (int i = 0; i < sequence.subtitles.size(); ++i) {
        items += QStringLiteral(
                     "<generatoritem id=\"Text%1\"><name>Text</name><duration>3600</duration>"
                     "<rate><ntsc>FALSE</ntsc><timebase>25</timebase></rate><in>0</in>"
                     "<out>50</out><start>%2</start><end>%3</end><effect><name>Text</name>"
                     "<effectid>Text</effectid><effecttype>generator</effecttype>"
                     "<parameter><parameterid>str</parameterid><name>Text</name><value>%4</value>"
                     "</parameter></effect></generatoritem>")
                     .arg(i + 1)
                     .arg(i * 75)
                     .arg(i * 75 + 50)
                     .arg(sequence.subtitles[i].toHtmlEscaped());
    }
    return QStringLiteral("<sequence id=\"%1\"><uuid>%2</uuid><name>%1</name>"
                          "<duration>%3</duration><rate><ntsc>FALSE</ntsc><timebase>25</timebase>"
                          "</rate><timecode><displayformat>NDF</displayformat></timecode>"
                          "<media><video><track/><track>%4</track></video><audio/></media>"
                          "</sequence>")
        .arg(sequence.name.toHtmlEscaped(), sequence.uuid)
        .arg(sequence.subtitles.size() * 75 + 25)
        .arg(items);
}

// A project export: sequences at the project's root, then one bin with the rest.
inline QString projectXml(const QList<TestSequence>& sequences) {
    QString root;
    QString bin;
    for (const TestSequence& sequence : sequences)
        (sequence.inBin ? bin : root) += sequenceXml(sequence);
    if (!bin.isEmpty())
        root += "<bin><name>Bin</name><children>" + bin + "</children></bin>";
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE xmeml>\n<xmeml version=\"5\">"
           "<project><name>Project</name><children>" +
           root + "</children></project></xmeml>\n";
}

inline QString writeProject(const QDir& folder, const QString& name,
                            const QList<TestSequence>& sequences) {
    return writeFile(folder.absoluteFilePath(name), projectXml(sequences).toUtf8());
}

// The endpoint as a separate process; stopped when this goes.
class EndpointProcess {
public:
    ~EndpointProcess() { stop(); }

    // True once the endpoint owns Final Cut Pro's bus name.
    bool start(const QString& folder, const QStringList& options = {}) {
        process_.start(QStringLiteral(QUILLERY_FCP7_ENDPOINT), QStringList(options) << folder);
        return process_.waitForStarted() && QTest::qWaitFor([] { return nameOwned(); });
    }

    // Returns once the bus has let go of the name too.
    void stop() {
        if (process_.state() == QProcess::NotRunning)
            return;
        process_.terminate();
        process_.waitForFinished();
        EXPECT_TRUE(QTest::qWaitFor([] { return !nameOwned(); }));
    }

private:
    static bool nameOwned() {
        return QDBusConnection::sessionBus().interface()->isServiceRegistered(
            appleEventServiceName(fcp::kSignature));
    }

    QProcess process_;
};

} // namespace quillery::test
