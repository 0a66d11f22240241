// The main window and the hub of the application: it owns the script editor, the player
// and waveform panes, the tool dialogs and the open project, turns menu commands, toolbar
// buttons, dropped files and key strokes into calls on them, and is the delegate they
// report back to.
//
// The class is spread over files by concern: QYMainWindowController.cpp builds the window
// and forwards between its parts; QYMainWindowImports.cpp routes and imports files;
// QYMainWindowExports.cpp writes the export formats; QYMainWindowTools.cpp holds the Tools
// menu; QYMainWindowMedia.cpp opens movies and drives the player and the waveform;
// QYMainWindowFCP.cpp reads and writes Final Cut Pro projects and sequences;
// QYMainWindowBridge.cpp exchanges sequences with a running Final Cut Pro 7;
// QYMainWindowSoftSubtitles.cpp writes soft-subtitled movies; QYMainWindowPrint.cpp prints;
// QYMainWindowWaveform.cpp answers the waveform editor and holds its commands.
#pragma once

#include "QYAdjustTimeCodeWindowController.h"
#include "QYChangeTitleTemplateFontWindowController.h"
#include "QYClock.h"
#include "QYFCP7Bridge.h"
#include "QYFCP7XMLParser.h"
#include "QYFCPXXMLParser.h"
#include "QYMoviePlayerDelegate.h"
#include "QYPreviewAssembler.h"
#include "QYProjectHost.h"
#include "QYWaveFormViewDelegate.h"
#include "SubtitleTextViewDelegate.h"
#include "WaveformStoreCache.h"

#include <QMainWindow>
#include <QSize>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QButtonGroup;
class QHBoxLayout;
class QLabel;
class QSlider;
class QMenu;
class QPrinter;
class QSpinBox;
class QSplitter;
class QToolBar;

