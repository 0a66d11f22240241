// The main window and the hub of the application: it owns the script editor, the player
// and waveform panes, the tool dialogs and the open project, turns menu commands, toolbar
// buttons, dropped files and key strokes into calls on them, and is the delegate they
// report back to.
//
// The class is spread over files by concern: QYMainWindowController.cpp builds the window
// and forwards between its parts; QYMainWindowImports.cpp routes and imports files;
// QYMainWindowExports.cpp writes the export formats; QYMainWindowTools.cpp holds the Tools
// menu; QYMainWindowMedia.cpp opens movies and drives the player and the waveform.
#pragma once

#include "FCP7SubtitleTemplate.h"
#include "QYAdjustTimeCodeWindowController.h"
#include "QYMoviePlayerDelegate.h"
#include "QYProjectHost.h"
#include "SubtitleTextViewDelegate.h"
#include "WaveformStoreCache.h"

#include <QMainWindow>
#include <QStringList>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QSlider;
class QMenu;
class QSpinBox;
class QSplitter;
class QToolBar;

namespace quillery {

class MovieAudioExtractor;
class QYConsolidateTextWindowController;
class QYMessagePresenter;
class QYMoviePlayerViewController;
class QYWaveFormView;
class WaveformLayer;
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
                               public QYMoviePlayerDelegate {
    Q_OBJECT

public:
    // Opens web addresses and files in other applications; tests record instead.
    using UrlOpener = std::function<void(const QUrl&)>;

    // presenter and settings default to the real dialogs and the user's preferences.
    explicit QYMainWindowController(QYMessagePresenter* presenter = nullptr,
                                    QYSetting* settings = nullptr, QWidget* parent = nullptr);
    ~QYMainWindowController() override;

    SubtitleTextView* textView() const { return textView_; }
    QYProjectSession& session() const { return *session_; }
    QYMessagePresenter& presenter() const { return *presenter_; }
    void setUrlOpener(UrlOpener opener) { urlOpener_ = std::move(opener); }
    // Builds the toolbar, first asking on a first launch which Final Cut Pro it serves.
    void windowDidLoad();

    // --- The whole script ----------------------------------------------------------
    void replaceTextInTextView(const QString& text) override;
    bool checkContent();
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
    void loadXMLFile();
    void dragXmlFile(const QString& path);
    void dragFCPXFile(const QString& path);
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

    // --- Files out (QYMainWindowExports.cpp) --------------------------------------------
    void saveSRTFile();
    void saveSTLFile();
    void saveTextScriptFile();
    void exportAvidFile();
    void exportWebVTTFile();
    void didPressExportSubtitleFileMenuItem(int tag);
    void didPressExportPlainTextMenuItem();

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
    QString fcp7XMLString() const override { return fcp7XMLString_; }
    QString fcp7MovieMainTrackXMLString() const override { return QString(); }
    QString fcp7MovieSecondTrackXMLString() const override { return QString(); }
    QString fcpxXMLString() const override { return fcpxXMLString_; }
    QString movieFilePath() const override { return movieFilePath_; }
    bool projectNeedComposition() const override { return false; }
    bool projectOnlyAssembleAudio() const override { return false; }
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
    void cleanMovie();
    void replaceWaveFormLayer(std::shared_ptr<WaveformLayer> layer);
    void didWaveformLoadingFinished();
    void buildMenus();
    void buildFileMenu();
    void buildEditMenu();
    void buildToolsMenu();
    void buildWindowAndHelpMenus();
    void fillFormatMenus(QMenu* importMenu, QMenu* exportMenu);
    void rebuildRecentMenu(const QStringList& titles);
    void connectSession();
    void loadDefaultTemplate();
    bool findSubtitleTemplateFromFCP7XML(const QString& xml);
    void afterSubRipImport();
    void showFind();
    QString chooseFileToImport(const QStringList& types);
    QString chooseExportPath(const QString& proposedName, const QString& type);
    void openResource(const QString& path);

    std::unique_ptr<QYMessagePresenter> ownPresenter_;
    QYMessagePresenter* presenter_;
    QYSetting& settings_;
    UrlOpener urlOpener_;
    std::unique_ptr<QYProjectSession> session_;

    SubtitleTextView* textView_ = nullptr;
    QYMoviePlayerViewController* moviePlayer_ = nullptr;
    QYWaveFormView* waveFormView_ = nullptr;
    QSlider* waveFormSlider_ = nullptr;
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

    std::optional<FCP7SubtitleTemplate> currentFCP7Template_;
    QString fcp7XMLString_;
    QString fcpxXMLString_;
    QString movieFilePath_;
    QStringList movieExtensions_;
    int currentFontSize_ = 14;
    bool terminating_ = false;
};

} // namespace quillery
