// The movie player: plays the loaded movie through the media engine, shows the subtitle
// under the playhead over the picture, runs the transport (play, pause, speeds with
// reverse, frame steps, slider, start and end), repeat-plays one subtitle for timing
// work, and drives the rest of the window with a tick every 1/30 s: the time labels, the
// waveform redraw and the overlay. An optional second movie can be laid over the first
// for given time ranges (an assembled preview's upper track). The main window is its
// delegate.
#pragma once

#include "QYMoviePlayerControl.h"
#include "QYMoviePlayhead.h"
#include "QYWaveFormPlayerControl.h"
#include "QuilleryMoviePlayerItem.h"
#include "SubtitleLine.h"

#include <QStyle>
#include <QWidget>
#include <functional>
#include <memory>
#include <mutex>

class QComboBox;
class QLabel;
class QProgressBar;
class QSlider;
class QTimer;
class QToolButton;

namespace quillery {

class MoviePictureView;
class MoviePlayback;
class QYMoviePlayerDelegate;
class WaveformStoreSink;

// Where the 30 Hz tick's direction rule leaves the playback direction: a jump of more
// than half a second either way sets it, smaller moves keep it.
struct PlayDirection {
    bool isPlayForward = true;
    double lastMovieTime = 0;
};
PlayDirection nextPlayDirection(PlayDirection current, double tickSeconds);
// The speed keys: forward from below 2 gives 2, else 2 more; backward mirrors it.
double speedForwardRate(double rate);
double speedBackwardRate(double rate);
// A speed pop-up title ("1.0x") without its last character, as a rate.
double rateFromSpeedTitle(const QString& title);

class QYMoviePlayerViewController : public QWidget,
                                    public QYMoviePlayerControl,
                                    public QYMoviePlayhead,
                                    public QYWaveFormPlayerControl {
    Q_OBJECT

public:
    enum class ItemStatus { Unknown, ReadyToPlay, Failed };

    explicit QYMoviePlayerViewController(QWidget* parent = nullptr);
    ~QYMoviePlayerViewController() override;

    void setDelegate(QYMoviePlayerDelegate* delegate) { delegate_ = delegate; }
    void setWaveformLayer(std::weak_ptr<WaveformStoreSink> layer) { waveformLayer_ = layer; }

    // --- Loading ----------------------------------------------------------------------
    // Loads the item's movie and then runs `complete` (also when it cannot be played:
    // the labels tell the user, and currentPlayItem() stays empty).
    void loadPlayAsset(const MoviePlayerItemPtr& movie, const std::function<void()>& complete);
    void setQuilleryMoviePlayerItem(const QuilleryMoviePlayerItem& item);
    void setCurrentPlayItem(const MoviePlayerItemPtr& movie);
    void addSecondaryMovie(const MoviePlayerItemPtr& movie);
    const QuilleryMoviePlayerItem& quilleryMoviePlayerItem() const { return item_; }
    MoviePlayerItemPtr currentPlayItem() const;
    bool isAssetLoaded() const { return status_ == ItemStatus::ReadyToPlay; }
    ItemStatus status() const { return status_; }
    QString currentPlayTimeString() const;
    void close();

    // --- QYMoviePlayerControl (the editor's view) --------------------------------------
    bool hasMovie() const override { return isAssetLoaded(); }
    bool isPlaying() const override;
    bool isRepeatingSubtitle() const override;
    MediaTime currentTime() const override;
    MediaTime duration() const override;
    void play() override;
    void stopRepeatPlaySubtitle(bool) override;
    void rewind() override;
    void fastForward() override;
    void speedForward() override;
    void speedBackward() override;
    void setCurrentTime(double seconds) override;

    // --- QYMoviePlayhead (the waveform's view) -----------------------------------------
    double playheadSeconds() const override { return currentTime().seconds(); }
    bool isPlayForward() const override { return direction_.isPlayForward; }
    bool shouldSyncWaveForm() const override { return shouldSyncWaveForm_; }
    void setShouldSyncWaveForm(bool sync) override { shouldSyncWaveForm_ = sync; }
    double durationSeconds() const override;

    // --- Transport --------------------------------------------------------------------
    void pause();
    void playPauseToggle();
    void didChangeSpeedRate(const QString& title);
    double currentPlayRate() const override { return currentPlayRate_; }
    double rate() const;
    void gotoStart();
    void gotoEnd();
    void seekToTime(const MediaTime& time);
    void gotoTime(const MediaTime& time, bool needResetPointer = true);
    void jumptoTime(const MediaTime& time);
    void didSliderAction();
    void didGotoTimeWithPercentage(double fraction);
    void didPressFindCurrentTCButton();

    // --- Repeat play of one subtitle ----------------------------------------------------
    void playRepeatSubtitle(const SubtitleLinePtr& line, double rate = 1.0) override;
    void repeatPlaySubtitle(const SubtitleLinePtr& line);
    SubtitleLinePtr repeatSubtitle() const override;
    void highlightSubtitle(const SubtitleLinePtr& line);

    // --- Overlay -----------------------------------------------------------------------
    void setCurrentDisplaySubtitleLine(const SubtitleLinePtr& line);
    SubtitleLinePtr currentDisplaySubtitleLine() const { return currentDisplaySubtitleLine_; }
    void setSubtitleLayerText(const QString& text);
    MoviePictureView* pictureView() const { return pictureView_; }

    // One tick of the periodic time observer, at movie time t (seconds).
    void timeTick(double seconds);
    // The movie-loading indicator, also used for the waveform's progress (0..200).
    QProgressBar* movieLoadingIndicator() const { return loadingIndicator_; }
    QLabel* currentTimeLabel() const { return currentTimeLabel_; }
    QLabel* totalTimeLabel() const { return totalTimeLabel_; }
    QComboBox* speedPopUp() const { return speedPopUp_; }

private:
    void buildControls();
    QToolButton* transportButton(QStyle::StandardPixmap icon, const QString& tip,
                                 void (QYMoviePlayerViewController::*action)());
    void setItemStatus(ItemStatus status);
    void setSpinnerVisible(bool visible);
    void setRate(double rate);
    void updatePlayButton();
    void observeNotifications();
    void seekBothPlayers(const MediaTime& time);
    void setSliderSeconds(double seconds);
    void resetSyncWaveForm();
    void forgetRepeatSubtitle();
    void stopAtEnds();
    int frameAt(double seconds) const;
    void requestWaveformRedraw();

    QYMoviePlayerDelegate* delegate_ = nullptr;
    std::weak_ptr<WaveformStoreSink> waveformLayer_;
    std::unique_ptr<MoviePlayback> player_;
    std::unique_ptr<MoviePlayback> secondaryPlayer_;
    QuilleryMoviePlayerItem item_;
    ItemStatus status_ = ItemStatus::Unknown;

    SubtitleLinePtr currentDisplaySubtitleLine_;
    QMetaObject::Connection displayLineConnection_;
    SubtitleLinePtr repeatSubtitle_;
    mutable std::recursive_mutex repeatSubtitleLock_;
    double currentPlayRate_ = 1.0;
    PlayDirection direction_;
    bool shouldSyncWaveForm_ = false;

    MoviePictureView* pictureView_ = nullptr;
    QSlider* timeSlider_ = nullptr;
    QLabel* currentTimeLabel_ = nullptr;
    QLabel* totalTimeLabel_ = nullptr;
    QToolButton* playButton_ = nullptr;
    QToolButton* fastForwardButton_ = nullptr;
    QToolButton* rewindButton_ = nullptr;
    QToolButton* startButton_ = nullptr;
    QToolButton* endButton_ = nullptr;
    QComboBox* speedPopUp_ = nullptr;
    QProgressBar* spinner_ = nullptr;
    QProgressBar* loadingIndicator_ = nullptr;
    QTimer* timeObserver_ = nullptr;
    QTimer* resetSyncTimer_ = nullptr;
};

} // namespace quillery
