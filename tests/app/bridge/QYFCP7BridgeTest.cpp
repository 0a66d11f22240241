#include "QYFCP7Bridge.h"

#include "FCP7EndpointFixture.h"
#include "ScriptedPresenter.h"

#include <QTemporaryDir>
#include <pugixml.hpp>

using namespace quillery;
using namespace quillery::test;

namespace {

const QString kFetchFailure =
    "Cannot load Final Cut Pro\"Sample Text\"and its font settings. Please confirm the Final Cut "
    "Pro is launched.If you are using Final Cut Pro X, please export a XML file from Final Cut "
    "Pro X first, then, from Quillery menu, choose \"File\"-\"import FinalCutProX XML\" to get "
    "the sample text";
const QString kNoSequence = QString::fromUtf8(
    "Cannot load Final Cut Pro\"Sample Text\"and its font settings. Reasons and solutions: \n1. "
    "Upgrade the Final Cut Pro to version 6.0.6 or up, or try to export XML from the current "
    "Final Cut Pro sequence. Then import XML from Quillery. ；\n2、The sequence you want to load "
    "to Quillery have to be place in the root of Final Cut Pro browser. You cannot place the "
    "sequence under a media Bin.");
const QString kNothingRead = "Please Load FCP Sample Text or Import XML File first.";
const QString kTimeCodeErrors =
    "Cannot send to Final Cut Pro cause of the timecodes confusion. Please check and correct the "
    "timecodes before and after the timecodes remarked with red or yellow underline. Then retry. "
    "Red means error Timecode and Yellow means same Timecode.";
const QString kSendFailure =
    "Send to Final Cut Pro failed. Please confirm the Final Cut Pro is lauched.If you are using "
    "Final Cut Pro X, please choose \"Export FinalCutProX XML\" from Quillery menu, then import "
    "the XML file in Final Cut Pro X";
const QString kBatchQuestion =
    "This is a combination of \"Load FCP Sample Text\" and \"Send to FCP\". It'll clear the "
    "current editor and FCP font settings. Do you want to continue?";
const QString kNewName = "Episode 1 from Quillery at 2024-05-01 10-00-00";
const QString kSent = "Sequence \"" + kNewName +
                      "\" has been sent successfully. Please find it in the Final Cut Pro browser "
                      "and double click to open it.";

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
        for (const QString& xml : loaded) {
            pugi::xml_document document;
            const QByteArray bytes = xml.toUtf8();
            document.load_buffer(bytes.constData(), bytes.size());
            uuids << QString::fromUtf8(
                document.document_element().first_element_by_path("sequence/uuid").child_value());
        }
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

TEST_F(QYFCP7BridgeTest, NothingIsAskedOfFinalCutProWhenTheTextMustStay) {
    host.mayReplace = false;
    bridge.loadFromFinalCutPro();
    EXPECT_TRUE(presenter.alerts.isEmpty()) << "no event was sent, so nothing failed";
    EXPECT_TRUE(host.loaded.isEmpty());
}

TEST_F(QYFCP7BridgeTest, FetchesASingleSequenceWithoutAChooser) {
    struct Row {
        const char* name;
        QList<TestSequence> sequences;
        QStringList options;
        QString uuid;
        bool fromProject; // through the project list, not the current sequence
    };
    const Row rows[] = {
        {"the current sequence", {kEpisode, kTrailer}, {"--current", "Trailer"}, "UUID-T", false},
        {"the one sequence of the one project", {kEpisode}, {}, "UUID-E1", true},
        {"a project followed by stray bytes",
         {kEpisode},
         {"--trailing", "\n\t<</"},
         "UUID-E1",
         true},
        {"the one sequence, kept in a bin", {kInBin}, {}, "UUID-ALT", true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        host.loaded.clear();
        const QString path = project("Project.xml", row.sequences);
        ASSERT_TRUE(endpoint.start(dir.path(), row.options));
        bridge.loadFromFinalCutPro();
        EXPECT_EQ(host.loadedUuids(), QStringList{row.uuid});
        EXPECT_TRUE(presenter.alerts.isEmpty()) << presenter.alertTexts().join("\n").toStdString();
        EXPECT_TRUE(presenter.choiceRequests.isEmpty());
        EXPECT_EQ(bridge.fcpFilePath(), row.fromProject ? std::optional(path) : std::nullopt);
        EXPECT_EQ(bridge.fcpVersion(), row.fromProject ? "3.0" : "");
        endpoint.stop();
    }
}

TEST_F(QYFCP7BridgeTest, SeveralProjectsAreOfferedByFileName) {
    project("A Project.xml", {kEpisode});
    const QString second = project("B Project.xml", {kTrailer});
    ASSERT_TRUE(endpoint.start(dir.path()));

    presenter.choiceAnswers = {1};
    bridge.loadFromFinalCutPro();
    ASSERT_EQ(presenter.choiceRequests.size(), 1);
    EXPECT_EQ(presenter.choiceRequests[0].title, "Please choose the Final Cut Pro project");
    EXPECT_EQ(presenter.choiceRequests[0].items, QStringList({"A Project.xml", "B Project.xml"}));
    EXPECT_EQ(host.loadedUuids(), QStringList{"UUID-T"});
    EXPECT_EQ(bridge.fcpFilePath(), second);

    bridge.loadFromFinalCutPro(); // no answer left: the chooser is cancelled
    EXPECT_EQ(host.loaded.size(), 1);
    EXPECT_TRUE(presenter.alerts.isEmpty());
}

TEST_F(QYFCP7BridgeTest, SeveralSequencesAreOfferedByNameRootFirst) {
    project("Project.xml", {kInBin, kEpisode, kTrailer});
    ASSERT_TRUE(endpoint.start(dir.path()));
    for (const auto& [choice, uuids] :
         {std::pair{1, QStringList{"UUID-T"}}, {2, {"UUID-ALT"}}, {-1, {}}}) {
        SCOPED_TRACE(choice);
        host.loaded.clear();
        presenter.choiceRequests.clear();
        presenter.choiceAnswers = {choice};
        bridge.loadFromFinalCutPro();
        ASSERT_EQ(presenter.choiceRequests.size(), 1);
        EXPECT_EQ(presenter.choiceRequests[0].title, "Please choose the sequence");
        EXPECT_EQ(presenter.choiceRequests[0].items,
                  QStringList({"Episode 1", "Trailer", "Alternate"}));
        EXPECT_EQ(host.loadedUuids(), uuids);
    }
    EXPECT_TRUE(presenter.alerts.isEmpty());
}

TEST_F(QYFCP7BridgeTest, RefusalsAndEmptyAnswers) {
    struct Row {
        const char* name;
        QList<QList<TestSequence>> projects;
        std::optional<QStringList> options;
        QStringList alerts;
    };
    const Row rows[] = {
        {"Final Cut Pro not running", {{kEpisode}}, kNotRunning, {kFetchFailure}},
        {"the current sequence is refused",
         {{kEpisode}},
         QStringList{"--current", "Episode 1", "--fail", "eTCX=-1708"},
         {kFetchFailure}},
        {"the project export is refused",
         {{kEpisode}},
         QStringList{"--fail", "eXML=-43"},
         {kFetchFailure}},
        {"the sequence is refused",
         {{kEpisode}},
         QStringList{"--fail", "gXML=-1728"},
         {kFetchFailure}},
        {"the project list is refused", {{kEpisode}}, QStringList{"--fail", "fcLP=-1708"}, {}},
        {"no project is open", {}, QStringList{}, {}},
        {"a project without sequences", {{}}, QStringList{}, {kNoSequence}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        for (const QString& file : folder.entryList(QDir::Files))
            folder.remove(file);
        for (qsizetype i = 0; i < row.projects.size(); ++i)
            project(QStringLiteral("Project %1.xml").arg(i), row.projects[i]);
        presenter.alerts.clear();
        host.contentChecks = 0;
        startWith(row.options);
        bridge.loadFromFinalCutPro();
        EXPECT_EQ(presenter.alertTexts(), row.alerts);
        if (!row.alerts.isEmpty()) {
            EXPECT_EQ(presenter.alerts.front().title, "Warning");
            EXPECT_EQ(presenter.alerts.front().buttons, QStringList{"Confrim"});
        }
        EXPECT_TRUE(host.loaded.isEmpty());
        EXPECT_TRUE(presenter.choiceRequests.isEmpty());
        EXPECT_EQ(host.contentChecks, 1);
        endpoint.stop();
    }
}

TEST_F(QYFCP7BridgeTest, SendingChecksFirstThenReports) {
    const QStringList running{"--current", "x"};
    struct Row {
        const char* name;
        bool documentRead;
        bool timeStringErrors;
        std::optional<QStringList> options;
        QString alert;
        bool sent;
    };
    const Row rows[] = {
        {"nothing read yet", false, false, running, kNothingRead, false},
        {"time strings in error", true, true, running, kTimeCodeErrors, false},
        {"sent", true, false, running, kSent, true},
        {"refused by Final Cut Pro", true, false, QStringList{"--fail", "iXML=-108"}, kSendFailure,
         false},
        {"Final Cut Pro not running", true, false, kNotRunning, kSendFailure, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        presenter.alerts.clear();
        host.documentRead = row.documentRead;
        host.timeStringErrors = row.timeStringErrors;
        startWith(row.options);
        bridge.sendToFinalCutPro();
        EXPECT_EQ(presenter.alertTexts(), QStringList{row.alert});
        EXPECT_EQ(takeSentSequence(), row.sent);
    }
}

TEST_F(QYFCP7BridgeTest, ChangeFontSettingsFetchesAndSendsBackAtOnce) {
    const QStringList current{"--current", "Episode 1"};
    const QList<TestSequence> two{kEpisode, kTrailer};
    struct Row {
        const char* name;
        QList<TestSequence> sequences;
        std::optional<QStringList> options;
        int answer; // 0 Cancel, 1 Continue
        QList<int> choices;
        bool templateFound;
        QStringList alerts; // after the question
        bool sent;
    };
    const Row rows[] = {
        {"cancelled", {kEpisode}, current, 0, {}, true, {}, false},
        {"one sequence", {kEpisode}, current, 1, {}, true, {kSent}, true},
        {"a chosen sequence", two, QStringList{}, 1, {0}, true, {kSent}, true},
        {"the sequence chooser cancelled", two, QStringList{}, 1, {-1}, true, {}, false},
        {"no sample text in the sequence", {kEpisode}, QStringList{}, 1, {}, false, {}, false},
        {"Final Cut Pro not running", {kEpisode}, kNotRunning, 1, {}, true, {kFetchFailure}, false},
        // The sequence fetch is the one failure that lets the batch go on to the send.
        {"the sequence refused",
         {kEpisode},
         QStringList{"--fail", "gXML=-1728"},
         1,
         {},
         true,
         {kFetchFailure, kSent},
         true},
    };
    for (const Row& row : rows) {
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
        ASSERT_FALSE(presenter.alerts.isEmpty());
        EXPECT_EQ(presenter.alerts[0].text, kBatchQuestion);
        EXPECT_EQ(presenter.alerts[0].buttons, QStringList({"Cancel", "Continue"}));
        EXPECT_EQ(presenter.alertTexts().mid(1), row.alerts);
        EXPECT_EQ(host.contentChecks, 0) << "a batch replaces the text without asking";
        EXPECT_EQ(takeSentSequence(), row.sent);
        EXPECT_FALSE(bridge.batching());
    }
}

} // namespace
