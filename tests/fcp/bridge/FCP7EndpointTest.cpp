#include "FCP7EndpointFixture.h"

#include <QDBusMessage>
#include <QTemporaryDir>
#include <pugixml.hpp>

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

    // The value at an XPath of the reply's document, "" when it has none.
    static std::string valueIn(const apple_event& event, const char* path) {
        const QByteArray xml = event.createDocFromXML().value_or(QString()).toUtf8();
        pugi::xml_document document;
        document.load_buffer(xml.constData(), xml.size());
        return document.document_element().select_node(path).node().child_value();
    }

    QTemporaryDir dir;
    QDir folder;
    QString first;
    QString second;
    EndpointProcess endpoint;
    DBusAppleEventTransport transport;
    int32_t lastError = noErr;
};

TEST_F(FCP7EndpointTest, ListsTheXmlFilesAndFindsTheCurrentSequenceInABin) {
    ASSERT_TRUE(endpoint.start(dir.path(), {"--current", "UUID-ALT"}));
    EXPECT_EQ(send(fcp::kListProjects).createDocFromList(), QStringList({first, second}));
    const apple_event current = send(fcp::kExportCurrentSequenceXML);
    EXPECT_EQ(valueIn(current, "project/children/sequence/name"), "Alternate");
    EXPECT_EQ(valueIn(current, "project/children/sequence[2]/name"), "");
    send(fourCharCode("quit"));
    EXPECT_EQ(lastError, errAEEventNotHandled);
}

TEST_F(FCP7EndpointTest, ReturnsOneSequenceByItsUuid) {
    ASSERT_TRUE(endpoint.start(dir.path()));
    struct Row {
        const char* name;
        QString project;
        const char* uuid;
        int32_t error;
        std::string sequenceName;
        std::string subtitle;
    };
    const Row rows[] = {
        {"in the named project", first, "UUID-ALT", noErr, "Alternate", "Other"},
        {"in any project", QString(), "UUID-T", noErr, "Trailer", "Soon"},
        {"not in the named project", first, "UUID-T", errAENoSuchObject, "", ""},
        {"unknown", QString(), "UUID-NONE", errAENoSuchObject, "", ""},
        {"without a uuid", QString(), "", errAEDescNotFound, "", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const apple_event sequence = send(fcp::kGetSequenceXML, [&](apple_event& e) {
            e.sendAFile(row.project, std::nullopt, fcp::kProjectFile, 0);
            e.version("5.0");
            e.uuid(row.uuid);
        });
        EXPECT_EQ(lastError, row.error);
        EXPECT_EQ(valueIn(sequence, "sequence/name"), row.sequenceName);
        EXPECT_EQ(valueIn(sequence, "sequence/media/video/track[2]/generatoritem/effect/"
                                    "parameter/value"),
                  row.subtitle);
    }
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
        {"a folder that does not exist", {dir.filePath("missing")}, 1},
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
