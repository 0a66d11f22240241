#include "QYFCP7Bridge.h"

#include "Localization.h"
#include "QYLog.h"
#include "QYMessagePresenter.h"

#include <QFileInfo>
#include <pugixml.hpp>
#include <vector>

namespace quillery {

namespace {

constexpr int kFileReference = 0;
// Project exports are asked for in the older XML version, sequences in the newer one.
const QString kProjectVersion = QStringLiteral("3.0");
const QString kSequenceVersion = QStringLiteral("5.0");
const QString kClosingTag = QStringLiteral("</xmeml>");

QString fetchFailureText() {
    return localized(
        "Cannot load Final Cut Pro\"Sample Text\"and its font settings. Please confirm the Final "
        "Cut Pro is launched.If you are using Final Cut Pro X, please export a XML file from "
        "Final Cut Pro X first, then, from Quillery menu, choose \"File\"-\"import FinalCutProX "
        "XML\" to get the sample text");
}

QString noSequenceText() {
    return localized(
        "Cannot load Final Cut Pro\"Sample Text\"and its font settings. Reasons and solutions: "
        "\n1. Upgrade the Final Cut Pro to version 6.0.6 or up, or try to export XML from the "
        "current Final Cut Pro sequence. Then import XML from Quillery. ；\n2、The sequence you "
        "want to load to Quillery have to be place in the root of Final Cut Pro browser. You "
        "cannot place the sequence under a media Bin.");
}

void startEvent(apple_event& event, AEEventID eventId) {
    event.create(eventId, fcp::kSignature, fcp::kSignature);
}

} // namespace

// The sequences of a fetched project: those at its root, then those directly inside
// its bins.
struct QYFCP7Bridge::Sequences {
    explicit Sequences(const QString& xml) {
        const QByteArray bytes = xml.toUtf8();
        if (!document.load_buffer(bytes.constData(), bytes.size()))
            return;
        const pugi::xml_node root = document.document_element();
        for (const pugi::xpath_node& sequence : root.select_nodes("project/children/sequence"))
            nodes.push_back(sequence.node());
        for (const pugi::xpath_node& bin : root.select_nodes("project/children/bin")) {
            for (const pugi::xpath_node& sequence : bin.node().select_nodes("children/sequence"))
                nodes.push_back(sequence.node());
        }
    }

    // A chosen sequence is looked up in this combined list, so one inside a bin is found
    // too.
    QString uuidAt(std::size_t index) const {
        return QString::fromUtf8(nodes.at(index).child_value("uuid"));
    }

    QStringList names() const {
        QStringList result;
        for (const pugi::xml_node& sequence : nodes)
            result << QString::fromUtf8(sequence.child_value("name"));
        return result;
    }

