#include "QYMoviePlayerViewController.h"

#include "Localization.h"
#include "MediaEngine.h"
#include "MoviePictureView.h"
#include "NotificationNames.h"
#include "QYLog.h"
#include "QYMoviePlayerDelegate.h"
#include "QYNotificationCenter.h"
#include "QYSetting.h"
#include "QYTimeUtility.h"
#include "WaveformStoreSink.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

namespace quillery {

namespace {

// The periodic time observer: every 1/30 s.
constexpr int kTickMilliseconds = 33;
// How long after a pause the waveform may stop following the playhead.
constexpr int kResetSyncWaveFormMilliseconds = 1000;
// A tick this far from the last one (in seconds) counts as a change of direction.
constexpr double kDirectionThreshold = 0.5;
// The slider counts milliseconds.
constexpr double kSliderUnitsPerSecond = 1000.0;
const QString kZeroTimeLabel = QStringLiteral("00:00:00.00");
const QStringList kSpeedTitles = {QStringLiteral("0.5x"), QStringLiteral("1.0x"),
                                  QStringLiteral("1.5x"), QStringLiteral("2.0x"),
                                  QStringLiteral("4.0x")};

QYTimeUtility& timeUtility() {
    return QYTimeUtility::sharedInstance();
}

} // namespace

PlayDirection nextPlayDirection(PlayDirection current, double tickSeconds) {
    const double moved = tickSeconds - current.lastMovieTime;
    if (moved > kDirectionThreshold)
        return {true, tickSeconds};
    if (moved < -kDirectionThreshold)
        return {false, tickSeconds};
    return current;
}

double speedForwardRate(double rate) {
    return rate < 2 ? 2 : rate + 2;
}

double speedBackwardRate(double rate) {
    return rate > -2 ? -2 : rate - 2;
}

double rateFromSpeedTitle(const QString& title) {
    return title.chopped(1).toDouble();
}

QYMoviePlayerViewController::QYMoviePlayerViewController(QWidget* parent)
    : QWidget(parent), player_(std::make_unique<MoviePlayback>()) {
    setObjectName(QStringLiteral("moviePlayerPane"));
    buildControls();
    timeObserver_ = new QTimer(this);
    timeObserver_->setInterval(kTickMilliseconds);
    connect(timeObserver_, &QTimer::timeout, this, [this] { timeTick(currentTime().seconds()); });
    resetSyncTimer_ = new QTimer(this);
    resetSyncTimer_->setSingleShot(true);
    resetSyncTimer_->setInterval(kResetSyncWaveFormMilliseconds);
    connect(resetSyncTimer_, &QTimer::timeout, this, [this] { resetSyncWaveForm(); });
    connect(player_.get(), &MoviePlayback::frameShown, this,
            [this](const QImage& picture, int frame) {
                if (!pictureView_->hasPicture())
                    setSpinnerVisible(false); // ready for display
                pictureView_->setPicture(picture, frame);
            });
    observeNotifications();
    setItemStatus(ItemStatus::Unknown);
}

QYMoviePlayerViewController::~QYMoviePlayerViewController() {
    QYNotificationCenter::sharedInstance().removeObserver(this);
    disconnect(displayLineConnection_);
    secondaryPlayer_.reset();
    player_.reset();
}

void QYMoviePlayerViewController::buildControls() {
    pictureView_ = new MoviePictureView;
    timeSlider_ = new QSlider(Qt::Horizontal);
    timeSlider_->setObjectName(QStringLiteral("timeSlider"));
    connect(timeSlider_, &QSlider::valueChanged, this, [this] { didSliderAction(); });
    currentTimeLabel_ = new QLabel(kZeroTimeLabel);
    totalTimeLabel_ = new QLabel(kZeroTimeLabel);
    startButton_ = transportButton(QStyle::SP_MediaSkipBackward, localized("Go to movie start"),
                                   &QYMoviePlayerViewController::gotoStart);
    rewindButton_ = transportButton(QStyle::SP_MediaSeekBackward, localized("Backward(⌘+J)"),
                                    &QYMoviePlayerViewController::rewind);
    playButton_ = transportButton(QStyle::SP_MediaPlay, localized("Play(⌘+K or Tab)"),
                                  &QYMoviePlayerViewController::playPauseToggle);
    fastForwardButton_ = transportButton(QStyle::SP_MediaSeekForward, localized("Forward(⌘+L)"),
                                         &QYMoviePlayerViewController::fastForward);
    endButton_ = transportButton(QStyle::SP_MediaSkipForward, localized("Go to movie end"),
                                 &QYMoviePlayerViewController::gotoEnd);
    speedPopUp_ = new QComboBox;
    speedPopUp_->setObjectName(QStringLiteral("speedPopUp"));
    speedPopUp_->addItems(kSpeedTitles);
    speedPopUp_->setCurrentText(QStringLiteral("1.0x"));
    speedPopUp_->setFocusPolicy(Qt::NoFocus);
    connect(speedPopUp_, &QComboBox::textActivated, this,
            &QYMoviePlayerViewController::didChangeSpeedRate);
    spinner_ = new QProgressBar;
    spinner_->setRange(0, 0);
    spinner_->setMaximumWidth(60);
    spinner_->setTextVisible(false);
    spinner_->hide();
    loadingIndicator_ = new QProgressBar;
    loadingIndicator_->setObjectName(QStringLiteral("movieLoadingIndicator"));
    loadingIndicator_->setRange(0, 200);
    loadingIndicator_->setMaximumWidth(120);
    loadingIndicator_->setTextVisible(false);
    loadingIndicator_->setToolTip(localized("Reading the movie's audio"));
    loadingIndicator_->hide();

    auto* transport = new QHBoxLayout;
    for (QToolButton* control :
         {startButton_, rewindButton_, playButton_, fastForwardButton_, endButton_})
        transport->addWidget(control);
    transport->addWidget(currentTimeLabel_);
    transport->addWidget(timeSlider_, 1);
    transport->addWidget(totalTimeLabel_);
    transport->addWidget(speedPopUp_);
    transport->addWidget(spinner_);
    transport->addWidget(loadingIndicator_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(pictureView_, 1);
    layout->addLayout(transport);
    setAutoFillBackground(true);
    QPalette colours = palette();
    colours.setColor(QPalette::Window, QColor(28, 30, 34));
    colours.setColor(QPalette::WindowText, QColor(200, 204, 210));
    setPalette(colours);
}

QToolButton*
QYMoviePlayerViewController::transportButton(QStyle::StandardPixmap icon, const QString& tip,
                                             void (QYMoviePlayerViewController::*action)()) {
    auto* button = new QToolButton;
    button->setIcon(style()->standardIcon(icon));
    button->setToolTip(tip);
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this, action] { (this->*action)(); });
    return button;
}

