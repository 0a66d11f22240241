#include "AppleEventDBus.h"

#include <QDBusMessage>
#include <QMutex>
#include <QSemaphore>
#include <QThread>
#include <gtest/gtest.h>

using namespace quillery;

namespace {

// A readable form of a descriptor, to compare what was sent with what arrived.
std::string describe(const AEDesc& desc) {
    std::string text = fourCharCodeText(desc.descriptorType).toStdString();
    if (desc.key != 0)
        text = fourCharCodeText(desc.key).toStdString() + ":" + text;
    if (desc.descriptorType == typeAEList || desc.descriptorType == typeAERecord) {
        text += "{";
        for (const AEDesc& item : desc.items)
            text += describe(item) + ",";
        return text + "}";
    }
    return text + "(" + desc.value.typeName() + " " + desc.value.toString().toStdString() + ")";
}

class ScriptedHandler : public AppleEventHandler {
public:
    AEDesc handleAppleEvent(const AppleEvent& event) override {
        QMutexLocker lock(&mutex);
        received.push_back(event);
        return reply;
    }

    QMutex mutex;
    std::vector<AppleEvent> received;
    AEDesc reply = AEDesc::record();
};

// Serves the handler from a thread of its own with a connection of its own, as another
// process would; a blocking call from the test's thread could not be answered otherwise.
class ServerThread : public QThread {
public:
    explicit ServerThread(AppleEventHandler& handler) : handler_(handler) {}
    ~ServerThread() override {
        quit();
        wait();
    }

    bool startServing() {
        start();
        ready_.acquire();
        return serving_;
    }

protected:
    void run() override {
        const QString name = QStringLiteral("apple-event-server");
        {
            QDBusConnection connection =
                QDBusConnection::connectToBus(QDBusConnection::SessionBus, name);
            AppleEventDBusServer server(handler_, connection);
            serving_ = server.start(fcp::kSignature);
            ready_.release();
            exec();
        }
        QDBusConnection::disconnectFromBus(name);
    }

private:
    AppleEventHandler& handler_;
    QSemaphore ready_;
    bool serving_ = false;
};

AEDesc scalar(DescType type, QVariant value) {
    return {type, std::move(value), {}, 0};
}

TEST(AppleEventDBusTest, EveryKindOfDescriptorCrossesTheBusBothWays) {
    ScriptedHandler handler;
    AEDesc project = AEDesc::record();
    project.putField(fourCharCode("fcPf"), scalar(typeFSRef, QString("/p/Ünïcode.xml")));
    AEDesc projects = AEDesc::list();
    projects.items = {project, project};
    handler.reply.putField(fourCharCode("fcOP"), projects);
    handler.reply.putField(fourCharCode("errn"), scalar(typeSInt32, -1728));
    handler.reply.putField(fourCharCode("xmlD"), AEDesc::text(QString::fromUtf8("<a>\r€</a>")));
    ServerThread server(handler);
    ASSERT_TRUE(server.startServing());

    AppleEvent event;
    event.eventClass = fourCharCode("KeyG");
    event.eventID = fourCharCode("gXML");
    event.target = scalar(typeApplSignature, QString("KeyG"));
    event.parameters.putField(fourCharCode("xmlV"), scalar(typeCGFloat, 5.0));
    event.parameters.putField(fourCharCode("fcIU"), AEDesc::text("9F-A"));
    event.parameters.putField(fourCharCode("fcpP"), scalar(typeFileURL, QString("/a b.xml")));
    event.parameters.putField(fourCharCode("list"), projects);
    event.parameters.putField(fourCharCode("null"), AEDesc());

    DBusAppleEventTransport transport;
    AEDesc reply;
    ASSERT_EQ(transport.sendAndWait(event, reply), noErr);
    // Parameters travel as a dictionary: they arrive sorted by key.
    EXPECT_EQ(describe(reply), "reco{errn:long(int -1728),fcOP:list{reco{fcPf:fsrf(QString "
                               "/p/Ünïcode.xml),},reco{fcPf:fsrf(QString /p/Ünïcode.xml),},},"
                               "xmlD:utf8(QString <a>\r€</a>),}");

    QMutexLocker lock(&handler.mutex);
    ASSERT_EQ(handler.received.size(), 1u);
    const AppleEvent& arrived = handler.received.front();
    EXPECT_EQ(arrived.eventClass, event.eventClass);
    EXPECT_EQ(arrived.eventID, event.eventID);
    EXPECT_EQ(arrived.targetSignature(), fourCharCode("KeyG"));
    EXPECT_EQ(describe(arrived.parameters),
              "reco{fcIU:utf8(QString 9F-A),fcpP:furl(QString /a b.xml),"
              "list:list{reco{fcPf:fsrf(QString /p/Ünïcode.xml),},reco{fcPf:fsrf(QString "
              "/p/Ünïcode.xml),},},null:null(QString ),xmlV:cgfl(double 5),}");
}

TEST(AppleEventDBusTest, DeliveryFailuresBecomeAppleEventErrors) {
    AppleEvent toNobody;
    toNobody.target = scalar(typeApplSignature, QString("KeyG"));
    AEDesc reply;
    EXPECT_EQ(DBusAppleEventTransport().sendAndWait(toNobody, reply), procNotFound);

    const QDBusConnection noBus(QStringLiteral("never connected"));
    EXPECT_EQ(DBusAppleEventTransport(noBus).sendAndWait(toNobody, reply), connectionInvalid);
}

TEST(AppleEventDBusTest, OnlyOneServerAnswersForAnApplication) {
    ScriptedHandler handler;
    ServerThread first(handler);
    ASSERT_TRUE(first.startServing());
    ServerThread second(handler);
    EXPECT_FALSE(second.startServing());
}

TEST(AppleEventDBusTest, AMalformedCallIsRefusedWithoutReachingTheHandler) {
    ScriptedHandler handler;
    ServerThread server(handler);
    ASSERT_TRUE(server.startServing());
    const QString service = appleEventServiceName(fcp::kSignature);
    const struct {
        const char* name;
        QVariantList arguments;
    } rows[] = {
        {"codes of three characters", {"Key", "gXML", QVariant::fromValue(QVariantMap())}},
        {"parameters that are not descriptors", {"KeyG", "gXML", QVariantMap{{"fcIU", 1}}}},
        {"no parameters", {"KeyG", "gXML"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        QDBusMessage call = QDBusMessage::createMethodCall(service, kAppleEventObjectPath,
                                                           kAppleEventInterface, "Send");
        call.setArguments(row.arguments);
        const QDBusMessage answer = QDBusConnection::sessionBus().call(call);
        EXPECT_EQ(answer.type(), QDBusMessage::ErrorMessage);
    }
    QMutexLocker lock(&handler.mutex);
    EXPECT_TRUE(handler.received.empty());
}

TEST(AppleEventDBusTest, SignaturesThatAreNotFourLettersOrDigitsAreWrittenInHex) {
    EXPECT_EQ(appleEventServiceName(fourCharCode("KeyG")), "org.quillery.AppleEvents.KeyG");
    EXPECT_EQ(appleEventServiceName(fourCharCode("ab.?")), "org.quillery.AppleEvents.x61622e3f");
}

} // namespace
