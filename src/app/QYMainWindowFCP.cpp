// The main window's Final Cut Pro commands: importing Final Cut Pro X projects and Final
// Cut Pro 7 sequences with their subtitle templates, the assembly choice after an import,
// exporting and sending the subtitles back as Final Cut Pro X titles, a Final Cut Pro 7
// subtitle track or Smoke XML, and the title template and font changes of Final Cut Pro X
// projects.
#include "FCPMessages.h"
#include "FileWriting.h"
#include "FolderUtility.h"
#include "HelpResources.h"
#include "Localization.h"
#include "QYExportSmokeWindowController.h"
#include "QYExporter.h"
#include "QYLog.h"
#include "QYMainWindowController.h"
#include "QYMessagePresenter.h"
#include "QYMoviePlayerViewController.h"
#include "QYPreviewAssembler.h"
#include "QYSetting.h"
#include "QYTimeUtility.h"
#include "QYTrackSelectionSheet.h"
#include "SubtitleTextView.h"
#include "SystemUtility.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <QUrl>

namespace quillery {

namespace {

// Follow-ups the import and export flows run a moment later, once the window has settled.
constexpr int kFCPXAssemblySheetDelayMs = 1000;
constexpr int kFCP7ImportDelayMs = 300;
constexpr int kFontChangeDelayMs = 300;
constexpr int kOpenWithFinalCutProDelayMs = 1000;

const QString kFinalCutProXBundleIdentifier = QStringLiteral("com.apple.FinalCut");
const QString kFinalCutPro7BundleIdentifier = QStringLiteral("com.apple.FinalCutPro");
const QString kFCPXExtension = QStringLiteral("fcpxml");

// The width and height Smoke documents get when no sequence says otherwise.
constexpr int kDefaultVideoWidth = 1920;
constexpr int kDefaultVideoHeight = 1080;

QString bundleName() {
    return SystemUtility::sharedInstance().getBundleName();
}

QString fcp7AssemblyExplanation() {
    return localized("We will assemble a video from the xml file automatically. It saves you a "
                     "lot of time of exporting video from FCP7.\n\nBut the FCP7 project might be "
                     "super complex, so we only assemble 2 tracks of you video, while all audio "
                     "tracks been assembled. We don’t guarantee the success of auto-assembling "
                     "video. If you find the auto-assembled video not accurate or doesn’t work,  "
                     "you can click on \"Only assemble audio\",  if still not working, please "
                     "click on \"Don't assemble\", %1 will just import the xml file and you can "
                     "import your video manually by drag-and-drop a video to %2.")
        .arg(bundleName(), bundleName());
}

QString fcpxAssemblyExplanation() {
    return localized("We will assemble a video from the xml file automatically. It saves you a "
                     "lot of time of exporting video from FCPX.\n\nBut the FCPX project might be "
                     "super complex, so we only assemble the main track of you timeline, while "
                     "all audio tracks been assembled. We don’t guarantee the success of "
                     "auto-assembling video. If you find the auto-assembled video not accurate "
                     "or doesn’t work, you can click on \"Only assemble audio\", if still not "
                     "working, please click on \"Don't assemble\", %1 will just import the xml "
                     "file and you can import your video manually by drag-and-drop a video to "
                     "%2.")
        .arg(bundleName(), bundleName());
}

// The model title's styling (its parameters and the styles its texts refer to) copied
// to every other title.
void copyStylingOfFirstTitle(const std::vector<xml::Element>& titles) {
    const xml::Element model = titles.front();
    const std::vector<xml::Element> parameters = xml::childElements(model, "param");
    QStringList references;
    for (const xml::Element& style : QYMainWindowController::getTextStyleElementArray(model))
        references << xml::stringValueOfAttribute("ref", style);
    for (size_t i = 1; i < titles.size(); ++i) {
        xml::Element title = titles[i];
        const std::vector<xml::Element> styles =
            QYMainWindowController::getTextStyleElementArray(title);
        for (size_t j = 0; j < styles.size() && j < size_t(references.size()); ++j)
            xml::setAttribute(styles[j], "ref", references[qsizetype(j)]);
        for (const xml::Element& parameter : xml::childElements(title, "param"))
            title.remove_child(parameter);
        for (size_t j = 0; j < parameters.size(); ++j)
            xml::insertChildCopy(title, parameters[j], j);
    }
}

} // namespace

// --- Menus --------------------------------------------------------------------------------

void QYMainWindowController::buildFinalCutProMenus() {
    finalCutPro7Menu_ = menuBar()->addMenu(localized("Final Cut Pro 7"));
    addFinalCutPro7BridgeItems(finalCutPro7Menu_);
    finalCutPro7Menu_->addSeparator();
    finalCutPro7Menu_->addAction(localized("Import XML File"), [this] { loadXMLFile(); });
    finalCutPro7Menu_->addAction(localized("Export XML File"), [this] { saveXMLFile(); });
    finalCutPro7Menu_->addSeparator();
    finalCutPro7Menu_->addAction(localized("Import Movie"), [this] { loadMovie(); });
    finalCutPro7Menu_->addAction(localized("Import Text"), [this] { loadTextFile(); });

    QMenu* finalCutProX = menuBar()->addMenu(localized("Final Cut Pro X"));
    finalCutProX->addAction(localized("Import FCPXML File"), [this] { loadFinalCutProXXML(); });
    finalCutProX->addAction(localized("Export FCPXML File"), [this] { saveFinalCutProXXML(); });
    finalCutProX->addAction(localized("Send to FCPX"), [this] { sendToFCPX(); });
    finalCutProX->addSeparator();
    finalCutProX->addAction(localized("Change Font Settings"),
                            [this] { didPressBatchChangeFCPXFontMenuItem(); });
    finalCutProX->addAction(localized("Change Title Template"), [this] { changeTitleTemplate(); });
    finalCutProX->addSeparator();
    finalCutProX->addAction(localized("Import Movie"), [this] { loadMovie(); });
    finalCutProX->addAction(localized("Import Text"), [this] { loadTextFile(); });
}

std::optional<QString> QYMainWindowController::readTextFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        showWarningMessage(
            localized("Can not read the text file : %1.").arg(QFileInfo(path).fileName()));
        return std::nullopt;
    }
    return QString::fromUtf8(file.readAll());
}