void QYMoviePlayerViewController::observeNotifications() {
    QYNotificationCenter& centre = QYNotificationCenter::sharedInstance();
    centre.addObserver(this, kMoviePlayerGotoPercentageNotification, [this](const Notification& n) {
        if (const std::optional<double> fraction = n.seconds())
            didGotoTimeWithPercentage(*fraction);
    });
    centre.addObserver(this, kMoviePlayerRepeatPlaySubtitleNotification,
                       [this](const Notification& n) { repeatPlaySubtitle(n.subtitleLine()); });
    centre.addObserver(this, kMoviePlayerStopRepeatPlaySubtitleNotification,
                       [this](const Notification&) { stopRepeatPlaySubtitle(false); });
    centre.addObserver(this, kHighlightSubtitleTextNotification,
                       [this](const Notification& n) { highlightSubtitle(n.subtitleLine()); });
}

// --- Loading -----------------------------------------------------------------------------

void QYMoviePlayerViewController::loadPlayAsset(const MoviePlayerItemPtr& movie,
                                                const std::function<void()>& complete) {
    pictureView_->unplayableLabel()->hide();
    pictureView_->noVideoLabel()->hide();
    pictureView_->clearPictures();
    setSpinnerVisible(true);
    const MediaProbe& probe = movie->probe;
    if (!probe.opened) {
        setSpinnerVisible(false);
        QY_DBG("The loading error : %s", qUtf8Printable(probe.error));
    } else if (!probe.playable || probe.hasProtectedContent) {
        setSpinnerVisible(false);
        pictureView_->unplayableLabel()->show();
    } else if (!probe.hasVideo && probe.audioTrackCount == 0) {
        setSpinnerVisible(false);
        pictureView_->noVideoLabel()->show();
    } else {
        setCurrentPlayItem(movie);
        if (!probe.hasVideo)
            setSpinnerVisible(false);
    }
    if (complete)
        complete();
}

