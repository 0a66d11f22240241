#include "QYMainWindowController.h"

#include "HelpResources.h"
#include "Localization.h"
#include "MovieAudioExtractor.h"
#include "NotificationNames.h"
#include "QYConsolidateTextWindowController.h"
#include "QYLog.h"
#include "QYMoviePlayerViewController.h"
#include "QYNotificationCenter.h"
#include "QYPreferenceWindowController.h"
#include "QYProjectSession.h"
#include "QYReplaceTextWindowController.h"
#include "QYSetting.h"
#include "QYToolbarButtonPreferenceWindowController.h"
#include "QYWaveFormView.h"
#include "QYWidgetMessagePresenter.h"
#include "SubtitleFormat.h"
#include "SubtitleTextView.h"
#include "SystemUtility.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QPrinter>
#include <QSpinBox>
#include <QSplitter>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

namespace quillery {

namespace {

// The player pane is at least this wide, and leaves the editor column this much.
constexpr int kMinimumPlayerWidth = 700;
constexpr int kMinimumEditorWidth = 500;
// The waveform pane is between these heights.
constexpr int kMinimumWaveFormHeight = 200;
constexpr int kMaximumWaveFormHeight = 500;
constexpr int kDefaultFontSize = 14;

QString bundleName() {
    return SystemUtility::sharedInstance().getBundleName();
}

} // namespace

QYMainWindowController::QYMainWindowController(QYMessagePresenter* presenter, QYSetting* settings,
                                               QWidget* parent)
    : QMainWindow(parent), settings_(settings ? *settings : QYSetting::shareInstance()),
      urlOpener_([](const QUrl& url) { return QDesktopServices::openUrl(url); }),
      applicationLookup_([](const QString& bundleIdentifier) {
          return SystemUtility::sharedInstance().isApplicationInstalled(bundleIdentifier);
      }),
      clock_(systemClock()) {
    setObjectName(QStringLiteral("QYMainWindowController"));
    if (presenter == nullptr) {
        ownPresenter_ = std::make_unique<QYWidgetMessagePresenter>(this);
        presenter = ownPresenter_.get();
    }
    presenter_ = presenter;
    movieExtensions_ = movieFileExtensions();
    setAcceptDrops(true);
    resize(1400, 900);

    buildPanes();
    textView_->setMoviePlayer(moviePlayer_);
    moviePlayer_->setDelegate(this);
    session_ = std::make_unique<QYProjectSession>(*this, *presenter_, settings_);
    setUpFinalCutPro7Bridge();
    buildMenus();
    connectSession();
    textView_->setTextViewDelegate(this);
    textView_->setFocus();
    loadDefaultTemplate();
    // Starts untitled, empty and saved.
    session_->createNewProject();

    const QFont saved = textView_->font();
    QY_DBG("The current font size is : %d", saved.pointSize());
    currentFontSize_ = saved.pointSize() > 0 ? saved.pointSize() : kDefaultFontSize;
    qApp->installEventFilter(this);
    QYNotificationCenter::sharedInstance().addObserver(
        this, kToolbarButtonPreferenceChangedNotification,
        [this](const Notification&) { initToolBarItems(); });
    QYNotificationCenter::sharedInstance().addObserver(
        this, kLoadWaveFormFinishedNotification,
        [this](const Notification&) { didWaveformLoadingFinished(); });
}

QYMainWindowController::~QYMainWindowController() {
    // The editor outlives this part of the window while Qt tears the children down.
    textView_->setTextViewDelegate(nullptr);
    textView_->setMoviePlayer(nullptr);
    waveFormView_->setDelegate(nullptr);
    cleanMovie();
    moviePlayer_->setDelegate(nullptr);
    qApp->removeEventFilter(this);
    QYNotificationCenter::sharedInstance().removeObserver(this);
}

void QYMainWindowController::setClock(Clock clock) {
    clock_ = clock;
    session_->setClock(std::move(clock));
}

void QYMainWindowController::windowDidLoad() {
    session_->setWindowTitle();
    if (!settings_.isFirstLaunch) {
        initToolBarItems();
        return;
    }
    // A sheet over the window rather than a blocking dialog: a project opened on start-up
    // loads behind it while the question waits.
    auto* choice = new QYToolbarButtonPreferenceWindowController(settings_, this);
    choice->setAttribute(Qt::WA_DeleteOnClose);
    connect(choice, &QDialog::finished, this, &QYMainWindowController::initToolBarItems);
    choice->open();
}

// --- Panes -------------------------------------------------------------------------------

void QYMainWindowController::buildPanes() {
    textView_ = new SubtitleTextView;
    textView_->setObjectName(QStringLiteral("SubtitleTextView"));
    moviePlayer_ = new QYMoviePlayerViewController;
    QWidget* waveFormPane = buildWaveFormPane();

    editorWaveSplit_ = new QSplitter(Qt::Vertical);
    editorWaveSplit_->setObjectName(QStringLiteral("editorAndAudioWaveSplitView"));
    editorWaveSplit_->addWidget(textView_);
    editorWaveSplit_->addWidget(waveFormPane);
    editorWaveSplit_->setChildrenCollapsible(false);

    playerEditorSplit_ = new QSplitter(Qt::Horizontal);
    playerEditorSplit_->setObjectName(QStringLiteral("moviePlayerAndSubtitleEditorSplitView"));
    playerEditorSplit_->addWidget(moviePlayer_);
    playerEditorSplit_->addWidget(editorWaveSplit_);
    playerEditorSplit_->setChildrenCollapsible(false);
    setCentralWidget(playerEditorSplit_);

    moviePlayer_->setMinimumWidth(kMinimumPlayerWidth);
    textView_->setMinimumWidth(kMinimumEditorWidth);
    waveFormPane->setMinimumHeight(kMinimumWaveFormHeight);
    waveFormPane->setMaximumHeight(kMaximumWaveFormHeight);
    playerEditorSplit_->setSizes({kMinimumPlayerWidth, width() - kMinimumPlayerWidth});
    editorWaveSplit_->setSizes({height() - 300, 300});
}

// --- Menus --------------------------------------------------------------------------------

void QYMainWindowController::buildMenus() {
    buildFileMenu();
    buildFinalCutProMenus();
    buildEditMenu();
    buildToolsMenu();
    buildWindowAndHelpMenus();
}

void QYMainWindowController::buildFileMenu() {
    QMenu* file = menuBar()->addMenu(localized("File"));
    file->addAction(localized("New"), QKeySequence::New, [this] { session_->newQuilleryDoc(); });
    file->addAction(localized("Open..."), QKeySequence::Open,
                    [this] { session_->openQuilleryDoc(); });
    recentMenu_ = file->addMenu(localized("Open Recent"));
    file->addSeparator();
    QMenu* importMenu = file->addMenu(localized("Import"));
    QMenu* exportMenu = file->addMenu(localized("Export"));
    fillFormatMenus(importMenu, exportMenu);
    file->addAction(localized("Import SRT File"), [this] { loadSRTFile(); });
    file->addAction(localized("Import Text"), [this] { loadTextFile(); });
    file->addAction(localized("Import Movie"), [this] { loadMovie(); });
    file->addSeparator();
    file->addAction(localized("Export SRT File"), [this] { saveSRTFile(); });
    file->addAction(localized("Export STL File"), [this] { saveSTLFile(); });
    file->addAction(localized("Export Adobe Encore File"), [this] { saveTextScriptFile(); });
    file->addAction(localized("Export Avid File"), [this] { exportAvidFile(); });
    file->addAction(localized("Export WebVTT File"), [this] { exportWebVTTFile(); });
    file->addAction(localized("Export Plain Text File"),
                    [this] { didPressExportPlainTextMenuItem(); });
    file->addAction(localized("Export SMOKE XML File"), [this] { saveSmokeXmlFile(); });
    file->addAction(localized("Export Soft-Subtitled Video"),
                    [this] { exportSoftSubtitledVideo(); });
    file->addSeparator();
    file->addAction(localized("Close"), QKeySequence::Close, [this] { close(); });
    file->addAction(localized("Save %1 Project...").arg(kProjectFileExtension), QKeySequence::Save,
                    [this] { session_->saveQuilleryDoc(); });
    file->addAction(localized("Save As..."), QKeySequence::SaveAs,
                    [this] { session_->saveAsQuilleryDoc(); });
    file->addSeparator();
    file->addAction(localized("Page Setup..."), [this] { pageSetup(); });
    file->addAction(localized("Print..."), QKeySequence::Print, [this] { printDocument(); });
    file->addSeparator();
    file->addAction(localized("Quit %1").arg(bundleName()), QKeySequence::Quit, [this] {
        if (session_->applicationShouldTerminate())
            terminate();
    });
}

void QYMainWindowController::fillFormatMenus(QMenu* importMenu, QMenu* exportMenu) {
    const QList<SubtitleFormat*>& formats = SubtitleFormat::allSubtitleFormats();
    for (int tag = 0; tag < formats.size(); ++tag) {
        const QString name = formats[tag]->name();
        const QString extension = formats[tag]->extension();
        importMenu->addAction(localized("Import %1 File (*.%2)").arg(name, extension),
                              [this, tag] { didPressImportSubtitleFileMenuItem(tag); });
        exportMenu->addAction(localized("Export %1 File (*.%2)").arg(name, extension),
                              [this, tag] { didPressExportSubtitleFileMenuItem(tag); });
    }
}

void QYMainWindowController::buildEditMenu() {
    QMenu* edit = menuBar()->addMenu(localized("Edit"));
    edit->addAction(localized("Undo"), QKeySequence::Undo, textView_, &QPlainTextEdit::undo);
    edit->addAction(localized("Redo"), QKeySequence::Redo, textView_, &QPlainTextEdit::redo);
    edit->addSeparator();
    edit->addAction(localized("Cut"), QKeySequence::Cut, textView_, &QPlainTextEdit::cut);
    edit->addAction(localized("Copy"), QKeySequence::Copy, textView_, &QPlainTextEdit::copy);
    edit->addAction(localized("Paste"), QKeySequence::Paste, textView_, &QPlainTextEdit::paste);
    edit->addAction(localized("Paste and Match Style"), textView_, &QPlainTextEdit::paste);
    edit->addAction(localized("Delete"), [this] { textView_->textCursor().removeSelectedText(); });
    edit->addAction(localized("Select All"), QKeySequence::SelectAll, textView_,
                    &QPlainTextEdit::selectAll);
    edit->addSeparator();
    edit->addAction(localized("Find"), QKeySequence::Find, [this] { showFind(); });
    edit->addSeparator();
    edit->addAction(localized("Preference..."), [this] { showPreference(); });
}

void QYMainWindowController::buildToolsMenu() {
    QMenu* tools = menuBar()->addMenu(localized("Tools"));
    tools->addAction(localized("Convert Time Code Format"), [this] { convertTimeCodeFormat(); });
    tools->addAction(localized("Convert To Bilingual"), [this] { convertDoubleLine(); });
    tools->addAction(localized("Cut Odd Lines"), [this] { cutOddLines(); });
    tools->addAction(localized("Cut Even Lines"), [this] { cutEvenLines(); });
    tools->addAction(localized("Convert Punctuation to Return"), [this] { convertPuntuation(); });
    tools->addAction(localized("Replace Text"), [this] { replaceText(); });
    tools->addAction(localized("Replace Time Code"), [this] { replaceTimeCode(); });
    tools->addAction(localized("Consolidate Text File"), [this] { consolidateText(); });
    tools->addAction(localized("Remove Empty Lines"),
                     [this] { didPressRemoveEmptyLineMenuItem(); });
    tools->addAction(localized("Insert Line Break"), QKeySequence(Qt::SHIFT | Qt::Key_Return),
                     [this] { insertBreakLine(); });
    tools->addSeparator();
    tools->addAction(localized("Insert Current Time Code"), [this] { insertCurrentTimeCode(); });
    tools->addAction(localized("Adjust Time Code..."),
                     [this] { didPressAdjustTimeCodeMenuItem(); });
    tools->addAction(localized("Find Error Timecode"), [this] { findErrorTimeCode(); });
    tools->addAction(localized("Auto Correct Error Timecode"),
                     [this] { autoCorrectErrorTimecode(); });
    tools->addSeparator();
    tools->addAction(localized("Rebuild Waveform Blocks"), [this] { rebuildWaveForm(); });
}

void QYMainWindowController::buildWindowAndHelpMenus() {
    QMenu* window = menuBar()->addMenu(localized("Window"));
    window->addAction(localized("Minimize"), QKeySequence(Qt::CTRL | Qt::Key_M),
                      [this] { showMinimized(); });
    window->addAction(localized("Zoom"),
                      [this] { isMaximized() ? showNormal() : showMaximized(); });
    window->addAction(localized("Bring All To Front"), [this] {
        raise();
        activateWindow();
    });

    QMenu* help = menuBar()->addMenu(localized("Help"));
    help->addAction(localized("Help"), QKeySequence::HelpContents,
                    [this] { openResource(helpPdfPath()); });
    help->addAction(localized("Visit Website"),
                    [this] { openUrl(QUrl(QStringLiteral("https://quillery.org"))); });
    help->addAction(localized("Ask Support/Bug Report"), [this] {
        openUrl(QUrl(QStringLiteral("mailto:support@quillery.org?subject=") + bundleName()));
    });
    help->addSeparator();
    help->addAction(localized("About %1").arg(bundleName()), [this] {
        presenter_->runAlert({localized("About %1").arg(bundleName()),
                              QStringLiteral("%1 %2").arg(
                                  bundleName(), SystemUtility::sharedInstance().getAppVersion()),
                              localized("A subtitle editor for Final Cut Pro editors."),
                              {localized("OK")}});
    });
}

void QYMainWindowController::rebuildRecentMenu(const QStringList& titles) {
    recentMenu_->clear();
    for (int index = 0; index < titles.size(); ++index)
        recentMenu_->addAction(titles[index],
                               [this, index] { session_->openRecentProject(index); });
    recentMenu_->addSeparator();
    recentMenu_->addAction(localized("Clear Menu"), [this] { session_->clearRectentProjects(); });
}

void QYMainWindowController::connectSession() {
    connect(session_.get(), &QYProjectSession::recentProjectMenuChanged, this,
            &QYMainWindowController::rebuildRecentMenu);
    connect(session_.get(), &QYProjectSession::windowTitleChanged, this,
            &QMainWindow::setWindowTitle);
    session_->updateRecentProjectMenu();
    session_->setWindowTitle();
}

// --- Toolbar ------------------------------------------------------------------------------

void QYMainWindowController::initToolBarItems() {
    if (toolBar_ == nullptr) {
        toolBar_ = addToolBar(localized("Toolbar"));
        toolBar_->setObjectName(QStringLiteral("mainToolBar"));
        toolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        toolBar_->setMovable(false);
    }
    toolBar_->clear();
    const QString name = bundleName();
    const bool finalCutPro7 = settings_.isFinalCutPro7ToolBar;
    const auto add = [this](const QString& title, const QString& icon, const QString& tip,
                            auto action) {
        QAction* item = toolBar_->addAction(QIcon::fromTheme(icon), title, action);
        item->setToolTip(tip);
        return item;
    };
    if (finalCutPro7) {
        add(localized("1.Get FCP7 Sequence"), QStringLiteral("import_xml"),
            localized("Create a new video track on the top of Final Cut Pro timeline. Then make "
                      "a Sample Text on the top video track and change the Font,Color and "
                      "Position. %1 support \"Text\" , \"Outline Text\" or 3rd-Party \"Text UP "
                      "2\". All the subtitles in Quillery will be the same font setting with this "
                      "Sample Text.")
                .arg(name),
            [this] { loadFromFinalCutPro(); });
    } else {
        add(localized("1.Import FCPXXML"), QStringLiteral("import_xml"),
            localized("Please make a Title Template connecting to a clip in FCPX main track. You "
                      "can change the font settings to the title template. Then you should "
                      "export the project to xml file by Menu File->Export XML..."),
            [this] { loadFinalCutProXXML(); });
    }
    add(localized("2.Import Video"), QStringLiteral("import_video"),
        localized("Load Mov exported from Final Cut Pro. From Final Cut Pro Menu "
                  "\"File-Export-Quicktime Movie\". Untick the Make \"Movie Self-contained\" will "
                  "save disk space and export duration."),
        [this] { loadMovie(); });
    add(localized("3.Import Text"), QStringLiteral("import_text"),
        localized("Load plain TEXT file created by Mac OS or Windows. One sentence per line. You "
                  "can copy and paste text from any software instead. You can also edit the "
                  "text after Load or Paste"),
        [this] { loadTextFile(); });
    add(localized("4.Make Timecode"), QStringLiteral("make_timecode"),
        localized("Place the mouse cursor to the line you want to HAND timecodes. Press TAB on "
                  "the keyboard or click the PLAY icon to play or pause video. Press Spacebar to "
                  "generate IN and OUT timecodes."),
        [this] { makeTimeCode(); });
    if (finalCutPro7) {
        add(localized("5.Send to FCP7"), QStringLiteral("export_xml"),
            localized("Please check the timecodes before and after the timecode remarked with red "
                      "or yellow underline. After succeeding the Send to FCP, return to Final Cut "
                      "Pro and open the new sequence named like ***from %1***.")
                .arg(name),
            [this] { sendToFinalCutPro(); });
    } else {
        add(localized("5.Send to FCPX"), QStringLiteral("export_xml"),
            localized("After xml file exported, please go to FCPX and import this xml file by "
                      "clicking on Menu File->Import->XML..."),
            [this] { sendToFCPX(); });
    }
    add(localized("Help"), QStringLiteral("help"), localized("Show Help"),
        [this] { openResource(helpPdfPath()); });
    add(localized("Support"), QStringLiteral("support"), localized("Send support email to us"),
        [this] { openUrl(QUrl(QStringLiteral("mailto:support@quillery.org"))); });
    add(localized("Preference"), QStringLiteral("preference"), localized("Show preference"),
        [this] { showPreference(); });

    toolBar_->addSeparator();
    toolBar_->addWidget(new QLabel(localized("Font Size") + u' '));
    fontSizeControl_ = new QSpinBox;
    fontSizeControl_->setObjectName(QStringLiteral("fontSizeControl"));
    fontSizeControl_->setRange(8, 72);
    fontSizeControl_->setValue(currentFontSize_);
    connect(fontSizeControl_, &QSpinBox::valueChanged, this,
            &QYMainWindowController::setCurrentFontSize);
    toolBar_->addWidget(fontSizeControl_);
}

// --- The whole script ----------------------------------------------------------------------

void QYMainWindowController::replaceTextInTextView(const QString& text) {
    textView_->replaceWholeText(text);
    session_->markUnsaved();
}

bool QYMainWindowController::checkContent() {
    if (textView_->toPlainText().isEmpty())
        return true;
    return askToContinue(*presenter_,
                         localized("The current text in editor will be cleared. If you don't save "
                                   "project, please save the project first."));
}

bool QYMainWindowController::checkXML() {
    return fcp7Bridge_->checkXML();
}

void QYMainWindowController::showWarningMessage(const QString& text) {
    quillery::showWarningMessage(*presenter_, text);
}

// --- Window -------------------------------------------------------------------------------

void QYMainWindowController::setCurrentFontSize(int points) {
    currentFontSize_ = points;
    QY_DBG("Set the current font size : %d", points);
    textView_->setEditorFont(QFont(QStringLiteral("Helvetica"), points));
    QFont waveFormFont = QApplication::font();
    waveFormFont.setPointSize(std::max(1, points - 2));
    waveFormView_->setEditTextFont(waveFormFont);
    if (fontSizeControl_ && fontSizeControl_->value() != points)
        fontSizeControl_->setValue(points);
}

void QYMainWindowController::showPreference() {
    if (preferenceWindow_ == nullptr)
        preferenceWindow_ = new QYPreferenceWindowController(settings_, *presenter_, this);
    preferenceWindow_->setMenuKeyEquivalents(menuKeyEquivalents(menuBar()->actions()));
    preferenceWindow_->refreshFields();
    preferenceWindow_->exec();
}

void QYMainWindowController::showFind() {
    bool ok = false;
    const QString needle = QInputDialog::getText(this, localized("Find"), localized("Find:"),
                                                 QLineEdit::Normal, QString(), &ok);
    if (!ok || needle.isEmpty())
        return;
    if (!textView_->find(needle)) {
        // Not found after the caret: look again from the top.
        textView_->moveCursor(QTextCursor::Start);
        textView_->find(needle);
    }
}

void QYMainWindowController::openResource(const QString& path) {
    if (path.isEmpty()) {
        showWarningMessage(localized("The help could not be written to the caches folder."));
        return;
    }
    openUrl(QUrl::fromLocalFile(path));
}

void QYMainWindowController::openUrl(const QUrl& url) {
    if (urlOpener_(url))
        return;
    if (url.isLocalFile()) {
        const QFileInfo file(url.toLocalFile());
        showWarningMessage(localized("No program on this desktop opens %1. The file is in %2: "
                                     "open it from there, or install a viewer for it (for PDF "
                                     "files, for example, the evince package).")
                               .arg(file.fileName(), file.absolutePath()));
    } else if (url.scheme() == u"mailto") {
        showWarningMessage(
            localized("No e-mail program is set up on this desktop. Please write to %1.")
                .arg(url.path()));
    } else {
        showWarningMessage(localized("No web browser is set up on this desktop. Please visit %1.")
                               .arg(url.toString()));
    }
}

// --- The editor's delegate ------------------------------------------------------------------

void QYMainWindowController::textViewDidChange() {
    session_->markUnsaved();
}

bool QYMainWindowController::shouldResignFirstResponder() {
    // While the movie plays the timing keys must keep reaching the editor, unless the
    // user is typing a subtitle's text on the waveform.
    return !moviePlayer_->isPlaying() || waveFormView_->isWaveFormEditing();
}

void QYMainWindowController::didDragFileIntoTextView(const QList<QUrl>& files) {
    for (const QUrl& file : files) {
        if (file.isLocalFile())
            didDragFileIntoView(file.toLocalFile());
    }
}

// --- Events -------------------------------------------------------------------------------

void QYMainWindowController::closeEvent(QCloseEvent* event) {
    if (terminating_ || session_->windowShouldClose()) {
        event->accept();
        return;
    }
    event->ignore();
}

void QYMainWindowController::terminate() {
    terminating_ = true;
    QTimer::singleShot(0, qApp, &QCoreApplication::quit);
}

bool QYMainWindowController::eventFilter(QObject* watched, QEvent* event) {
    // Key strokes anywhere in the window reach the editor's shortcuts first.
    if (event->type() != QEvent::KeyPress || watched == textView_ ||
        watched == textView_->viewport())
        return QMainWindow::eventFilter(watched, event);
    auto* widget = qobject_cast<QWidget*>(watched);
    // Text typed into a block on the waveform is text, not shortcuts.
    if (widget == nullptr || widget->window() != this || !widget->isVisible() ||
        waveFormView_->isInlineEditor(widget))
        return QMainWindow::eventFilter(watched, event);
    return textView_->handleKeyEvent(static_cast<QKeyEvent*>(event)) ||
           QMainWindow::eventFilter(watched, event);
}

void QYMainWindowController::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void QYMainWindowController::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    didDragFileIntoTextView(event->mimeData()->urls());
}

// --- The project session's host -------------------------------------------------------------

QString QYMainWindowController::scriptText() const {
    return textView_->toPlainText();
}

void QYMainWindowController::clean() {
    movieFilePath_.clear();
    cleanMovie();
    raise();
    activateWindow();
}

} // namespace quillery