// --- Final Cut Pro X reading --------------------------------------------------------------

void QYMainWindowController::loadFinalCutProXXML() {
    if (!checkContent())
        return;
    const QString path = chooseFileToImport({kFCPXExtension});
    if (!path.isEmpty())
        dragFCPXFile(path);
}

void QYMainWindowController::dragFCPXFile(const QString& path) {
    const std::optional<QString> xml = readTextFile(path);
    if (!xml)
        return;
    loadFCPXXml(*xml);
    fcpxFilename_ = QFileInfo(path).fileName();
}

void QYMainWindowController::loadFCPXXml(const QString& xml) {
    if (!findSubtitleTemplateFromFCPXXML(xml) || !settings_.isAutoAssembleVideoAndAudio)
        return;
    QTimer::singleShot(kFCPXAssemblySheetDelayMs, this,
                       [this, xml] { showFCPXAssemblySheet(xml); });
}

void QYMainWindowController::showFCPXAssemblySheet(const QString& xml) {
    QYTrackSelectionSheet sheet(fcpxAssemblyExplanation(), {}, -1, -1, this);
    const int choice = sheet.run();
    if (choice < 0)
        return;
    clean();
    getCompositionFromFCPXXML(xml, choice == QYTrackSelectionSheet::OnlyAssembleAudio);
}

bool QYMainWindowController::findSubtitleTemplateFromFCPXXML(const QString& xml) {
    fcpx_ = QYFCPXXMLParser::shareInstance().findSubtitleTemplateFromFCPXXML(xml);
    // The timebase is the editor's as soon as it is known, whatever comes of the rest.
    if (fcpx_.frameDurationDenominator > 0)
        textView_->setFcpxFrameDuration(fcpx_.frameDurationNumerator,
                                        fcpx_.frameDurationDenominator);
    switch (fcpx_.status) {
    case FCPXProjectReading::Status::FormatError:
        presenter_->runAlert(
            {localized("error"), fcpxFormatErrorMessage(), QString(), {localized("OK")}});
        return false;
    case FCPXProjectReading::Status::FrameDurationError:
        return false;
    case FCPXProjectReading::Status::NoTemplate:
        showWarningMessage(fcpxNoTemplateMessage());
        return false;
    case FCPXProjectReading::Status::Ok:
        break;
    }
    replaceTextInTextView(fcpx_.scriptText);
    textView_->setReadOnly(false);
    textView_->setFocus();
    return true;
}