void QYMoviePlayerViewController::setQuilleryMoviePlayerItem(const QuilleryMoviePlayerItem& item) {
    setCurrentPlayItem(item.mainMovie);
    item_ = item;
    if (item.secondaryMovie)
        addSecondaryMovie(item.secondaryMovie);
}

void QYMoviePlayerViewController::setCurrentPlayItem(const MoviePlayerItemPtr& movie) {
    close();
    setSpinnerVisible(true);
    item_ = QuilleryMoviePlayerItem{};
    item_.mainMovie = movie;
    item_.mainMovieDisplaySize = movie->probe.frameSize;
    pictureView_->placeSubtitleLayer();
    if (!player_->open(*movie)) {
        QY_DBG("The player item failed : %s", qUtf8Printable(movie->path));
        setItemStatus(ItemStatus::Failed);
        return;
    }
    // Without video the engine's profile rate means nothing (the setter's 0 gives 30), but
    // an assembled preview's rate is its timeline's, with or without pictures.
    const bool hasFrameRate = movie->probe.hasVideo || movie->composition != nullptr;
    timeUtility().setFPS(hasFrameRate ? player_->frameRate() : 0);
    totalTimeLabel_->setText(timeUtility().rawTimeStringFromCMTime(duration()));
    {
        const QSignalBlocker quiet(timeSlider_);
        timeSlider_->setRange(0, static_cast<int>(durationSeconds() * kSliderUnitsPerSecond));
        timeSlider_->setValue(0);
    }
    shouldSyncWaveForm_ = false;
    setItemStatus(ItemStatus::ReadyToPlay);
    timeObserver_->start();
}

void QYMoviePlayerViewController::addSecondaryMovie(const MoviePlayerItemPtr& movie) {
    secondaryPlayer_ = std::make_unique<MoviePlayback>();
    QY_DBG("The secondary movie size : %d x %d", movie->probe.frameSize.width(),
           movie->probe.frameSize.height());
    if (!secondaryPlayer_->open(*movie, false)) {
        secondaryPlayer_.reset();
        return;
    }
    connect(secondaryPlayer_.get(), &MoviePlayback::frameShown, pictureView_,
            [this](const QImage& picture, int) { pictureView_->setSecondaryPicture(picture); });
    item_.secondaryMovie = movie;
    item_.secondaryMovieDisplaySize = movie->probe.frameSize;
    pictureView_->setSecondaryVisible(false);
}

MoviePlayerItemPtr QYMoviePlayerViewController::currentPlayItem() const {
    return isAssetLoaded() ? item_.mainMovie : nullptr;
}

QString QYMoviePlayerViewController::currentPlayTimeString() const {
    return timeUtility().timeStringFromCMTime(currentTime());
}

void QYMoviePlayerViewController::close() {
    if (isPlaying())
        setRate(0);
    timeObserver_->stop();
    resetSyncTimer_->stop();
    setCurrentDisplaySubtitleLine(nullptr);
    pictureView_->setSubtitleLayerVisible(false);
    pictureView_->clearPictures();
    secondaryPlayer_.reset();
    player_->close();
    item_ = QuilleryMoviePlayerItem{};
    setItemStatus(ItemStatus::Unknown);
    setSpinnerVisible(false);
    currentTimeLabel_->setText(kZeroTimeLabel);
    totalTimeLabel_->setText(kZeroTimeLabel);
    waveformLayer_.reset();
    direction_ = PlayDirection{};
    forgetRepeatSubtitle();
}

