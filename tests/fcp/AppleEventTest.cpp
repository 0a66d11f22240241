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

AEDesc scalar(const char (&type)[5], QVariant value) {
    return {fourCharCode(type), std::move(value), {}, 0};
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
    EXPECT_FALSE(fourCharCodeFromText("err"));
    EXPECT_FALSE(fourCharCodeFromText(QString::fromUtf8("er\u20acn")));
}

TEST_F(AppleEventTest, TheFirstFailedStepIsReportedAndNothingIsSent) {
    apple_event unknownMode = startedEvent();
    unknownMode.sendAFile("/x.xml", std::nullopt, fourCharCode("fcpP"), 1);
    apple_event missingFile = startedEvent();
    missingFile.sendAFile(dir.filePath("gone.xml"), std::nullopt, fourCharCode("fcpP"), 0);
    missingFile.uuid("u"); // a later step does not clear the failure
    for (apple_event* event : {&unknownMode, &missingFile}) {
        EXPECT_EQ(event->send(), -43);
        EXPECT_TRUE(event->event().parameters.items.empty());
    }
    EXPECT_TRUE(transport.sent.empty());
}

TEST_F(AppleEventTest, ProjectListStopsAtTheFirstRecordThatCannotBeRead) {
    const auto project = [](AEDesc file) {
        AEDesc record = AEDesc::record();
        record.putField(fourCharCode("fcPf"), std::move(file));
        return record;
    };
    const AEDesc a = project(scalar("fsrf", QString("/p/A.xml")));
    const AEDesc b = project(scalar("furl", QString("/p/B.xml")));
    const struct {
        const char* name;
        std::vector<AEDesc> records;
        QStringList paths;
    } rows[] = {
        {"file references and file URLs", {a, b}, {"/p/A.xml", "/p/B.xml"}},
        {"a record without a file", {a, AEDesc::record(), b}, {"/p/A.xml"}},
        {"an element that is not a record", {scalar("fsrf", QString("/p/C.xml")), b}, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AEDesc list = AEDesc::list();
        list.items = row.records;
        transport.answer.putField(fourCharCode("fcOP"), list);
        apple_event event = startedEvent();
        event.send();
        EXPECT_EQ(event.createDocFromList(), row.paths);
    }
}

} // namespace