    pugi::xml_document document;
    std::vector<pugi::xml_node> nodes;
};

QYFCP7Bridge::QYFCP7Bridge(QYFCP7BridgeHost& host, QYMessagePresenter& presenter,
                           AppleEventTransport& transport)
    : host_(host), presenter_(presenter), transport_(transport) {}

QYFCP7Bridge::~QYFCP7Bridge() = default;

// --- Fetching ----------------------------------------------------------------------------

void QYFCP7Bridge::loadFromFinalCutPro() {
    fcpFilePath_.reset();
    fcpVersion_.clear();
    if (!batching_ && !host_.checkContent())
        return;
    apple_event event(transport_);
    startEvent(event, fcp::kExportCurrentSequenceXML);
    event.sendAFile(QString(), std::nullopt, fcp::kProjectFile, kFileReference);
    event.version(kSequenceVersion);
    if (!sendAndReport(event)) {
        showFetchFailure();
        return;
    }
    const std::optional<QString> xml = event.createDocFromXML();
    if (xml)
        extractSeqFromDocXML(*xml, std::nullopt, kSequenceVersion);
    else
        loadFromFinalCutPro6();
}

// Final Cut Pro 6 exports no current sequence: its open projects are listed instead.
void QYFCP7Bridge::loadFromFinalCutPro6() {
    apple_event event(transport_);
    startEvent(event, fcp::kListProjects);
    event.send();
    const QStringList projects = event.createDocFromList();
    if (projects.isEmpty()) {
        // Nothing to fetch, so a batch ends here too.
        batching_ = false;
        return;
    }
    if (projects.size() == 1) {
        exportProject(projects.front());
        return;
    }
    QStringList names;
    for (const QString& project : projects)
        names << QFileInfo(project).fileName();
    projectSheetDidEnd(
        presenter_.chooseItem({localized("Please choose the Final Cut Pro project"), names}),
        projects);
}

void QYFCP7Bridge::projectSheetDidEnd(int returnCode, const QStringList& projects) {
    if (returnCode >= 0 && returnCode < projects.size())
        exportProject(projects.at(returnCode));
    batching_ = false;
}

void QYFCP7Bridge::exportProject(const QString& path) {
    fcpVersion_ = kProjectVersion;
    fcpFilePath_ = path;
    apple_event event(transport_);
    startEvent(event, fcp::kExportProjectXML);
    event.sendAFile(path, std::nullopt, fcp::kProjectFile, kFileReference);
    event.version(kProjectVersion);
    if (!sendAndReport(event)) {
        showFetchFailure();
        return;
    }
    extractSeqFromDocXML(event.createDocFromXML().value_or(QString()), path, kProjectVersion);
}

void QYFCP7Bridge::extractSeqFromDocXML(QString xml, const std::optional<QString>& filePath,
                                        const QString& version) {
    // Some versions leave bytes after the document, which no parser accepts.
    const qsizetype closing = xml.indexOf(kClosingTag);
    if (closing >= 0)
        xml.truncate(closing + kClosingTag.size());
    QY_DBG("the xml last char is : %s", qUtf8Printable(xml.right(2)));

    auto sequences = std::make_unique<Sequences>(xml);
    if (sequences->nodes.empty()) {
        showWarningMessage(noSequenceText());
        batching_ = false;
        return;
    }
    if (sequences->nodes.size() == 1) {
        loadSeqByUuid(sequences->uuidAt(0), filePath, version);
        if (batching_)
            sendToFinalCutPro();
        batching_ = false;
        return;
    }
    batchChangeFontDoc_ = std::move(sequences);
    sheetDidEnd(presenter_.chooseItem(
        {localized("Please choose the sequence"), batchChangeFontDoc_->names()}));
}

void QYFCP7Bridge::sheetDidEnd(int returnCode) {
    if (returnCode >= 0 &&
        static_cast<std::size_t>(returnCode) < batchChangeFontDoc_->nodes.size()) {
        loadSeqByUuid(batchChangeFontDoc_->uuidAt(static_cast<std::size_t>(returnCode)),
                      fcpFilePath_, fcpVersion_);
        if (batching_)
            sendToFinalCutPro();
    }
    batching_ = false;
}

void QYFCP7Bridge::loadSeqByUuid(const QString& uuid, const std::optional<QString>& filePath,
                                 const QString& version) {
    QY_DBG("uuid = %s", qUtf8Printable(uuid));
    apple_event event(transport_);
    startEvent(event, fcp::kGetSequenceXML);
    event.sendAFile(filePath.value_or(QString()), std::nullopt, fcp::kProjectFile, kFileReference);
    event.version(version.isEmpty() ? kSequenceVersion : version);
    event.uuid(uuid);
    if (!sendAndReport(event)) {
        // The one fetch failure that leaves a batch running.
        showWarningMessage(fetchFailureText());
        return;
    }
    if (!host_.loadFetchedSequenceXML(event.createDocFromXML().value_or(QString())))
        batching_ = false;
}

// --- Sending -----------------------------------------------------------------------------

bool QYFCP7Bridge::checkXML() {
    if (host_.hasFCP7Document())
        return true;
    showWarningMessage(localized("Please Load FCP Sample Text or Import XML File first."));
    return false;
}

void QYFCP7Bridge::sendToFinalCutPro() {
    if (!checkXML())
        return;
    if (host_.hasTimeStringErrors()) {
        showWarningMessage(localized(
            "Cannot send to Final Cut Pro cause of the timecodes confusion. Please check and "
            "correct the timecodes before and after the timecodes remarked with red or yellow "
            "underline. Then retry. Red means error Timecode and Yellow means same Timecode."));
        return;
    }
    QString newName;
    const QString xml = host_.genNewXML(&newName);
    apple_event event(transport_);
    startEvent(event, fcp::kImportXML);
    event.addDoc(xml);
    if (sendAndReport(event)) {
        showWarningMessage(localized("Sequence \"%1\" has been sent successfully. Please find it "
                                     "in the Final Cut Pro browser and double click to open it.")
                               .arg(newName));
        return;
    }
    showWarningMessage(localized(
        "Send to Final Cut Pro failed. Please confirm the Final Cut Pro is lauched.If you are "
        "using Final Cut Pro X, please choose \"Export FinalCutProX XML\" from Quillery menu, "
        "then import the XML file in Final Cut Pro X"));
}

void QYFCP7Bridge::batchChangeFont() {
    if (!askToContinue(presenter_,
                       localized("This is a combination of \"Load FCP Sample Text\" and \"Send to "
                                 "FCP\". It'll clear the current editor and FCP font settings. "
                                 "Do you want to continue?")))
        return;
    batching_ = true;
    loadFromFinalCutPro();
}

// --- Messages ----------------------------------------------------------------------------

bool QYFCP7Bridge::sendAndReport(apple_event& event) {
    return event.send() == noErr;
}

void QYFCP7Bridge::showFetchFailure() {
    showWarningMessage(fetchFailureText());
    batching_ = false;
}

void QYFCP7Bridge::showWarningMessage(const QString& text) {
    quillery::showWarningMessage(presenter_, text);
}

} // namespace quillery