void QYMainWindowController::getCompositionFromFCPXXML(const QString& xml, bool onlyAudio) {
    projectNeedComposition_ = true;
    projectOnlyAssembleAudio_ = onlyAudio;
    if (previewAssembler_ != nullptr)
        previewAssembler_->assembleFCPXProject(xml, onlyAudio);
}

// --- Final Cut Pro X writing --------------------------------------------------------------

bool QYMainWindowController::canExportFCPX() {
    if (fcpx_.status != FCPXProjectReading::Status::Ok) {
        showWarningMessage(localized("You should import Final Cut Pro X XML file before export. "
                                     "Please import the file by choose %1 menu File. Please copy "
                                     "your text with timecode generated for later reuse.")
                               .arg(bundleName()));
        return false;
    }
    if (textView_->error()) {
        showWarningMessage(localized(
            "Cannot send to Final Cut Pro cause of the timecodes confusion. Please check and "
            "correct the timecodes before and after the timecodes remarked with red or yellow "
            "underline. Then retry. Red means error Timecode and Yellow means same Timecode."));
        return false;
    }
    return true;
}

// The imported file's name dated anew, an earlier date stamp of ours replaced.
QString QYMainWindowController::proposedFCPXFileName() const {
    if (fcpxFilename_.isEmpty())
        return QStringLiteral("output.fcpxml");
    const QString stamp = QStringLiteral(" from %1 ").arg(bundleName());
    QString name = QFileInfo(fcpxFilename_).completeBaseName();
    const qsizetype earlier = name.indexOf(stamp);
    if (earlier >= 0)
        name.truncate(earlier);
    return name + stamp + clock_().toString(QStringLiteral("yyyyMMddHHmmss")) +
           QStringLiteral(".fcpxml");
}

void QYMainWindowController::writeFCPXDocuments(const QString& projectPath) {
    // The exports keep the template's own Motion title: swapping it is the title template
    // change's work.
    const QYExporter exporter(*textView_, clock_);
    const xml::Element title = fcpx_.title();
    writeUtf8File(projectPath, exporter.genFCPXXml(*fcpx_.document, title, fcpx_.seqFormat, {}),
                  WriteMode::Atomic);
    const QFileInfo project(projectPath);
    const QString emptyXMLFile = project.absolutePath() + u'/' +
                                 QStringLiteral("Empty project with just subtitles-") +
                                 project.fileName();
    QY_DBG("The emptyXMLFile is : %s", qUtf8Printable(emptyXMLFile));
    writeUtf8File(emptyXMLFile,
                  exporter.genEmptyFCPXXml(*fcpx_.document, title, fcpx_.seqFormat, {}),
                  WriteMode::Atomic);
}

void QYMainWindowController::saveFinalCutProXXML() {
    if (!canExportFCPX())
        return;
    const QString path = chooseExportPath(proposedFCPXFileName(), kFCPXExtension);
    if (!path.isEmpty())
        writeFCPXDocuments(path);
}

void QYMainWindowController::sendToFCPX() {
    // Without Final Cut Pro X on this machine the documents are saved where the user says.
    if (!isApplicationInstalled(kFinalCutProXBundleIdentifier)) {
        saveFinalCutProXXML();
        return;
    }
    if (!canExportFCPX())
        return;
    FolderUtility& folders = FolderUtility::sharedInstance();
    const QString caches = folders.applicationCachesDirectory();
    folders.createFolder(caches);
    const QString path = caches + u'/' + proposedFCPXFileName();
    writeFCPXDocuments(path);
    openXMLWithFinalCutPro(path);
}

void QYMainWindowController::openXMLWithFinalCutPro(const QString& path) {
    QTimer::singleShot(kOpenWithFinalCutProDelayMs, this, [this, path] {
        const bool isFCPX =
            QFileInfo(path).suffix().compare(kFCPXExtension, Qt::CaseInsensitive) == 0;
        const QString application =
            isFCPX ? kFinalCutProXBundleIdentifier : kFinalCutPro7BundleIdentifier;
        if (isApplicationInstalled(application))
            openUrl(QUrl::fromLocalFile(path));
    });
}

