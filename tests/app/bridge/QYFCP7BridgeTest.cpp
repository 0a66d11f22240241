#include "QYFCP7Bridge.h"

#include "FCP7EndpointFixture.h"
#include "ScriptedPresenter.h"

#include <QTemporaryDir>

using namespace quillery;
using namespace quillery::test;

namespace {

// Enough of each message to tell it from the others.
const QString kFetchFailure =
    "Cannot load Final Cut Pro\"Sample Text\"and its font settings. Please";
const QString kNoSequence =
    "Cannot load Final Cut Pro\"Sample Text\"and its font settings. Reasons";
const QString kNothingRead = "Please Load FCP Sample Text or Import XML File first.";
const QString kTimeCodeErrors = "Cannot send to Final Cut Pro cause of the timecodes confusion.";
const QString kSendFailure = "Send to Final Cut Pro failed.";
const QString kNewName = "Episode 1 from Quillery at 2024-05-01 10-00-00";
const QString kSent = "Sequence \"" + kNewName + "\" has been sent successfully.";

// The alerts' texts, each cut to the length of the one expected in its place.
QStringList cutTo(QStringList texts, const QStringList& expected) {
    for (qsizetype i = 0; i < std::min(texts.size(), expected.size()); ++i)
        texts[i].truncate(expected[i].size());
    return texts;
}

const TestSequence kEpisode{"Episode 1", "UUID-E1", {"Hello"}};
const TestSequence kTrailer{"Trailer", "UUID-T", {"Soon"}};
const TestSequence kInBin{"Alternate", "UUID-ALT", {"Other"}, true};

// The main window's side, recorded.
class RecordingHost : public QYFCP7BridgeHost {
public:
    bool checkContent() override {
        ++contentChecks;
        return mayReplace;
    }
    bool hasFCP7Document() const override { return documentRead; }
    bool loadFetchedSequenceXML(const QString& xml) override {
        loaded << xml;
        documentRead = documentRead || acceptsSequences;
        return acceptsSequences;
    }
    QString genNewXML(QString* newName) override {
        *newName = kNewName;
        return "<?xml version=\"1.0\"?>\n<xmeml version=\"5\">" +
               sequenceXml({kNewName, "UUID-NEW", {"Hello again"}}) + "</xmeml>";
    }
    bool hasTimeStringErrors() override { return timeStringErrors; }

    // The uuid of each sequence handed over for reading.
    QStringList loadedUuids() const {
        QStringList uuids;
        for (const QString& xml : loaded)
            uuids << xml.section("<uuid>", 1, 1).section("</uuid>", 0, 0);
        return uuids;
    }

    bool mayReplace = true;
    bool acceptsSequences = true;
    bool documentRead = false;
    bool timeStringErrors = false;
    int contentChecks = 0;
    QStringList loaded;
};

class QYFCP7BridgeTest : public testing::Test {
protected:
    void SetUp() override { folder.setPath(dir.path()); }

    QString project(const QString& name, const QList<TestSequence>& sequences) {
        return writeProject(folder, name, sequences);
    }
    // Starts Final Cut Pro with these options, or leaves it off for nullopt.
    void startWith(const std::optional<QStringList>& options) {
        if (options) {
            ASSERT_TRUE(endpoint.start(dir.path(), *options));
        }
    }
    // Whether "Send to FCP" reached the endpoint, which writes what it receives; the next
    // row starts afresh.
    bool takeSentSequence() {
        endpoint.stop();
        return folder.remove(kNewName + ".xml");
    }

