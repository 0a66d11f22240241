// The names of the notifications the script editor, the waveform, the movie player, the
// audio extractor and the preferences exchange through QYNotificationCenter, and the keys
// of the extra data some of them carry.
#pragma once

#include <QString>

namespace quillery {

// Editor -> waveform; object: the line. userInfo "index": its index in the editor's list.
inline const QString kAddSubtitleLineToWaveFormNotification =
    QStringLiteral("kAddSubtitleLineToWaveFormNotification");
// Editor -> waveform; object: the line. userInfo "index": its index before removal.
inline const QString kDeleteSubtitleLineFromWaveFormNotification =
    QStringLiteral("kDeleteSubtitleLineFromWaveFormNotification");
// Waveform -> editor; object: a new timed line dragged out on the waveform.
inline const QString kAddSubtitleLineToTextViewNotification =
    QStringLiteral("kAddSubtitleLineToTextViewNotification");
// Waveform -> editor; object: the line whose block was deleted.
inline const QString kDeleteSubtitleLineFromTextViewNotification =
    QStringLiteral("kDeleteSubtitleLineFromTextViewNotification");
// Waveform -> editor; object: the new text. userInfo "subtitle": the line.
inline const QString kUpdateSubtitleTextViewTextNotification =
    QStringLiteral("kUpdateSubtitleTextViewTextNotification");
// Waveform -> editor; object: the line whose edge drag began.
inline const QString QYWaveFormTextViewDidSelectStartTimeCodeNotification =
    QStringLiteral("QYWaveFormTextViewDidSelectStartTimeCodeNotification");
inline const QString QYWaveFormTextViewDidSelectEndTimeCodeNotification =
    QStringLiteral("QYWaveFormTextViewDidSelectEndTimeCodeNotification");
// Waveform -> editor; object: the dragged edge's new time in seconds.
inline const QString QYWaveFormTextViewDidChangeStartTimeCodeNotification =
    QStringLiteral("QYWaveFormTextViewDidChangeStartTimeCodeNotification");
inline const QString QYWaveFormTextViewDidChangeEndTimeCodeNotification =
    QStringLiteral("QYWaveFormTextViewDidChangeEndTimeCodeNotification");
// Waveform block -> editor and player; object: the clicked line.
inline const QString kHighlightSubtitleTextNotification =
    QStringLiteral("kHighlightSubtitleTextNotification");
// Editor -> waveform; object: the line whose start was just typed.
inline const QString kHasInsertStartTimeCodeNotification =
    QStringLiteral("kHasInsertStartTimeCodeNotification");
// Editor -> waveform; no object.
inline const QString kHasInsertEndTimeCodeNotification =
    QStringLiteral("kHasInsertEndTimeCodeNotification");
// Main window -> next-subtitle label; object: the next subtitle's text, or "".
inline const QString kSetNextSubtitleTextNotification =
    QStringLiteral("kSetNextSubtitleTextNotification");
// Audio extractor -> main window; no object.
inline const QString kLoadWaveFormFinishedNotification =
    QStringLiteral("kLoadWaveFormFinishedNotification");

// Player -> editor; no object.
inline const QString kMoviePlayerDidPauseNotification =
    QStringLiteral("kMoviePlayerDidPauseNotification");
// -> player; object: the fraction of the movie's duration to jump to.
inline const QString kMoviePlayerGotoPercentageNotification =
    QStringLiteral("kMoviePlayerGotoPercentageNotification");
// -> player; object: the line to play over and over.
inline const QString kMoviePlayerRepeatPlaySubtitleNotification =
    QStringLiteral("kMoviePlayerRepeatPlaySubtitleNotification");
// -> player; stops the repetition.
inline const QString kMoviePlayerStopRepeatPlaySubtitleNotification =
    QStringLiteral("kMoviePlayerStopRepeatPlaySubtitleNotification");

// Preferences -> main window; no object.
inline const QString kToolbarButtonPreferenceChangedNotification =
    QStringLiteral("kToolbarButtonPreferenceChangedNotification");

// userInfo keys.
inline const QString kNotificationIndexKey = QStringLiteral("index");
inline const QString kNotificationSubtitleKey = QStringLiteral("subtitle");

} // namespace quillery