namespace quillery {

class MovieAudioExtractor;
class QYConsolidateTextWindowController;
class QYExportSmokeWindowController;
class QYMessagePresenter;
class QYMoviePlayerViewController;
class QYWaveFormView;
class WaveformLayer;
struct MoviePlayerItem;
struct QuilleryMoviePlayerItem;
class QYPreferenceWindowController;
class QYProjectSession;
class QYReplaceTextWindowController;
class QYSetting;
class SubtitleFormat;
class SubtitleTextView;

class QYMainWindowController : public QMainWindow,
                               public SubtitleTextViewDelegate,
                               public QYProjectHost,
                               public QYAdjustTimeCodeDelegate,
                               public QYMoviePlayerDelegate,
                               public QYChangeTitleTemplateFontDelegate,
                               public QYFCP7BridgeHost,
                               public QYWaveFormViewDelegate,
                               public QYPreviewAssembler {
    Q_OBJECT

public:
    // Opens web addresses and files in other applications, false when the desktop has no
    // program for them; tests record instead.
    using UrlOpener = std::function<bool(const QUrl&)>;
    // Whether an application is installed, by its bundle identifier.
    using ApplicationLookup = std::function<bool(const QString&)>;

    // presenter and settings default to the real dialogs and the user's preferences.
    explicit QYMainWindowController(QYMessagePresenter* presenter = nullptr,
                                    QYSetting* settings = nullptr, QWidget* parent = nullptr);
    ~QYMainWindowController() override;

    SubtitleTextView* textView() const { return textView_; }
    QYProjectSession& session() const { return *session_; }
    QYMessagePresenter& presenter() const { return *presenter_; }
    void setUrlOpener(UrlOpener opener) { urlOpener_ = std::move(opener); }
    void setApplicationLookup(ApplicationLookup lookup) { applicationLookup_ = std::move(lookup); }
    // The clock that dates generated names: exported projects, sequences and autosaves.
    void setClock(Clock clock);
    // Receives the timelines of Final Cut Pro imports: the window itself unless set; none
    // means nothing is assembled.
    void setPreviewAssembler(QYPreviewAssembler* assembler) { previewAssembler_ = assembler; }
    // The Motion title library; "~/Movies/Motion Templates.localized/Titles.localized" unless
    // set.
    void setMotionTitleLibraryFolder(const QString& folder) { motionTitleLibraryFolder_ = folder; }
    // Hands the address to the desktop; when nothing there opens it, says where the file
    // is or what to use instead.
    void openUrl(const QUrl& url);
    // Builds the toolbar, first asking on a first launch which Final Cut Pro it serves.
    void windowDidLoad();

    // --- The whole script ----------------------------------------------------------
    void replaceTextInTextView(const QString& text) override;
    bool checkContent() override;
    bool checkXML();
    void showWarningMessage(const QString& text);

    // --- Files in (QYMainWindowImports.cpp) ---------------------------------------------
    void didDragFileIntoView(const QString& path);
    void openSubtitleFile(const QString& path);
    void loadSRTFile();
    void loadSRTFileFromURL(const QString& path);
    void loadTextFile();
    void dragTextFile(const QString& path);
    void dragDocFile(const QString& path);
    void dragRtfFile(const QString& path);
    void didPressImportSubtitleFileMenuItem(int tag);
    // A request from the system to open a file: only projects are accepted, one second on.
    static bool acceptsOpenRequest(const QString& path);
    void openFileOnRequest(const QString& path);

    // --- Movie and waveform (QYMainWindowMedia.cpp) ------------------------------------
    void loadMovie();
    void openMovie(const QString& path) override;
    void updateUIAfterLoadMovie(const QuilleryMoviePlayerItem& item);
    QYMoviePlayerViewController* moviePlayer() const { return moviePlayer_; }
    QYWaveFormView* waveFormView() const { return waveFormView_; }
    const std::vector<std::unique_ptr<MovieAudioExtractor>>& audioExtractors() const {
        return extractors_;
    }
    void refreshSubtitleAtTime(const MediaTime& time);
    void didWaveformSliderChanged(int value);
    void didPressLeftAndRightChannelButton();
    void didPressLeftChannelButton();
    void didPressRightChannelButton();
    // Where finished waveforms are kept; tests point it at a folder of their own.
    void setWaveformCache(const WaveformStoreCache& cache) { waveformCache_ = cache; }

    // --- The movie player's delegate ------------------------------------------------------
    bool moviePlayerShouldBeginPlay(QYMoviePlayerViewController* player) override;
    bool moviePlayerShouldPause(QYMoviePlayerViewController* player) override;
    void moviePlayerDidPlay(QYMoviePlayerViewController* player,
                            bool isPlayRepeatSubtitle) override;
    void moviePlayerDidGotoTime(QYMoviePlayerViewController* player,
                                const MediaTime& time) override;
    SubtitleLinePtr moviePlayerDisplaySubtitleAtTime(QYMoviePlayerViewController* player,
                                                     const MediaTime& time) override;
    void jumpToCurrentSubtitleLine(const MediaTime& time) override;

    // --- Final Cut Pro X (QYMainWindowFCP.cpp) ---------------------------------------------
    void loadFinalCutProXXML();
    void dragFCPXFile(const QString& path);
    void loadFCPXXml(const QString& xml);
    bool findSubtitleTemplateFromFCPXXML(const QString& xml);
    void getCompositionFromFCPXXML(const QString& xml, bool onlyAudio);
    void saveFinalCutProXXML();
    void sendToFCPX();
    void openXMLWithFinalCutPro(const QString& path);
    bool isApplicationInstalled(const QString& bundleIdentifier) const;
    void changeTitleTemplate();
    void changeTitleTemplateOfProject(const QString& xmlPath, const QString& titleTemplate,
                                      const QString& outputPath) override;
    void didPressBatchChangeFCPXFontMenuItem();
    void batchChangeFCPXFont(const QString& path);
    // The "text-style" elements of the title's "text" children, in order.
    static std::vector<xml::Element> getTextStyleElementArray(const xml::Element& title);
    // The last project read, whatever came of it; its title is empty unless it succeeded.
    const FCPXProjectReading& fcpxProject() const { return fcpx_; }

    // --- Final Cut Pro 7 (QYMainWindowFCP.cpp) ---------------------------------------------
    void loadXMLFile();
    void dragXmlFile(const QString& path);
    // Reads the sequence's subtitles and template, builds its track model and either asks
    // which tracks to assemble or assembles the default ones; false when it holds no
    // subtitle template. Sequences fetched from Final Cut Pro arrive here too.
    bool loadXML(const QString& xml, bool showSelectionWindow);
    bool findSubtitleTemplateFromFCP7XML(const QString& xml);
    void getCompositionFromFCP7Movie(const FCPMoviePtr& movie, bool onlyAudio);
    // The current sequence rewritten with the script's subtitles, as XML text to save or
    // send; newName receives the new sequence name.
    QString genNewXML(QString* newName) override;
    void saveXMLFile();
    void saveSmokeXmlFile();
    const std::optional<FCP7SequenceReading>& fcp7Sequence() const { return fcp7_; }
    FCPMoviePtr currentFCP7Movie() const { return currentFCP7Movie_; }
    // The menu the Final Cut Pro 7 commands live in.
    QMenu* finalCutPro7Menu() const { return finalCutPro7Menu_; }
    QYExportSmokeWindowController& exportSmokeWindow();
    QYChangeTitleTemplateFontWindowController& changeTitleTemplateWindow();

    // --- The waveform editor (QYMainWindowWaveform.cpp) ----------------------------------
    QList<SubtitleLinePtr> subtitleForStartTime(double a, double b) override;
    SubtitleLinePtr previousSubtitleLineForLine(const SubtitleLine* line) override;
    SubtitleLinePtr nextSubtitleLineForLine(const SubtitleLine* line) override;
    bool didRecieveKeydownEvent(QKeyEvent* event) override;
    // The drag-speed choice: 0 drags at normal speed, 1 at twice the speed.
    void didChangeDragPlayRate(int choice);
    // Every block and overview stripe again, from the script as it stands.
    void rebuildWaveForm();

    // --- The preview of a timeline (QYMainWindowPreview.cpp) -------------------------------
    // Assembles the sequence's preview and plays it; clips whose files are missing stay
    // black and a warning names the files.
    void assembleFCP7Movie(const FCPMoviePtr& movie, bool onlyAudio) override;
    // Assembles the project's preview and plays it half a second later; a missing picture
    // file is reported instead.
    void assembleFCPXProject(const QString& xmlText, bool onlyAudio) override;

    // --- Files out (QYMainWindowExports.cpp) --------------------------------------------
    void saveSRTFile();
    void saveSTLFile();
    void saveTextScriptFile();
    void exportAvidFile();
    void exportWebVTTFile();
    void didPressExportSubtitleFileMenuItem(int tag);
    void didPressExportPlainTextMenuItem();

    // A copy of the loaded movie, or of the preview playing, with the subtitles as a track
    // the viewer can switch on.
    void exportSoftSubtitledVideo();

    // --- Final Cut Pro 7 (QYMainWindowBridge.cpp) ---------------------------------------
    void loadFromFinalCutPro();
    void sendToFinalCutPro();
    void batchChangeFont();
    QYFCP7Bridge& fcp7Bridge() const { return *fcp7Bridge_; }
    bool hasFCP7Document() const override;
    bool loadFetchedSequenceXML(const QString& xml) override;
    bool hasTimeStringErrors() override;

    // --- Printing (QYMainWindowPrint.cpp) -------------------------------------------------
    void pageSetup();
    void printDocument();
    // The script as the editor shows it, on the printer's pages.
    void printScript(QPrinter& printer) const;

    // --- Tools (QYMainWindowTools.cpp) ----------------------------------------------
    void convertTimeCodeFormat();
    void convertDoubleLine();
    void cutOddLines();
    void cutEvenLines();
    void insertBreakLine();
    void replaceText();
    void replaceTimeCode();
    void didPressRemoveEmptyLineMenuItem();
    void autoCorrectErrorTimecode();
    void findErrorTimeCode();
    void convertPuntuation();
    void consolidateText();
    void insertCurrentTimeCode();
    void didPressAdjustTimeCodeMenuItem();
    void adjustTimeCodeWithTime(const MediaTime& time, bool isForward) override;
    void makeTimeCode();
    QYReplaceTextWindowController& replaceTextWindow();
    QYConsolidateTextWindowController& consolidateTextWindow();
    QYAdjustTimeCodeWindowController& adjustTimeCodeWindow();

    // --- Window ---------------------------------------------------------------------
    void setCurrentFontSize(int points);
    int currentFontSize() const { return currentFontSize_; }
    void showPreference();
    void initToolBarItems();
    QToolBar* toolBar() const { return toolBar_; }
    QSplitter* moviePlayerAndSubtitleEditorSplitView() const { return playerEditorSplit_; }
    QSplitter* editorAndAudioWaveSplitView() const { return editorWaveSplit_; }

    // --- The editor's delegate ----------------------------------------------------------
    void textViewDidChange() override;
    bool shouldResignFirstResponder() override;
    void didDragFileIntoTextView(const QList<QUrl>& files) override;
    void didSelectedTimeCode(const MediaTime& time) override;
    void decreaseWaveFormSlider() override;
    void increaseWaveFormSlider() override;
    void decreaseWaveFormYAxisZoomRate() override;
    void increaseWaveFormYAxisZoomRate() override;

    // --- The project session's host -----------------------------------------------------
    QString scriptText() const override;
    QString fcp7XMLString() const override;
    QString fcp7MovieMainTrackXMLString() const override;
    QString fcp7MovieSecondTrackXMLString() const override;
    QString fcpxXMLString() const override;
    QString movieFilePath() const override { return movieFilePath_; }
    bool projectNeedComposition() const override { return projectNeedComposition_; }
    bool projectOnlyAssembleAudio() const override { return projectOnlyAssembleAudio_; }
    bool openFCP7Project(const QString& xml, bool needComposition, bool onlyAudio,
                         const QString& mainTrackXml, const QString& secondTrackXml) override;
    bool openFCPXProject(const QString& xml, bool needComposition, bool onlyAudio) override;
    void setDuration() override;
    void clean() override;
    void terminate() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void buildPanes();
    QWidget* buildWaveFormPane();
    void addWaveFormEditingControls(QHBoxLayout* controls);
    void cleanMovie();
    void replaceWaveFormLayer(std::shared_ptr<WaveformLayer> layer);
    void didWaveformLoadingFinished();
    void buildMenus();
    void buildFileMenu();
    void setUpFinalCutPro7Bridge();
    void addFinalCutPro7BridgeItems(QMenu* menu);
    void buildEditMenu();
    void buildToolsMenu();
    void buildWindowAndHelpMenus();
    void buildFinalCutProMenus();
    void fillFormatMenus(QMenu* importMenu, QMenu* exportMenu);
    void rebuildRecentMenu(const QStringList& titles);
    void connectSession();
    void loadDefaultTemplate();
    void afterSubRipImport();
    void showFCPXAssemblySheet(const QString& xml);
    void showFCP7TrackSelectionSheet(const FCPMoviePtr& movie);
    // Reads the sequence's subtitles and template and builds its track model with its
    // default main and secondary tracks; false when it holds no subtitle template.
    bool readFCP7Sequence(const QString& xml);
    void playPreview(const QuilleryMoviePlayerItem& item, const QStringList& missingFiles);
    // The preview playing, or none when the player plays a movie file or nothing.
    std::shared_ptr<const MoviePlayerItem> playingPreview() const;
    void exportSoftSubtitledPreview(const std::shared_ptr<const MoviePlayerItem>& preview);
    // The script's cues at the frame rate; empty, and the user told, when none is timed.
    QString softSubtitleCues(double fps);
    // Asks where the copy goes, proposing name.extension in the folder; empty when cancelled.
    QString chooseSoftSubtitledVideoPath(const QString& folder, const QString& name,
                                         const QString& extension, const QStringList& extensions);
    // Runs the export under a progress dialog that can cancel it: work gets a callback for the
    // fraction done, false once the user cancelled, and returns what went wrong, if anything.
    using ExportWork = std::function<QString(const std::function<bool(double)>& progress)>;
    void runWithExportProgress(const QString& label, const ExportWork& work);
    bool canExportFCPX();
    QString proposedFCPXFileName() const;
    void writeFCPXDocuments(const QString& projectPath);
    QStringList collectMotionTitles() const;
    QSize videoSizeForSmoke() const;
    std::optional<QString> readTextFile(const QString& path);
    void showFind();
    QString chooseFileToImport(const QStringList& types);
    // Says why the file cannot be read (missing, a folder, refused...); false when it can.
    bool warnIfUnreadable(const QString& path);
    QString chooseExportPath(const QString& proposedName, const QString& type);
    void openResource(const QString& path);
    QPrinter& printer();

    std::unique_ptr<QYMessagePresenter> ownPresenter_;
    QYMessagePresenter* presenter_;
    QYSetting& settings_;
    UrlOpener urlOpener_;
    std::unique_ptr<QYProjectSession> session_;

    SubtitleTextView* textView_ = nullptr;
    QYMoviePlayerViewController* moviePlayer_ = nullptr;
    QYWaveFormView* waveFormView_ = nullptr;
    QSlider* waveFormSlider_ = nullptr;
    QButtonGroup* dragPlayRateControl_ = nullptr;
    std::shared_ptr<WaveformLayer> waveformLayer_;
    std::vector<std::unique_ptr<MovieAudioExtractor>> extractors_;
    WaveformStoreCache waveformCache_;
    QSplitter* playerEditorSplit_ = nullptr;
    QSplitter* editorWaveSplit_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QSpinBox* fontSizeControl_ = nullptr;
    QMenu* recentMenu_ = nullptr;

    QYReplaceTextWindowController* replaceTextWindow_ = nullptr;
    QYConsolidateTextWindowController* consolidateTextWindow_ = nullptr;
    QYAdjustTimeCodeWindowController* adjustTimeCodeWindow_ = nullptr;
    QYPreferenceWindowController* preferenceWindow_ = nullptr;
    QYExportSmokeWindowController* exportSmokeWindow_ = nullptr;
    QYChangeTitleTemplateFontWindowController* changeTitleTemplateWindow_ = nullptr;
    QMenu* finalCutPro7Menu_ = nullptr;

    ApplicationLookup applicationLookup_;
    Clock clock_;
    QYPreviewAssembler* previewAssembler_ = this;
    QString motionTitleLibraryFolder_;

    // Final Cut Pro X: the project read last and the file it came from.
    FCPXProjectReading fcpx_;
    QString fcpxFilename_;
    // Final Cut Pro 7: the sequence read last (its document is rewritten by each export)
    // and its track model with the video tracks that hold clips.
    std::optional<FCP7SequenceReading> fcp7_;
    FCPMoviePtr currentFCP7Movie_;
    QList<FCPTrackPtr> notEmptyTracks_;
    QStringList notEmptyTracksTitle_;
    bool projectNeedComposition_ = false;
    bool projectOnlyAssembleAudio_ = false;

    std::unique_ptr<AppleEventTransport> appleEventTransport_;
    std::unique_ptr<QYFCP7Bridge> fcp7Bridge_;
    // Made on first use; keeps the page setup between prints.
    std::unique_ptr<QPrinter> printer_;

    QString movieFilePath_;
    QStringList movieExtensions_;
    int currentFontSize_ = 14;
    bool terminating_ = false;
};

} // namespace quillery
