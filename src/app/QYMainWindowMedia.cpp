// The main window's movie side: opening a movie, reading its audio into the waveform,
// the waveform pane with its zoom, gain and channel commands, and the calls the movie
// player makes on its delegate (the subtitle to show over the picture, the highlight in
// the script editor and the next-subtitle label).
#include "Localization.h"
#include "MovieAudioExtractor.h"
#include "NotificationNames.h"
#include "QYLog.h"
#include "QYMainWindowController.h"
#include "QYMoviePlayerViewController.h"
#include "QYNotificationCenter.h"
#include "QYProjectSession.h"
#include "QYSetting.h"
#include "QYWaveFormView.h"
#include "SubtitleTextView.h"
#include "SystemUtility.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QSlider>
#include <QToolButton>
#include <QVBoxLayout>

namespace quillery {

namespace {

// Movies this short are refused: too little to time subtitles against.
constexpr double kShortestMovieSeconds = 10.0;
// The zoom slider's steps: the zoom is value / maximum.
constexpr int kWaveFormSliderMinimum = 1;
constexpr int kWaveFormSliderMaximum = 100;
constexpr double kYAxisZoomStep = 0.3;
constexpr double kLeastYAxisZoom = 0.1;
constexpr double kMostYAxisZoom = 5.0;

QToolButton* paneButton(const QString& text, const QString& tip) {
    auto* button = new QToolButton;
    button->setText(text);
    button->setToolTip(tip);
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

QWidget* QYMainWindowController::buildWaveFormPane() {
    waveFormView_ = new QYWaveFormView;
    waveFormSlider_ = new QSlider(Qt::Horizontal);
    waveFormSlider_->setObjectName(QStringLiteral("waveFormSlider"));
    waveFormSlider_->setRange(kWaveFormSliderMinimum, kWaveFormSliderMaximum);
    waveFormSlider_->setMaximumWidth(200);
    waveFormSlider_->setToolTip(localized("Waveform zoom"));
    waveFormSlider_->setFocusPolicy(Qt::NoFocus);
    replaceWaveFormLayer(std::make_shared<WaveformLayer>(settings_));
    waveFormSlider_->setValue(
        static_cast<int>(settings_.waveFormZoomRate * kWaveFormSliderMaximum));
    connect(waveFormSlider_, &QSlider::valueChanged, this,
            &QYMainWindowController::didWaveformSliderChanged);

    auto* both = paneButton(localized("L+R"), localized("Show both channels"));
    auto* left = paneButton(localized("L"), localized("Show the left channel"));
    auto* right = paneButton(localized("R"), localized("Show the right channel"));
    auto* quieter = paneButton(QStringLiteral("\u2212"), localized("Lower the waveform (⌥-)"));
    auto* louder = paneButton(QStringLiteral("+"), localized("Raise the waveform (⌥=)"));
    connect(both, &QToolButton::clicked, this, [this] { didPressLeftAndRightChannelButton(); });
    connect(left, &QToolButton::clicked, this, [this] { didPressLeftChannelButton(); });
    connect(right, &QToolButton::clicked, this, [this] { didPressRightChannelButton(); });
    connect(quieter, &QToolButton::clicked, this, [this] { decreaseWaveFormYAxisZoomRate(); });
    connect(louder, &QToolButton::clicked, this, [this] { increaseWaveFormYAxisZoomRate(); });

    auto* controls = new QHBoxLayout;
    for (QToolButton* button : {both, left, right, quieter, louder})
        controls->addWidget(button);
    addWaveFormEditingControls(controls);
    controls->addStretch(1);
    controls->addWidget(new QLabel(localized("Zoom")));
    controls->addWidget(waveFormSlider_);
    auto* pane = new QWidget;
    pane->setObjectName(QStringLiteral("waveFormPane"));
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(waveFormView_, 1);
    layout->addLayout(controls);
    return pane;
}

// --- Opening a movie --------------------------------------------------------------------------

void QYMainWindowController::loadMovie() {
    const QString path = chooseFileToImport(movieExtensions_);
    if (!path.isEmpty())
        openMovie(path);
}

void QYMainWindowController::openMovie(const QString& path) {
    QY_DBG("The file path is : %s", qUtf8Printable(path));
    if (!QFileInfo(path).isFile()) {
        showWarningMessage(localized("Can not load movie file"));
        return;
    }
    movieFilePath_ = path;
    cleanMovie();
    const MoviePlayerItemPtr movie = MoviePlayerItem::fromFile(path);
    if (movie->duration() <= kShortestMovieSeconds) {
        showWarningMessage(
            localized("%1 only support video/audio which duration is longer than 10 seconds")
                .arg(SystemUtility::sharedInstance().getBundleName()));
        return;
    }
    session_->markUnsaved();
    // A movie of its own replaces any preview assembled from a timeline.
    projectNeedComposition_ = false;
    projectOnlyAssembleAudio_ = false;
    moviePlayer_->loadPlayAsset(movie, [this] {
        if (moviePlayer_->currentPlayItem())
            updateUIAfterLoadMovie(moviePlayer_->quilleryMoviePlayerItem());
    });
}

void QYMainWindowController::updateUIAfterLoadMovie(const QuilleryMoviePlayerItem& item) {
    auto layer = std::make_shared<WaveformLayer>(settings_);
    replaceWaveFormLayer(layer);
    layer->setDisplayStyle(WaveformLayer::LeftChannel);
    textView_->setDuration(moviePlayer_->duration());
    QProgressBar* indicator = moviePlayer_->movieLoadingIndicator();
    for (int track = 0; track < item.mainMovie->probe.audioTrackCount; ++track) {
        auto extractor = std::make_unique<MovieAudioExtractor>();
        extractor->setExtractTrackNumber(track);
        extractor->setWaveformLayer(layer);
        extractor->setCache(&waveformCache_);
        connect(extractor.get(), &MovieAudioExtractor::progressChanged, indicator,
                &QProgressBar::setValue);
        indicator->setValue(0);
        indicator->show();
        MovieAudioExtractor* started = extractor.get();
        extractors_.push_back(std::move(extractor));
        started->DoStartMovieAudioExtraction(item, 0, item.mainMovie->duration());
    }
}

void QYMainWindowController::didWaveformLoadingFinished() {
    for (const std::unique_ptr<MovieAudioExtractor>& extractor : extractors_) {
        if (!extractor->mDataStore() || !extractor->mDataStore()->isLoadComplete())
            return;
    }
    moviePlayer_->movieLoadingIndicator()->hide();
}

void QYMainWindowController::cleanMovie() {
    for (const std::unique_ptr<MovieAudioExtractor>& extractor : extractors_)
        extractor->stopExtracting();
    extractors_.clear();
    moviePlayer_->close();
    moviePlayer_->movieLoadingIndicator()->hide();
    replaceWaveFormLayer(std::make_shared<WaveformLayer>(settings_));
}

void QYMainWindowController::replaceWaveFormLayer(std::shared_ptr<WaveformLayer> layer) {
    waveformLayer_ = std::move(layer);
    waveformLayer_->setPlayer(moviePlayer_);
    waveFormView_->setPlayer(moviePlayer_);
    waveFormView_->setWaveFormLayer(waveformLayer_);
    moviePlayer_->setWaveformLayer(waveformLayer_);
}

void QYMainWindowController::setDuration() {
    if (moviePlayer_->currentPlayItem())
        textView_->setDuration(moviePlayer_->duration());
    else if (fcp7_)
        textView_->setDuration(fcp7_->duration);
}

// --- The editor's time choice ---------------------------------------------------------------

void QYMainWindowController::didSelectedTimeCode(const MediaTime& time) {
    QY_DBG("Did selecte time code at time : %lld, %d, %f", static_cast<long long>(time.value),
           time.timescale, time.seconds());
    waveformLayer_->setIsScroll(false);
    moviePlayer_->gotoTime(time);
    refreshSubtitleAtTime(time);
}

void QYMainWindowController::refreshSubtitleAtTime(const MediaTime& time) {
    moviePlayer_->setCurrentDisplaySubtitleLine(
        moviePlayerDisplaySubtitleAtTime(moviePlayer_, time));
}

// --- The movie player's delegate --------------------------------------------------------------

bool QYMainWindowController::moviePlayerShouldBeginPlay(QYMoviePlayerViewController*) {
    return true;
}

bool QYMainWindowController::moviePlayerShouldPause(QYMoviePlayerViewController*) {
    return true;
}

void QYMainWindowController::moviePlayerDidPlay(QYMoviePlayerViewController*,
                                                bool isPlayRepeatSubtitle) {
    if (!isPlayRepeatSubtitle)
        textView_->setFocus();
}

void QYMainWindowController::moviePlayerDidGotoTime(QYMoviePlayerViewController*,
                                                    const MediaTime&) {}

SubtitleLinePtr
QYMainWindowController::moviePlayerDisplaySubtitleAtTime(QYMoviePlayerViewController*,
                                                         const MediaTime& time) {
    const SubtitleLinePtr line = textView_->getCurrentSubtitle(time);
    textView_->setHighlightSubtitle(line);
    const SubtitleLinePtr next = textView_->getNextSubtitleLineAtTime(time);
    QYNotificationCenter::sharedInstance().postNotificationName(kSetNextSubtitleTextNotification,
                                                                next ? next->text() : QString(""));
    return line;
}

void QYMainWindowController::jumpToCurrentSubtitleLine(const MediaTime& time) {
    if (const SubtitleLinePtr line = textView_->getCurrentSubtitle(time))
        textView_->selectTimeCodeOfSubtitleLine(line.get(), true);
}

// --- Waveform commands -------------------------------------------------------------------------

void QYMainWindowController::didWaveformSliderChanged(int value) {
    QY_DBG("Waveform slider changed : %ld", static_cast<long>(value));
    waveformLayer_->setZoomRate(static_cast<double>(value) / waveFormSlider_->maximum());
    waveformLayer_->setNeedsDisplay();
}

void QYMainWindowController::increaseWaveFormSlider() {
    waveFormSlider_->setValue(waveFormSlider_->value() + 1);
}

void QYMainWindowController::decreaseWaveFormSlider() {
    waveFormSlider_->setValue(waveFormSlider_->value() - 1);
}

void QYMainWindowController::increaseWaveFormYAxisZoomRate() {
    waveformLayer_->setYAxisZoomRate(
        std::min(kMostYAxisZoom, waveformLayer_->yAxisZoomRate() + kYAxisZoomStep));
    waveformLayer_->setNeedsDisplay();
}

void QYMainWindowController::decreaseWaveFormYAxisZoomRate() {
    waveformLayer_->setYAxisZoomRate(
        std::max(kLeastYAxisZoom, waveformLayer_->yAxisZoomRate() - kYAxisZoomStep));
    waveformLayer_->setNeedsDisplay();
}

void QYMainWindowController::didPressLeftAndRightChannelButton() {
    waveformLayer_->setDisplayStyle(WaveformLayer::BothChannels);
}

void QYMainWindowController::didPressLeftChannelButton() {
    waveformLayer_->setDisplayStyle(WaveformLayer::LeftChannel);
}

void QYMainWindowController::didPressRightChannelButton() {
    waveformLayer_->setDisplayStyle(WaveformLayer::RightChannel);
}

} // namespace quillery