bool QYMainWindowController::isApplicationInstalled(const QString& bundleIdentifier) const {
    return applicationLookup_(bundleIdentifier);
}

// --- Title template and font changes ------------------------------------------------------

QStringList QYMainWindowController::collectMotionTitles() const {
    const QString folder =
        motionTitleLibraryFolder_.isEmpty()
            ? QDir::homePath() +
                  QStringLiteral("/Movies/Motion Templates.localized/Titles.localized")
            : motionTitleLibraryFolder_;
    // A missing library folder is an empty library.
    QStringList titles;
    QDirIterator files(folder, {QStringLiteral("*.moti")}, QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext())
        titles << QDir(folder).relativeFilePath(files.next());
    titles.sort();
    return titles;
}

QYChangeTitleTemplateFontWindowController& QYMainWindowController::changeTitleTemplateWindow() {
    if (changeTitleTemplateWindow_ == nullptr)
        changeTitleTemplateWindow_ =
            new QYChangeTitleTemplateFontWindowController(*this, *presenter_, settings_, this);
    return *changeTitleTemplateWindow_;
}

void QYMainWindowController::changeTitleTemplate() {
    if (!checkContent())
        return;
    const QStringList titles = collectMotionTitles();
    if (titles.isEmpty()) {
        presenter_->runAlert({localized("Warning"),
                              localized("no custom font found."),
                              QString(),
                              {localized("OK")}});
        return;
    }
    QYChangeTitleTemplateFontWindowController& window = changeTitleTemplateWindow();
    window.setCustomTitleTemplateArray(titles);
    window.exec();
}

void QYMainWindowController::changeTitleTemplateOfProject(const QString& xmlPath,
                                                          const QString& titleTemplate,
                                                          const QString& outputPath) {
    dragFCPXFile(xmlPath);
    if (fcpx_.status != FCPXProjectReading::Status::Ok)
        return;
    writeUtf8File(
        outputPath,
        QYExporter::changeFCPXFont(*fcpx_.document, fcpx_.title(), fcpx_.seqFormat, titleTemplate),
        WriteMode::Plain);
}

void QYMainWindowController::didPressBatchChangeFCPXFontMenuItem() {
    const int answer = presenter_->runAlert(
        {localized("Warning"),
         localized("Please change font settings of the first title in your timeline or the first "
                   "title in your subtitle spine. This will change the font settings of all the "
                   "other subtitles automatically. Do you want to continue?"),
         QString(),
         {localized("Cancel"), localized("Continue")},
         0});
    if (answer != 1)
        return;
    const QString path = chooseFileToImport({kFCPXExtension});
    if (path.isEmpty())
        return;
    QTimer::singleShot(kFontChangeDelayMs, this, [this, path] { batchChangeFCPXFont(path); });
}

void QYMainWindowController::batchChangeFCPXFont(const QString& path) {
    const QString output =
        FolderUtility::addStringToFilePath(path, QStringLiteral("_By %1").arg(bundleName()));
    const std::optional<QString> xml = readTextFile(path);
    if (!xml)
        return;
    findSubtitleTemplateFromFCPXXML(*xml);
    if (fcpx_.fcpxChangeFontTitleArray.empty())
        return;
    copyStylingOfFirstTitle(fcpx_.fcpxChangeFontTitleArray);
    writeUtf8File(output, xml::prettyString(*fcpx_.document), WriteMode::Atomic);
    presenter_->runAlert({localized("Success"),
                          localized("Font settings of all subtitles have been changed "
                                    "successfully. The output file has been saved to your "
                                    "original xml file directory. Please import it to FCPX."),
                          QString(),
                          {localized("OK")}});
}

std::vector<xml::Element>
QYMainWindowController::getTextStyleElementArray(const xml::Element& title) {
    std::vector<xml::Element> styles;
    for (const xml::Element& text : xml::childElements(title, "text")) {
        for (const xml::Element& style : xml::childElements(text, "text-style"))
            styles.push_back(style);
    }
    return styles;
}

// --- Final Cut Pro 7 reading --------------------------------------------------------------

void QYMainWindowController::loadDefaultTemplate() {
    QString xml = settings_.getStringFromUserDefaultForKey(kDefaultXMLKey, QString());
    if (xml.isEmpty())
        xml = defaultTemplateXML();
    findSubtitleTemplateFromFCP7XML(xml);
}