void QYMoviePlayerViewController::setItemStatus(ItemStatus status) {
    status_ = status;
    const bool ready = status == ItemStatus::ReadyToPlay;
    for (QToolButton* control :
         {playButton_, fastForwardButton_, rewindButton_, startButton_, endButton_})
        control->setEnabled(ready);
    timeSlider_->setEnabled(ready);
    if (status == ItemStatus::Failed) {
        setSpinnerVisible(false);
        pictureView_->unplayableLabel()->show();
    }
}

void QYMoviePlayerViewController::setSpinnerVisible(bool visible) {
    spinner_->setVisible(visible);
}

// --- Clock --------------------------------------------------------------------------------

bool QYMoviePlayerViewController::isPlaying() const {
    return player_->isOpen() && player_->speed() != 0;
}

double QYMoviePlayerViewController::rate() const {
    return player_->speed();
}

bool QYMoviePlayerViewController::isRepeatingSubtitle() const {
    return repeatSubtitle() != nullptr;
}

SubtitleLinePtr QYMoviePlayerViewController::repeatSubtitle() const {
    const std::lock_guard guard(repeatSubtitleLock_);
    return repeatSubtitle_;
}

MediaTime QYMoviePlayerViewController::currentTime() const {
    if (!player_->isOpen())
        return MediaTime::zero();
    // The picture on screen, not the frame the engine is reading ahead.
    return MediaTime::make(int64_t(player_->shownFrame()) * player_->frameRateDenominator(),
                           player_->frameRateNumerator());
}

MediaTime QYMoviePlayerViewController::duration() const {
    if (!player_->isOpen())
        return MediaTime::zero();
    return MediaTime::make(int64_t(player_->frameCount()) * player_->frameRateDenominator(),
                           player_->frameRateNumerator());
}

double QYMoviePlayerViewController::durationSeconds() const {
    return duration().seconds();
}

int QYMoviePlayerViewController::frameAt(double seconds) const {
    return static_cast<int>(std::lround(seconds * player_->frameRate()));
}

void QYMoviePlayerViewController::setRate(double rate) {
    player_->setSpeed(rate);
    if (secondaryPlayer_)
        secondaryPlayer_->setSpeed(rate);
    updatePlayButton();
}