    QTemporaryDir dir;
    QDir folder;
    EndpointProcess endpoint;
    RecordingHost host;
    ScriptedPresenter presenter;
    DBusAppleEventTransport transport;
    QYFCP7Bridge bridge{host, presenter, transport};
};

const std::optional<QStringList> kNotRunning;
const QStringList kRunning;

TEST_F(QYFCP7BridgeTest, NothingIsAskedOfFinalCutProWhenTheTextMustStay) {
    host.mayReplace = false;
    bridge.loadFromFinalCutPro();
    EXPECT_TRUE(presenter.alerts.isEmpty()) << "no event was sent, so nothing failed";
}

struct Fetch {
    const char* name;
    QList<QList<TestSequence>> projects; // the sequences of each open project
    std::optional<QStringList> options;  // how Final Cut Pro answers
    QStringList uuids;                   // the sequences handed over for reading
    QStringList alerts;
    int project; // the project file read, when not the current sequence
    QList<int> choices;
    QStringList chooser; // its title, then its items
};

Fetch fetch(const char* name, const QList<QList<TestSequence>>& projects,
            const std::optional<QStringList>& options, const QStringList& uuids,
            const QStringList& alerts = {}, int project = -1, const QList<int>& choices = {},
            const QStringList& chooser = {}) {
    return {name, projects, options, uuids, alerts, project, choices, chooser};
}

TEST_F(QYFCP7BridgeTest, FetchingFindsTheSequenceOrSaysWhyNot) {
    const QStringList projects{"Please choose the Final Cut Pro project", "Project 0.xml",
                               "Project 1.xml"};
    const QStringList sequences{"Please choose the sequence", "Episode 1", "Trailer", "Alternate"};
    const QList<TestSequence> binFirst{kInBin, kEpisode, kTrailer};
    const QStringList current{"--current", "Trailer"};
    const Fetch rows[] = {
        fetch("the current sequence", {{kEpisode, kTrailer}}, current, {"UUID-T"}),
        fetch("the one sequence of the one project", {{kEpisode}}, kRunning, {"UUID-E1"}, {}, 0),
        fetch("a project followed by stray bytes", {{kEpisode}},
              QStringList{"--trailing", "\n\t<</"}, {"UUID-E1"}, {}, 0),
        fetch("a chosen project", {{kEpisode}, {kTrailer}}, kRunning, {"UUID-T"}, {}, 1, {1},
              projects),
        fetch("the project chooser cancelled", {{kEpisode}, {kTrailer}}, kRunning, {}, {}, -1, {-1},
              projects),
        fetch("a chosen sequence", {binFirst}, kRunning, {"UUID-T"}, {}, 0, {1}, sequences),
        fetch("the sequence chooser cancelled", {binFirst}, kRunning, {}, {}, 0, {-1}, sequences),
        fetch("Final Cut Pro not running", {{kEpisode}}, kNotRunning, {}, {kFetchFailure}),
        fetch("the current sequence refused", {{kEpisode}},
              QStringList{"--current", "Episode 1", "--fail", "eTCX=-1708"}, {}, {kFetchFailure}),
        fetch("the sequence refused", {{kEpisode}}, QStringList{"--fail", "gXML=-1728"}, {},
              {kFetchFailure}, 0),
        fetch("the project list refused", {{kEpisode}}, QStringList{"--fail", "fcLP=-1708"}, {}),
        fetch("no project open", {}, kRunning, {}),
        fetch("a project without sequences", {{}}, kRunning, {}, {kNoSequence}, 0),
    };
    for (const Fetch& row : rows) {
        SCOPED_TRACE(row.name);
        for (const QString& file : folder.entryList(QDir::Files))
            folder.remove(file);
        QStringList files;
        for (qsizetype i = 0; i < row.projects.size(); ++i)
            files << project(QStringLiteral("Project %1.xml").arg(i), row.projects[i]);
        presenter.alerts.clear();
        presenter.choiceRequests.clear();
        presenter.choiceAnswers = row.choices;
        host.loaded.clear();
        host.contentChecks = 0;
        startWith(row.options);

        bridge.loadFromFinalCutPro();
        EXPECT_EQ(host.loadedUuids(), row.uuids);
        EXPECT_EQ(cutTo(presenter.alertTexts(), row.alerts), row.alerts);
        QStringList chooser;
        for (const ChoiceRequest& request : presenter.choiceRequests)
            chooser << request.title << request.items;
        EXPECT_EQ(chooser, row.chooser);
        EXPECT_EQ(bridge.fcpFilePath(),
                  row.project < 0 ? std::nullopt : std::optional(files.value(row.project)));
        EXPECT_EQ(host.contentChecks, 1);
        endpoint.stop();
    }
}

TEST_F(QYFCP7BridgeTest, SendingChecksFirstThenReports) {
    const QStringList running{"--current", "x"};
    const struct {
        const char* name;
        bool documentRead;
        bool timeStringErrors;
        std::optional<QStringList> options;
        QString alert;
    } rows[] = {
        {"nothing read yet", false, false, running, kNothingRead},
        {"time strings in error", true, true, running, kTimeCodeErrors},
        {"sent", true, false, running, kSent},
        {"refused by Final Cut Pro", true, false, QStringList{"--fail", "iXML=-108"}, kSendFailure},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        presenter.alerts.clear();
        host.documentRead = row.documentRead;
        host.timeStringErrors = row.timeStringErrors;
        startWith(row.options);
        bridge.sendToFinalCutPro();
        EXPECT_EQ(cutTo(presenter.alertTexts(), {row.alert}), QStringList{row.alert});
        EXPECT_EQ(takeSentSequence(), row.alert == kSent);
    }
}

TEST_F(QYFCP7BridgeTest, ChangeFontSettingsFetchesAndSendsBackAtOnce) {
    const QStringList current{"--current", "Episode 1"};
    const struct {
        const char* name;
        QList<TestSequence> sequences;
        std::optional<QStringList> options;
        int answer; // 0 Cancel, 1 Continue
        QList<int> choices;
        bool templateFound;
        QStringList alerts; // after the question
    } rows[] = {
        {"cancelled", {kEpisode}, current, 0, {}, true, {}},
        {"one sequence", {kEpisode}, current, 1, {}, true, {kSent}},
        {"no sample text in the sequence", {kEpisode}, kRunning, 1, {}, false, {}},
        // The sequence fetch is the one failure that lets the batch go on to the send.
        {"the sequence refused",
         {kEpisode},
         QStringList{"--fail", "gXML=-1728"},
         1,
         {},
         true,
         QStringList{kFetchFailure, kSent}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        project("Project.xml", row.sequences);
        presenter.alerts.clear();
        presenter.alertAnswers = {row.answer};
        presenter.choiceAnswers = row.choices;
        host.contentChecks = 0;
        host.documentRead = true;
        host.acceptsSequences = row.templateFound;
        startWith(row.options);

        bridge.batchChangeFont();
        ASSERT_FALSE(presenter.alerts.isEmpty()) << "the question comes first";
        EXPECT_EQ(cutTo(presenter.alertTexts().mid(1), row.alerts), row.alerts);
        EXPECT_EQ(host.contentChecks, 0) << "a batch replaces the text without asking";
        EXPECT_EQ(takeSentSequence(), row.alerts.contains(kSent));
        EXPECT_FALSE(bridge.batching());
    }
}

} // namespace
