// Speed of the Final Cut Pro 7 round trip through quillery-fcp7-endpoint with a 2,000
// subtitle sequence: fetch the current sequence into the editor, edit one line, send the
// rewritten sequence back; and the bridge's share of it, the events and their documents
// without reading or writing the sequence. Needs a session bus: run under dbus-run-session.
#include "AppleEventDBus.h"
#include "QYFCP7Bridge.h"
#include "QYMainWindowController.h"
#include "QYMessagePresenter.h"
#include "QYSetting.h"
#include "SubtitleTextView.h"

#include <QApplication>
#include <QDBusConnectionInterface>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>

using namespace quillery;

namespace {

constexpr int kSubtitles = 2000;
const QString kSequenceName = QStringLiteral("Feature");

// Continues every question and shows nothing: the user's choices are not measured.
class AnsweringPresenter : public QYMessagePresenter {
public:
    int runAlert(const AlertRequest& request) override {
        alerts << request.text;
        return static_cast<int>(request.buttons.size()) - 1;
    }
    QString chooseFileToOpen(const FileRequest&) override { return QString(); }
    QString chooseFileToSave(const FileRequest&) override { return QString(); }
    QString chooseDirectory(const FileRequest&) override { return QString(); }
    int chooseItem(const ChoiceRequest&) override { return 0; }

    QStringList alerts;
};

QString projectWithLongSequence() {
    QString items;
    for (int i = 0; i < kSubtitles; ++i) {
        items += QStringLiteral(
                     "<generatoritem id=\"Text%1\"><name>Text</name><duration>3600</duration>"
                     "<rate><timebase>25</timebase></rate><in>0</in><out>50</out><start>%2</start>"
                     "<end>%3</end><effect><name>Text</name><effectid>Text</effectid>"
                     "<parameter><parameterid>str</parameterid><value>Subtitle number %1, with "
                     "a second row&#13;of text</value></parameter><parameter>"
                     "<parameterid>fontsize</parameterid><value>42</value></parameter></effect>"
                     "</generatoritem>")
                     .arg(i + 1)
                     .arg(i * 75)
                     .arg(i * 75 + 50);
    }
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<!DOCTYPE xmeml>\n"
                          "<xmeml version=\"5\"><project><name>Film</name><children>"
                          "<sequence id=\"s1\"><uuid>F-1</uuid><name>%1</name>"
                          "<duration>%2</duration><rate><ntsc>FALSE</ntsc><timebase>25</timebase>"
                          "</rate><timecode><displayformat>NDF</displayformat></timecode><media>"
                          "<video><track/><track>%3</track></video><audio/></media></sequence>"
                          "</children></project></xmeml>\n")
        .arg(kSequenceName)
        .arg(kSubtitles * 75)
        .arg(items);
}

bool nameOwned() {
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(
        appleEventServiceName(fcp::kSignature));
}

// The endpoint answering from a folder holding one project with the long sequence.
class RunningEndpoint {
public:
    RunningEndpoint() {
        QFile project(folder.filePath("Film.xml"));
        if (!project.open(QIODevice::WriteOnly))
            return;
        project.write(projectWithLongSequence().toUtf8());
        project.close();
        process.start(QUILLERY_FCP7_ENDPOINT, {"--current", kSequenceName, folder.path()});
        for (int waited = 0; process.waitForStarted() && !nameOwned() && waited < 100; ++waited)
            QThread::msleep(50);
    }
    ~RunningEndpoint() {
        process.terminate();
        process.waitForFinished();
    }
    bool ready() const { return QDBusConnection::sessionBus().isConnected() && nameOwned(); }
    // Imports are written into the folder; removed between rounds so names stay short.
    void removeImports() {
        QDir dir(folder.path());
        for (const QString& file : dir.entryList({"*.xml"}, QDir::Files)) {
            if (file != "Film.xml")
                dir.remove(file);
        }
    }

    QTemporaryDir folder;
    QProcess process;
};

void BM_FCP7RoundTrip2000(benchmark::State& state) {
    RunningEndpoint endpoint;
    if (!endpoint.ready()) {
        state.SkipWithError("no endpoint on a session bus: run under dbus-run-session");
        return;
    }
    QTemporaryDir settingsDir;
    QYSetting settings(settingsDir.filePath("settings.json"));
    AnsweringPresenter presenter;
    QYMainWindowController window(&presenter, &settings);
    bool fetched = true;
    for (auto _ : state) {
        window.loadFromFinalCutPro();
        window.textView()->setSelectedRange({20, 0});
        window.textView()->insertText(QStringLiteral("edited "));
        window.sendToFinalCutPro();
        state.PauseTiming();
        // One line per subtitle, and the empty line after the last.
        fetched = fetched && window.textView()->getAllSubtitles().size() == kSubtitles + 1;
        endpoint.removeImports();
        state.ResumeTiming();
    }
    const QString last = presenter.alerts.value(presenter.alerts.size() - 1);
    if (!fetched)
        state.SkipWithError("the sequence did not reach the editor");
    else if (!last.startsWith("Sequence \""))
        state.SkipWithError(qPrintable("the send failed: " + last));
}
BENCHMARK(BM_FCP7RoundTrip2000)->Unit(benchmark::kMillisecond);

// Keeps the fetched sequence and sends it back unchanged.
class EchoHost : public QYFCP7BridgeHost {
public:
    bool checkContent() override { return true; }
    bool hasFCP7Document() const override { return !sequence.isEmpty(); }
    bool loadFetchedSequenceXML(const QString& xml) override {
        sequence = xml;
        return true;
    }
    QString genNewXML(QString* newName) override {
        *newName = kSequenceName;
        return sequence;
    }
    bool hasTimeStringErrors() override { return false; }

    QString sequence;
};

void BM_FCP7BridgeOnly2000(benchmark::State& state) {
    RunningEndpoint endpoint;
    if (!endpoint.ready()) {
        state.SkipWithError("no endpoint on a session bus: run under dbus-run-session");
        return;
    }
    EchoHost host;
    AnsweringPresenter presenter;
    DBusAppleEventTransport transport;
    QYFCP7Bridge bridge(host, presenter, transport);
    for (auto _ : state) {
        bridge.loadFromFinalCutPro();
        bridge.sendToFinalCutPro();
        state.PauseTiming();
        endpoint.removeImports();
        state.ResumeTiming();
    }
    if (!presenter.alerts.value(presenter.alerts.size() - 1).startsWith("Sequence \""))
        state.SkipWithError("the send failed");
}
BENCHMARK(BM_FCP7BridgeOnly2000)->Unit(benchmark::kMillisecond);

} // namespace