void QYMainWindowController::loadXMLFile() {
    if (!checkContent())
        return;
    const QString path = chooseFileToImport({});
    if (path.isEmpty())
        return;
    const std::optional<QString> xml = readTextFile(path);
    if (!xml)
        return;
    QTimer::singleShot(kFCP7ImportDelayMs, this, [this, text = *xml] {
        loadXML(text, settings_.isAutoAssembleVideoAndAudio);
    });
}

void QYMainWindowController::dragXmlFile(const QString& path) {
    const std::optional<QString> xml = readTextFile(path);
    if (xml)
        loadXML(*xml, settings_.isAutoAssembleVideoAndAudio);
}

bool QYMainWindowController::findSubtitleTemplateFromFCP7XML(const QString& xml) {
    std::optional<FCP7SequenceReading> sequence =
        QYFCP7XMLParser::shareInstance().findSubtitleTemplateFromFCP7XML(xml);
    if (sequence)
        textView_->setDuration(sequence->duration);
    if (!sequence || sequence->scriptText.isEmpty()) {
        showWarningMessage(fcp7NoTemplateMessage());
        return false;
    }
    replaceTextInTextView(sequence->scriptText);
    fcp7_ = std::move(sequence);
    textView_->setReadOnly(false);
    textView_->setFocus();
    return true;
}

bool QYMainWindowController::loadXML(const QString& xml, bool showSelectionWindow) {
    if (!readFCP7Sequence(xml))
        return false;
    if (showSelectionWindow)
        showFCP7TrackSelectionSheet(currentFCP7Movie_);
    else if (previewAssembler_ != nullptr)
        previewAssembler_->assembleFCP7Movie(currentFCP7Movie_, false);
    return true;
}

bool QYMainWindowController::readFCP7Sequence(const QString& xml) {
    if (!findSubtitleTemplateFromFCP7XML(xml))
        return false;
    // The track model is built from a document of its own: exports rewrite the kept one.
    const xml::DocumentPtr document = xml::parseDocument(xml);
    const FCPMoviePtr movie =
        QYFCP7XMLParser::shareInstance().loadLaneFromFCP7Document(document->document_element());
    notEmptyTracks_.clear();
    notEmptyTracksTitle_.clear();
    for (qsizetype i = 0; i < movie->videoTrackArray.size(); ++i) {
        if (movie->videoTrackArray[i]->clipItemArray.isEmpty())
            continue;
        notEmptyTracks_ << movie->videoTrackArray[i];
        notEmptyTracksTitle_ << QStringLiteral("V%1").arg(i + 1);
    }
    movie->mainVideoTrack = notEmptyTracks_.value(0);
    movie->secondaryVideoTrack = notEmptyTracks_.value(1);
    currentFCP7Movie_ = movie;
    return true;
}

void QYMainWindowController::showFCP7TrackSelectionSheet(const FCPMoviePtr& movie) {
    const int tracks = static_cast<int>(notEmptyTracksTitle_.size());
    QYTrackSelectionSheet sheet(fcp7AssemblyExplanation(), notEmptyTracksTitle_,
                                tracks > 0 ? 0 : -1, tracks > 1 ? 1 : -1, this);
    const int choice = sheet.run();
    if (choice < 0)
        return;
    movie->mainVideoTrack = notEmptyTracks_.value(sheet.selectedMainTrack());
    movie->secondaryVideoTrack = notEmptyTracks_.value(sheet.selectedSecondaryTrack());
    getCompositionFromFCP7Movie(movie, choice != QYTrackSelectionSheet::AssembleAudioAndVideo);
}

void QYMainWindowController::getCompositionFromFCP7Movie(const FCPMoviePtr& movie, bool onlyAudio) {
    projectNeedComposition_ = true;
    projectOnlyAssembleAudio_ = onlyAudio;
    if (previewAssembler_ != nullptr)
        previewAssembler_->assembleFCP7Movie(movie, onlyAudio);
}

// --- Final Cut Pro 7 and Smoke writing ----------------------------------------------------

QString QYMainWindowController::genNewXML(QString* newName) {
    if (!fcp7_)
        return QString();
    QYExporter exporter(*textView_, clock_);
    exporter.SetDropFrame(fcp7_->mbIsDropFrame, fcp7_->miTimebase);
    return exporter.genNewFCP7XML(*fcp7_->document, fcp7_->seqName, fcp7_->templateItem(), newName);
}

