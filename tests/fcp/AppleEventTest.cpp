#include "AppleEvent.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace quillery;

namespace {

// Records what is sent and answers with a prepared reply or delivery error.
class RecordingTransport : public AppleEventTransport {
public:
    int32_t sendAndWait(const AppleEvent& event, AEDesc& reply) override {
        sent.push_back(event);
        reply = answer;
        return deliveryError;
    }

    std::vector<AppleEvent> sent;
    AEDesc answer = AEDesc::record();
    int32_t deliveryError = noErr;
};

AEDesc projectRecord(AEDesc file) {
    AEDesc record = AEDesc::record();
    record.putField(fourCharCode("fcPf"), std::move(file));
    return record;
}

AEDesc fileRef(const QString& path) {
    return {fourCharCode("fsrf"), path, {}, 0};
}

class AppleEventTest : public testing::Test {
protected:
    apple_event startedEvent() {
        apple_event event(transport);
        event.create(fourCharCode("gXML"), fourCharCode("KeyG"), fourCharCode("KeyG"));
        return event;
    }

    QTemporaryDir dir;
    RecordingTransport transport;
};

TEST(FourCharCodeTest, PacksBigEndianAndReadsBackOnlyFourLatin1Characters) {
    EXPECT_EQ(fourCharCode("KeyG"), 0x4B657947u);
    EXPECT_EQ(fourCharCodeText(0x66634955u), "fcIU");
    EXPECT_EQ(fourCharCodeFromText("errn"), 0x6572726Eu);
    EXPECT_FALSE(fourCharCodeFromText("err"));
    EXPECT_FALSE(fourCharCodeFromText("errno"));
    EXPECT_FALSE(fourCharCodeFromText(QString::fromUtf8("er\u20acn")));
}

TEST_F(AppleEventTest, AddressesTheSignatureAndCarriesTypedParameters) {
    const QString project = dir.filePath("Project.xml");
    QFile created(project);
    ASSERT_TRUE(created.open(QIODevice::WriteOnly));
    created.close();
    apple_event event = startedEvent();
    event.sendAFile(project, std::nullopt, fourCharCode("fcpP"), 0);
    event.version("3.0");
    event.uuid("6F1C-22");
    event.addDoc("<xmeml/>");
    ASSERT_EQ(event.send(), noErr);

    ASSERT_EQ(transport.sent.size(), 1u);
    const AppleEvent& sent = transport.sent.front();
    EXPECT_EQ(sent.eventClass, fourCharCode("KeyG"));
    EXPECT_EQ(sent.eventID, fourCharCode("gXML"));
    EXPECT_EQ(sent.target.descriptorType, fourCharCode("sign"));
    EXPECT_EQ(sent.targetSignature(), fourCharCode("KeyG"));

    const AEDesc* file = sent.parameters.field(fourCharCode("fcpP"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->descriptorType, fourCharCode("fsrf"));
    EXPECT_EQ(file->value.toString(), project);
    const AEDesc* version = sent.parameters.field(fourCharCode("xmlV"));
    ASSERT_TRUE(version);
    EXPECT_EQ(version->descriptorType, fourCharCode("cgfl"));
    EXPECT_EQ(version->value.typeId(), QMetaType::Double);
    EXPECT_EQ(version->value.toDouble(), 3.0);
    const AEDesc* uuid = sent.parameters.field(fourCharCode("fcIU"));
    ASSERT_TRUE(uuid);
    EXPECT_EQ(uuid->descriptorType, fourCharCode("utf8"));
    EXPECT_EQ(uuid->value.toString(), "6F1C-22");
    const AEDesc* document = sent.parameters.field(fourCharCode("xmlD"));
    ASSERT_TRUE(document);
    EXPECT_EQ(document->descriptorType, fourCharCode("utf8"));
    EXPECT_EQ(document->value.toString(), "<xmeml/>");
}

TEST_F(AppleEventTest, FileModesAndWhatAFileParameterLeavesOut) {
    apple_event byUrl = startedEvent();
    byUrl.sendAFile("/ignored/for/the/url", QUrl::fromLocalFile("/Volumes/A b.xml"),
                    fourCharCode("fcpP"), 2);
    byUrl.send();
    const AEDesc* url = transport.sent.back().parameters.field(fourCharCode("fcpP"));
    ASSERT_TRUE(url);
    EXPECT_EQ(url->descriptorType, fourCharCode("furl"));
    EXPECT_EQ(url->value.toString(), "/Volumes/A b.xml");

    apple_event nothing = startedEvent();
    nothing.sendAFile(QString(), std::nullopt, fourCharCode("fcpP"), 0);
    nothing.version(QString());
    EXPECT_EQ(nothing.send(), noErr);
    EXPECT_TRUE(transport.sent.back().parameters.items.empty());
}

TEST_F(AppleEventTest, TheFirstFailedStepIsReportedAndNothingIsSent) {
    struct Row {
        const char* name;
        std::function<void(apple_event&)> steps;
    };
    const QString missing = dir.filePath("gone.xml");
    const Row rows[] = {
        {"unknown file mode",
         [](apple_event& e) {
             e.sendAFile("/tmp/x.xml", std::nullopt, fourCharCode("fcpP"), 1);
         }},
        {"file reference to a missing file",
         [&](apple_event& e) {
             e.sendAFile(missing, std::nullopt, fourCharCode("fcpP"), 0);
         }},
        {"later steps keep the first error",
         [&](apple_event& e) {
             e.sendAFile(missing, std::nullopt, fourCharCode("fcpP"), 0);
             e.sendAFile("/tmp/x.xml", std::nullopt, fourCharCode("fcpP"), 7);
             e.uuid("u");
         }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        transport.sent.clear();
        apple_event event = startedEvent();
        row.steps(event);
        EXPECT_EQ(event.send(), -43);
        EXPECT_TRUE(transport.sent.empty());
        EXPECT_TRUE(event.event().parameters.field(fourCharCode("fcIU")) == nullptr);
    }
}

TEST_F(AppleEventTest, SendReturnsTheDeliveryErrorOrTheReplysErrorNumber) {
    apple_event undelivered = startedEvent();
    transport.deliveryError = -600;
    EXPECT_EQ(undelivered.send(), -600);

    transport.deliveryError = noErr;
    transport.answer.putField(fourCharCode("errn"), {fourCharCode("long"), -1728, {}, 0});
    transport.answer.putField(fourCharCode("xmlD"), AEDesc::text("<xmeml/>"));
    apple_event refused = startedEvent();
    EXPECT_EQ(refused.send(), -1728);
    EXPECT_EQ(refused.createDocFromXML(), "<xmeml/>");
}

TEST_F(AppleEventTest, ReadsTheReplysDocument) {
    apple_event withoutDocument = startedEvent();
    withoutDocument.send();
    EXPECT_FALSE(withoutDocument.createDocFromXML());

    transport.answer.putField(fourCharCode("xmlD"), AEDesc::text(QString::fromUtf8("<a>é</a>")));
    apple_event withDocument = startedEvent();
    withDocument.send();
    EXPECT_EQ(withDocument.createDocFromXML(), QString::fromUtf8("<a>é</a>"));
}

TEST_F(AppleEventTest, ProjectListStopsAtTheFirstRecordThatCannotBeRead) {
    struct Row {
        const char* name;
        std::vector<AEDesc> records;
        QStringList paths;
    };
    AEDesc notARecord = fileRef("/p/C.xml");
    AEDesc number = {fourCharCode("long"), 7, {}, 0};
    const std::vector<Row> rows = {
        {"file references and file URLs",
         {projectRecord(fileRef("/p/A.xml")),
          projectRecord({fourCharCode("furl"), QString("/p/B.xml"), {}, 0})},
         {"/p/A.xml", "/p/B.xml"}},
        {"a record without a file",
         {projectRecord(fileRef("/p/A.xml")), AEDesc::record(), projectRecord(fileRef("/p/B.xml"))},
         {"/p/A.xml"}},
        {"a file that is a number",
         {projectRecord(number), projectRecord(fileRef("/p/B.xml"))},
         {}},
        {"an element that is not a record", {notARecord, projectRecord(fileRef("/p/B.xml"))}, {}},
        {"no projects", {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AEDesc list = AEDesc::list();
        list.items = row.records;
        transport.answer = AEDesc::record();
        transport.answer.putField(fourCharCode("fcOP"), list);
        apple_event event(transport);
        event.create(fourCharCode("fcLP"), fourCharCode("KeyG"), fourCharCode("KeyG"));
        event.send();
        EXPECT_EQ(event.createDocFromList(), row.paths);
    }
}

} // namespace
