// Fuzzes what the Final Cut Pro 7 bridge does with a project fetched from Final Cut Pro:
// the document cut after its closing tag, its sequences at the root and in bins, their
// names for the chooser and the uuid of the one chosen. The first byte is the chooser's
// answer (-1 cancels); Final Cut Pro answers every event without a document.
#include "FuzzInput.h"
#include "QYFCP7Bridge.h"
#include "QYMessagePresenter.h"

using namespace quillery;

namespace {

class SilentHost : public QYFCP7BridgeHost {
public:
    bool checkContent() override { return true; }
    bool hasFCP7Document() const override { return false; }
    bool loadFetchedSequenceXML(const QString&) override { return false; }
    QString genNewXML(QString*) override { return QString(); }
    bool hasTimeStringErrors() override { return false; }
};

class FixedChoicePresenter : public QYMessagePresenter {
public:
    explicit FixedChoicePresenter(int choice) : choice_(choice) {}
    int runAlert(const AlertRequest&) override { return 0; }
    QString chooseFileToOpen(const FileRequest&) override { return QString(); }
    QString chooseFileToSave(const FileRequest&) override { return QString(); }
    QString chooseDirectory(const FileRequest&) override { return QString(); }
    int chooseItem(const ChoiceRequest&) override { return choice_; }

private:
    int choice_;
};

class EmptyReplies : public AppleEventTransport {
public:
    int32_t sendAndWait(const AppleEvent&, AEDesc& reply) override {
        reply = AEDesc::record();
        return noErr;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input input{data, size};
    int8_t choice = -1;
    input.take(&choice, 1);
    SilentHost host;
    FixedChoicePresenter presenter(choice);
    EmptyReplies transport;
    QYFCP7Bridge bridge(host, presenter, transport);
    bridge.extractSeqFromDocXML(input.text(), std::nullopt, QStringLiteral("5.0"));
    return 0;
}