void QYMainWindowController::saveXMLFile() {
    if (!checkXML())
        return;
    const QString path = chooseExportPath(QStringLiteral("output.xml"), QStringLiteral("xml"));
    if (path.isEmpty())
        return;
    writeUtf8File(path, genNewXML(nullptr), WriteMode::Plain);
    openXMLWithFinalCutPro(path);
}

QYExportSmokeWindowController& QYMainWindowController::exportSmokeWindow() {
    if (exportSmokeWindow_ == nullptr) {
        exportSmokeWindow_ = new QYExportSmokeWindowController(*presenter_, settings_, this);
        exportSmokeWindow_->setTextView(textView_);
        exportSmokeWindow_->setUrlOpener([this](const QUrl& url) { openUrl(url); });
    }
    return *exportSmokeWindow_;
}

// The movie's size: the player's movie, else the Final Cut Pro 7 sequence's frame, else HD.
QSize QYMainWindowController::videoSizeForSmoke() const {
    if (moviePlayer_->currentPlayItem()) {
        const QSizeF size = moviePlayer_->quilleryMoviePlayerItem().mainMovieDisplaySize;
        if (!size.isEmpty())
            return size.toSize();
    }
    if (currentFCP7Movie_ && currentFCP7Movie_->movieWidth > 0 &&
        currentFCP7Movie_->movieHeight > 0)
        return {currentFCP7Movie_->movieWidth, currentFCP7Movie_->movieHeight};
    return {kDefaultVideoWidth, kDefaultVideoHeight};
}

void QYMainWindowController::saveSmokeXmlFile() {
    QYExportSmokeWindowController& window = exportSmokeWindow();
    const QSize size = videoSizeForSmoke();
    window.setVideoRate(QYTimeUtility::sharedInstance().getFPS());
    window.setMovieFilePath(movieFilePath_);
    window.setVideoWidth(size.width());
    window.setVideoHeight(size.height());
    window.setVideoDuration(MediaTime::makeWithSeconds(textView_->movieDuration(), 1000));
    window.exec();
}

// --- The project session's host: Final Cut Pro documents ----------------------------------

QString QYMainWindowController::fcp7XMLString() const {
    return fcp7_ ? xml::prettyString(*fcp7_->document) : QString();
}

QString QYMainWindowController::fcp7MovieMainTrackXMLString() const {
    return currentFCP7Movie_ && currentFCP7Movie_->mainVideoTrack
               ? currentFCP7Movie_->mainVideoTrack->xmlElementString
               : QString();
}

QString QYMainWindowController::fcp7MovieSecondTrackXMLString() const {
    return currentFCP7Movie_ && currentFCP7Movie_->secondaryVideoTrack
               ? currentFCP7Movie_->secondaryVideoTrack->xmlElementString
               : QString();
}

QString QYMainWindowController::fcpxXMLString() const {
    return fcpx_.status == FCPXProjectReading::Status::Ok ? xml::prettyString(*fcpx_.document)
                                                          : QString();
}

bool QYMainWindowController::openFCP7Project(const QString& xml, bool needComposition,
                                             bool onlyAudio, const QString& mainTrackXml,
                                             const QString& secondTrackXml) {
    // Assembled once, as the project's choice says: not first from the default tracks.
    if (!readFCP7Sequence(xml))
        return false;
    if (needComposition) {
        QYFCP7XMLParser& parser = QYFCP7XMLParser::shareInstance();
        if (!mainTrackXml.isEmpty())
            currentFCP7Movie_->mainVideoTrack =
                parser.trackFromXMLString(mainTrackXml, FCPTrackType::Video);
        if (!secondTrackXml.isEmpty())
            currentFCP7Movie_->secondaryVideoTrack =
                parser.trackFromXMLString(secondTrackXml, FCPTrackType::Video);
        getCompositionFromFCP7Movie(currentFCP7Movie_, onlyAudio);
    }
    return true;
}

bool QYMainWindowController::openFCPXProject(const QString& xml, bool needComposition,
                                             bool onlyAudio) {
    if (!findSubtitleTemplateFromFCPXXML(xml))
        return false;
    if (needComposition)
        getCompositionFromFCPXXML(xml, onlyAudio);
    return true;
}

} // namespace quillery
