#include "FCP7Endpoint.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <pugixml.hpp>
#include <sstream>

namespace quillery {

namespace {

// Line ends inside values are kept as written: a carriage return is a row break.
constexpr unsigned kParseOptions = pugi::parse_default & ~pugi::parse_eol;

AEDesc errorReply(int32_t number) {
    AEDesc reply = AEDesc::record();
    reply.putField(keyErrorNumber, {typeSInt32, number, {}, 0});
    return reply;
}

AEDesc documentReply(const QString& xml) {
    AEDesc reply = AEDesc::record();
    reply.putField(fcp::kXMLDocument, AEDesc::text(xml));
    return reply;
}

QString textOf(const pugi::xml_node& node) {
    return QString::fromUtf8(node.child_value());
}

bool loadXmeml(const QByteArray& bytes, pugi::xml_document& document) {
    return document.load_buffer(bytes.constData(), bytes.size(), kParseOptions,
                                pugi::encoding_utf8) &&
           std::string_view(document.document_element().name()) == "xmeml";
}

bool loadXmemlFile(const QString& path, pugi::xml_document& document) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && loadXmeml(file.readAll(), document);
}

// A document that holds one sequence, on its own or inside a project as a project
// export has it.
QString documentWithSequence(const pugi::xml_node& sequence, const QString& projectName) {
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "UTF-8";
    document.append_child(pugi::node_doctype).set_value("xmeml");
    pugi::xml_node parent = document.append_child("xmeml");
    parent.append_attribute("version") = "5";
    if (!projectName.isNull()) {
        pugi::xml_node project = parent.append_child("project");
        project.append_child("name").text().set(projectName.toUtf8().constData());
        parent = project.append_child("children");
    }
    parent.append_copy(sequence);
    std::ostringstream out;
    document.save(out, "\t", pugi::format_default, pugi::encoding_utf8);
    return QString::fromStdString(out.str());
}

enum class Wrapping { Alone, InProject };

// The first sequence of the projects whose uuid (or, when asked, name) is the key.
std::optional<QString> exportSequence(const QStringList& projects, const QString& key,
                                      bool matchName, Wrapping wrapping) {
    for (const QString& path : projects) {
        pugi::xml_document project;
        if (!loadXmemlFile(path, project))
            continue;
        for (const pugi::xpath_node& found : project.select_nodes("//sequence")) {
            const pugi::xml_node sequence = found.node();
            if (textOf(sequence.child("uuid")) != key &&
                !(matchName && textOf(sequence.child("name")) == key))
                continue;
            const QString projectName =
                wrapping == Wrapping::InProject ? QFileInfo(path).completeBaseName() : QString();
            return documentWithSequence(sequence, projectName);
        }
    }
    return std::nullopt;
}

// A file name for an imported sequence: its name without path separators.
QString importFileName(const QDir& folder, const QString& sequenceName) {
    QString base = sequenceName.trimmed();
    base.replace(u'/', u'_');
    base.remove(QChar(0));
    if (base.isEmpty())
        base = QStringLiteral("Imported Sequence");
    QString name = base + QStringLiteral(".xml");
    for (int copy = 2; folder.exists(name); ++copy)
        name = QStringLiteral("%1 %2.xml").arg(base).arg(copy);
    return name;
}

} // namespace

FCP7Endpoint::FCP7Endpoint(FCP7EndpointOptions options) : options_(std::move(options)) {}

QStringList FCP7Endpoint::projectPaths() const {
    const QDir folder(options_.folder);
    QStringList paths;
    for (const QFileInfo& file :
         folder.entryInfoList({QStringLiteral("*.xml")}, QDir::Files, QDir::Name))
        paths << file.absoluteFilePath();
    return paths;
}

AEDesc FCP7Endpoint::handleAppleEvent(const AppleEvent& event) {
    if (event.eventClass != fcp::kSignature)
        return errorReply(errAEEventNotHandled);
    if (options_.failures.contains(event.eventID))
        return errorReply(options_.failures.value(event.eventID));
    switch (event.eventID) {
    case fcp::kListProjects:
        return listProjects();
    case fcp::kExportProjectXML:
        return exportProject(event);
    case fcp::kExportCurrentSequenceXML:
        return exportCurrentSequence();
    case fcp::kGetSequenceXML:
        return getSequence(event);
    case fcp::kImportXML:
        return importDocument(event);
    default:
        return errorReply(errAEEventNotHandled);
    }
}

AEDesc FCP7Endpoint::listProjects() const {
    AEDesc projects = AEDesc::list();
    for (const QString& path : projectPaths()) {
        AEDesc project = AEDesc::record();
        project.putField(fcp::kProjectRecordFile, {typeFSRef, path, {}, 0});
        projects.items.push_back(std::move(project));
    }
    AEDesc reply = AEDesc::record();
    reply.putField(fcp::kProjectList, std::move(projects));
    return reply;
}

// The project an event names, when it is one of the folder's; empty otherwise.
QString FCP7Endpoint::projectPathOf(const AppleEvent& event) const {
    const AEDesc* file = event.parameters.field(fcp::kProjectFile);
    const QString path = file ? QFileInfo(file->filePath()).absoluteFilePath() : QString();
    return projectPaths().contains(path) ? path : QString();
}

AEDesc FCP7Endpoint::exportProject(const AppleEvent& event) const {
    QFile project(projectPathOf(event));
    if (project.fileName().isEmpty() || !project.open(QIODevice::ReadOnly))
        return errorReply(fnfErr);
    return documentReply(QString::fromUtf8(project.readAll()) + options_.trailingText);
}

AEDesc FCP7Endpoint::exportCurrentSequence() const {
    if (options_.currentSequence.isEmpty())
        return AEDesc::record();
    const std::optional<QString> document =
        exportSequence(projectPaths(), options_.currentSequence, true, Wrapping::InProject);
    return document ? documentReply(*document + options_.trailingText)
                    : errorReply(errAENoSuchObject);
}

AEDesc FCP7Endpoint::getSequence(const AppleEvent& event) const {
    const AEDesc* uuid = event.parameters.field(fcp::kSequenceUuid);
    if (uuid == nullptr || uuid->value.toString().isEmpty())
        return errorReply(errAEDescNotFound);
    QStringList projects = projectPaths();
    if (event.parameters.field(fcp::kProjectFile)) {
        const QString named = projectPathOf(event);
        if (named.isEmpty())
            return errorReply(fnfErr);
        projects = {named};
    }
    const std::optional<QString> document =
        exportSequence(projects, uuid->value.toString(), false, Wrapping::Alone);
    return document ? documentReply(*document) : errorReply(errAENoSuchObject);
}

AEDesc FCP7Endpoint::importDocument(const AppleEvent& event) const {
    const AEDesc* document = event.parameters.field(fcp::kXMLDocument);
    const QByteArray bytes = document ? document->value.toString().toUtf8() : QByteArray();
    pugi::xml_document parsed;
    if (!loadXmeml(bytes, parsed))
        return errorReply(paramErr);
    const QDir folder(options_.folder);
    const QString name = textOf(parsed.select_node("//sequence/name").node());
    QSaveFile file(folder.filePath(importFileName(folder, name)));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        return errorReply(ioErr);
    return AEDesc::record();
}

} // namespace quillery
