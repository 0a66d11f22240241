// What the movie player asks and tells its owner (the main window).
#pragma once

#include "MediaTime.h"
#include "SubtitleLine.h"

namespace quillery {

class QYMoviePlayerViewController;

class QYMoviePlayerDelegate {
public:
    virtual ~QYMoviePlayerDelegate() = default;

    virtual bool moviePlayerShouldBeginPlay(QYMoviePlayerViewController* player) = 0;
    virtual bool moviePlayerShouldPause(QYMoviePlayerViewController* player) = 0;
    virtual void moviePlayerDidPlay(QYMoviePlayerViewController* player,
                                    bool isPlayRepeatSubtitle) = 0;
    virtual void moviePlayerDidGotoTime(QYMoviePlayerViewController* player,
                                        const MediaTime& time) = 0;
    // The line to show over the picture at the time, or null.
    virtual SubtitleLinePtr moviePlayerDisplaySubtitleAtTime(QYMoviePlayerViewController* player,
                                                             const MediaTime& time) = 0;
    virtual void jumpToCurrentSubtitleLine(const MediaTime& time) = 0;
};

} // namespace quillery
