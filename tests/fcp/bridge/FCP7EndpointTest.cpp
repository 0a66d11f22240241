#include "FCP7EndpointFixture.h"

#include <QDBusMessage>
#include <QTemporaryDir>

using namespace quillery;
using namespace quillery::test;

namespace {

const TestSequence kEpisode{"Episode 1", "UUID-E1", {"Hello", "Bye"}};
const TestSequence kTrailer{"Trailer", "UUID-T", {"Soon"}};
const TestSequence kInBin{"Alternate", "UUID-ALT", {"Other"}, true};

class FCP7EndpointTest : public testing::Test {
protected:
    void SetUp() override {
        folder.setPath(dir.path());
        first = writeProject(folder, "A Project.xml", {kEpisode, kInBin});
        second = writeProject(folder, "B Project.xml", {kTrailer});
        QFile notes(folder.filePath("notes.txt"));
        ASSERT_TRUE(notes.open(QIODevice::WriteOnly));
    }

    apple_event send(AEEventID id, const std::function<void(apple_event&)>& steps = {}) {
        apple_event event(transport);
        event.create(id, fcp::kSignature, fcp::kSignature);
        if (steps)
            steps(event);
        lastError = event.send();
        return event;
    }

    QTemporaryDir dir;
    QDir folder;
    QString first;
    QString second;
    EndpointProcess endpoint;
    DBusAppleEventTransport transport;
    int32_t lastError = noErr;
};

// Finding a sequence that is there, by name or in a bin, is the bridge's everyday use
// (tests/app/bridge).
TEST_F(FCP7EndpointTest, ListsOnlyXmlFilesAndRefusesAMissingSequence) {
    ASSERT_TRUE(endpoint.start(dir.path(), {"--current", "UUID-ALT"}));
    EXPECT_EQ(send(fcp::kListProjects).createDocFromList(), QStringList({first, second}));
    EXPECT_TRUE(send(fcp::kExportCurrentSequenceXML).createDocFromXML()->contains("UUID-ALT"))
        << "the current sequence by its uuid too";
    const struct {
        const char* name;
        QString project;
        const char* uuid;
        int32_t error;
    } rows[] = {
        {"without a uuid", QString(), "", errAEDescNotFound},
    };
    for (const auto& row : rows) {
        send(fcp::kGetSequenceXML, [&](apple_event& e) {
            e.sendAFile(row.project, std::nullopt, fcp::kProjectFile, 0);
            e.uuid(row.uuid);
        });
        EXPECT_EQ(lastError, row.error) << row.name;
    }
    send(fourCharCode("quit"));
    EXPECT_EQ(lastError, errAEEventNotHandled);
}

TEST_F(FCP7EndpointTest, WritesImportedSequencesIntoTheFolder) {
    ASSERT_TRUE(endpoint.start(dir.path()));
    const QString document = projectXml({{"Cut / Final", "U", {"x"}}});
    for (int i = 0; i < 2; ++i) {
        send(fcp::kImportXML, [&](apple_event& e) { e.addDoc(document); });
        EXPECT_EQ(lastError, noErr);
    }
    send(fcp::kImportXML, [](apple_event& e) { e.addDoc("<notxmeml/>"); });
    EXPECT_EQ(lastError, paramErr);

    EXPECT_EQ(
        folder.entryList({"*.xml"}, QDir::Files, QDir::Name),
        QStringList({"A Project.xml", "B Project.xml", "Cut _ Final 2.xml", "Cut _ Final.xml"}));
    QFile imported(folder.filePath("Cut _ Final.xml"));
    ASSERT_TRUE(imported.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(imported.readAll()), document);
}

TEST_F(FCP7EndpointTest, RefusesToStartTwiceOrWithBadOptions) {
    ASSERT_TRUE(endpoint.start(dir.path()));
    const struct {
        const char* name;
        QStringList arguments;
        int exitCode;
    } rows[] = {
        {"the name is taken", {dir.path()}, 2},
        {"no folder", {}, 1},
        {"a failure without a number", {"--fail", "fcLP", dir.path()}, 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QProcess other;
        other.start(QUILLERY_FCP7_ENDPOINT, row.arguments);
        ASSERT_TRUE(other.waitForFinished());
        EXPECT_EQ(other.exitCode(), row.exitCode);
        EXPECT_FALSE(other.readAllStandardError().isEmpty());
    }
}

TEST_F(FCP7EndpointTest, DeliveryFailuresBecomeAppleEventErrors) {
    send(fcp::kListProjects);
    EXPECT_EQ(lastError, procNotFound) << "no endpoint runs";
    AppleEvent event;
    AEDesc reply;
    const QDBusConnection noBus(QStringLiteral("never connected"));
    EXPECT_EQ(DBusAppleEventTransport(noBus).sendAndWait(event, reply), connectionInvalid);
    // A signature that is no bus name element is written in hex.
    EXPECT_EQ(appleEventServiceName(fourCharCode("ab.?")), "org.quillery.AppleEvents.x61622e3f");
}

TEST_F(FCP7EndpointTest, AMalformedCallIsRefused) {
    ASSERT_TRUE(endpoint.start(dir.path()));
    const QVariantList rows[] = {
        {"Key", "fcLP", QVariant::fromValue(QVariantMap())}, // a code of three characters
        {"KeyG", "fcLP", QVariantMap{{"fcIU", 1}}},          // a value that is no descriptor
        {"KeyG", "fcLP"},                                    // no parameters
    };
    for (const QVariantList& arguments : rows) {
        QDBusMessage call =
            QDBusMessage::createMethodCall(appleEventServiceName(fcp::kSignature),
                                           kAppleEventObjectPath, kAppleEventInterface, "Send");
        call.setArguments(arguments);
        EXPECT_EQ(QDBusConnection::sessionBus().call(call).type(), QDBusMessage::ErrorMessage);
    }
}

} // namespace