void QYMoviePlayerViewController::updatePlayButton() {
    playButton_->setIcon(
        style()->standardIcon(isPlaying() ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
}

// --- Transport ----------------------------------------------------------------------------

void QYMoviePlayerViewController::play() {
    if (isPlaying() || !isAssetLoaded())
        return;
    resetSyncTimer_->stop();
    const bool allow = delegate_ == nullptr || delegate_->moviePlayerShouldBeginPlay(this);
    QY_DBG("Allow play : %d", allow);
    if (!allow) {
        shouldSyncWaveForm_ = false;
        return;
    }
    setRate(currentPlayRate_);
    shouldSyncWaveForm_ = false;
    if (!isRepeatingSubtitle() && delegate_)
        delegate_->moviePlayerDidPlay(this, false);
}

void QYMoviePlayerViewController::pause() {
    if (delegate_ && !delegate_->moviePlayerShouldPause(this))
        return;
    resetSyncTimer_->stop();
    setRate(0);
    resetSyncTimer_->start();
    QYNotificationCenter::sharedInstance().postNotificationName(kMoviePlayerDidPauseNotification);
}

void QYMoviePlayerViewController::resetSyncWaveForm() {
    shouldSyncWaveForm_ = false;
}

void QYMoviePlayerViewController::playPauseToggle() {
    if (isPlaying()) {
        pause();
        return;
    }
    forgetRepeatSubtitle();
    play();
}

void QYMoviePlayerViewController::didChangeSpeedRate(const QString& title) {
    currentPlayRate_ = rateFromSpeedTitle(title);
    QY_DBG("The speed rate is : %s", qUtf8Printable(title.chopped(1)));
    if (isPlaying())
        setRate(currentPlayRate_);
}

void QYMoviePlayerViewController::speedForward() {
    currentPlayRate_ = speedForwardRate(currentPlayRate_);
    if (isPlaying())
        setRate(currentPlayRate_);
}

void QYMoviePlayerViewController::speedBackward() {
    currentPlayRate_ = speedBackwardRate(currentPlayRate_);
    if (isPlaying())
        setRate(currentPlayRate_);
}

void QYMoviePlayerViewController::fastForward() {
    if (!isAssetLoaded())
        return;
    setRate(0);
    const MediaTime step =
        timeUtility().getCMTimeWithFrame(QYSetting::shareInstance().forwardBackwardPerKey);
    seekBothPlayers(add(currentTime(), step));
}

void QYMoviePlayerViewController::rewind() {
    if (!isAssetLoaded())
        return;
    setRate(0);
    const MediaTime step =
        timeUtility().getCMTimeWithFrame(QYSetting::shareInstance().forwardBackwardPerKey);
    const MediaTime back = subtract(currentTime(), step);
    seekBothPlayers(compare(back, MediaTime::zero()) < 0 ? MediaTime::zero() : back);
}

void QYMoviePlayerViewController::gotoStart() {
    pause();
    setCurrentTime(0);
}

void QYMoviePlayerViewController::gotoEnd() {
    pause();
    setCurrentTime(durationSeconds());
}

void QYMoviePlayerViewController::setCurrentTime(double seconds) {
    QY_DBG("Set current time %f", seconds);
    setSliderSeconds(seconds);
    const MediaTime time = timeUtility().getCMTimeWithTimeInteval(seconds);
    seekBothPlayers(time);
    if (delegate_)
        delegate_->moviePlayerDidGotoTime(this, time);
}

void QYMoviePlayerViewController::seekToTime(const MediaTime& time) {
    seekBothPlayers(time);
}

void QYMoviePlayerViewController::seekBothPlayers(const MediaTime& time) {
    if (!player_->isOpen())
        return;
    const int frame = frameAt(time.seconds());
    player_->seek(frame);
    if (secondaryPlayer_)
        secondaryPlayer_->seek(frame);
}

void QYMoviePlayerViewController::gotoTime(const MediaTime& time, bool needResetPointer) {
    seekBothPlayers(time);
    if (!needResetPointer)
        return;
    if (const std::shared_ptr<WaveformStoreSink> layer = waveformLayer_.lock())
        layer->resetPointer();
}

void QYMoviePlayerViewController::jumptoTime(const MediaTime& time) {
    setSliderSeconds(time.seconds());
    currentTimeLabel_->setText(timeUtility().rawTimeStringFromCMTime(time));
    seekBothPlayers(time);
    if (delegate_)
        delegate_->moviePlayerDidGotoTime(this, time);
}

void QYMoviePlayerViewController::setSliderSeconds(double seconds) {
    const QSignalBlocker quiet(timeSlider_);
    timeSlider_->setValue(static_cast<int>(seconds * kSliderUnitsPerSecond));
}

void QYMoviePlayerViewController::didSliderAction() {
    const bool wasPlaying = isPlaying();
    forgetRepeatSubtitle();
    const MediaTime time =
        timeUtility().getCMTimeWithTimeInteval(timeSlider_->value() / kSliderUnitsPerSecond);
    seekBothPlayers(time);
    currentTimeLabel_->setText(timeUtility().rawTimeStringFromCMTime(time));
    if (delegate_)
        delegate_->moviePlayerDidGotoTime(this, time);
    if (wasPlaying)
        setRate(currentPlayRate_);
}

void QYMoviePlayerViewController::didGotoTimeWithPercentage(double fraction) {
    if (isPlaying())
        pause();
    forgetRepeatSubtitle();
    jumptoTime(timeUtility().getCMTimeWithTimeInteval(durationSeconds() * fraction));
}

void QYMoviePlayerViewController::didPressFindCurrentTCButton() {
    if (delegate_)
        delegate_->jumpToCurrentSubtitleLine(currentTime());
}

// --- Repeat play ------------------------------------------------------------------------------

void QYMoviePlayerViewController::playRepeatSubtitle(const SubtitleLinePtr& line, double rate) {
    if (!line)
        return;
    QY_DBG("Play repeat subtitle : %s", qUtf8Printable(line->description()));
    {
        const std::lock_guard guard(repeatSubtitleLock_);
        repeatSubtitle_ = line;
    }
    gotoTime(timeUtility().getCMTimeWithTimeInteval(line->startTime()), false);
    currentPlayRate_ = rate;
    if (isPlaying())
        setRate(rate);
    play();
}

void QYMoviePlayerViewController::repeatPlaySubtitle(const SubtitleLinePtr& line) {
    if (!line)
        return;
    const std::lock_guard guard(repeatSubtitleLock_);
    repeatSubtitle_ = line;
    jumptoTime(timeUtility().getCMTimeWithTimeInteval(line->startTime()));
    if (!isPlaying())
        play();
}

void QYMoviePlayerViewController::forgetRepeatSubtitle() {
    const std::lock_guard guard(repeatSubtitleLock_);
    repeatSubtitle_.reset();
}

void QYMoviePlayerViewController::stopRepeatPlaySubtitle(bool) {
    const std::lock_guard guard(repeatSubtitleLock_);
    pause();
    repeatSubtitle_.reset();
}

void QYMoviePlayerViewController::highlightSubtitle(const SubtitleLinePtr& line) {
    if (line && line->isStartTimeValid())
        gotoTime(timeUtility().getCMTimeWithTimeInteval(line->startTime()), false);
}

// --- Overlay -------------------------------------------------------------------------------

void QYMoviePlayerViewController::setCurrentDisplaySubtitleLine(const SubtitleLinePtr& line) {
    if (line == currentDisplaySubtitleLine_)
        return;
    disconnect(displayLineConnection_);
    currentDisplaySubtitleLine_ = line;
    if (!pictureView_->isSubtitleLayerVisible() && isAssetLoaded())
        pictureView_->setSubtitleLayerVisible(true);
    setSubtitleLayerText(line ? line->text() : QString());
    if (line) {
        displayLineConnection_ = connect(line.get(), &SubtitleLine::textChanged, this, [this] {
            setSubtitleLayerText(currentDisplaySubtitleLine_->text());
        });
    }
}

void QYMoviePlayerViewController::setSubtitleLayerText(const QString& text) {
    pictureView_->setSubtitleLayerText(text);
}

// --- The periodic time observer -----------------------------------------------------------

void QYMoviePlayerViewController::timeTick(double seconds) {
    if (item_.secondaryMovie)
        pictureView_->setSecondaryVisible(
            item_.displaySecondaryMovieInTime(MediaTime::makeWithSeconds(seconds, 600)));
    direction_ = nextPlayDirection(direction_, seconds);
    setSliderSeconds(seconds);
    currentTimeLabel_->setText(
        timeUtility().rawTimeStringFromCMTime(timeUtility().getCMTimeWithTimeInteval(seconds)));
    requestWaveformRedraw();
    const MediaTime time = timeUtility().getCMTimeWithTimeInteval(seconds);
    if (delegate_)
        setCurrentDisplaySubtitleLine(delegate_->moviePlayerDisplaySubtitleAtTime(this, time));
    {
        const std::lock_guard guard(repeatSubtitleLock_);
        if (repeatSubtitle_ && repeatSubtitle_->endTime() <= seconds)
            jumptoTime(timeUtility().getCMTimeWithTimeInteval(repeatSubtitle_->startTime()));
    }
    stopAtEnds();
}

void QYMoviePlayerViewController::stopAtEnds() {
    // The engine holds the last picture at either end; the player then counts as paused.
    if (!isPlaying())
        return;
    const int shown = player_->shownFrame();
    if ((rate() > 0 && shown >= player_->frameCount() - 1) || (rate() < 0 && shown <= 0))
        pause();
}

void QYMoviePlayerViewController::requestWaveformRedraw() {
    if (const std::shared_ptr<WaveformStoreSink> layer = waveformLayer_.lock())
        layer->setNeedsDisplay();
}

} // namespace quillery
