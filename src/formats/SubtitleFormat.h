// The registry of subtitle file formats besides SubRip, and what every format shares:
// detection by a trial load, reading lines into a Subtitle, writing one back as text.
// The registry's order is both the detection order and each format's menu tag.
#pragma once

#include "Subtitle.h"
#include "SubtitleLine.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <cstddef>

namespace quillery {

class SubtitleFormat {
public:
    virtual ~SubtitleFormat() = default;
    SubtitleFormat(const SubtitleFormat&) = delete;
    SubtitleFormat& operator=(const SubtitleFormat&) = delete;

    // WebVTT, SubViewer 1.0, SubViewer 2.0, YouTube sbv: built on first use, one shared
    // instance each, so errorCount always tells of the latest load with that format.
    static const QList<SubtitleFormat*>& allSubtitleFormats();
    // Formats without markup of their own leave the text alone.
    static QString removeTag(const QString& tag, const QString& text);
    // NUL characters become spaces.
    static QString removeBadChars(const QString& text);
    // Sets the line's start and end from eight clock fields (start hours, minutes, seconds,
    // milliseconds, then the end's); false, the line unchanged, unless all eight convert.
    static bool setTimesFromClockFields(SubtitleLine& line, const QStringList& fields);

    virtual QString name() const { return name_; }
    virtual QString extension() const { return extension_; }
    virtual bool isTimeBased() const { return isTimeBased_; }
    virtual bool isFrameBased() const { return isFrameBased_; }

    // Lines or cues that failed during the last load, trial loads included.
    std::size_t errorCount() const { return errorCount_; }
    void setErrorCount(std::size_t count) { errorCount_ = count; }

    // A trial load into a scratch list: the file is this format's when it yields more
    // subtitle lines than errors, so a load without any line never claims a file.
    bool isMine(const QStringList& lines, const QString& path);
    // The trial load made into the given list, so a caller that goes on to load the
    // same lines with this format can keep the list instead of reading it again.
    bool loadIfMine(Subtitle& subtitle, const QStringList& lines, const QString& path);

    virtual void loadSubtitle(Subtitle& subtitle, const QStringList& lines, const QString& path);
    // textHead, then appendLineText for each line, then finishText. A caller with too many
    // lines to hold at once runs the three itself, a line at a time.
    QString toText(const Subtitle& subtitle, const QString& title) const;
    virtual QString textHead(const QString& title) const;
    virtual void appendLineText(QString& text, const SubtitleLine& line) const;
    virtual QString finishText(QString text) const;
    virtual void removeNativeFormatting(Subtitle& subtitle, const SubtitleFormat* newFormat) const;

    // The line's text with every run of line feeds cut down to one.
    QString formatText(const SubtitleLine& line) const;

protected:
    SubtitleFormat(QString name, QString extension, bool isTimeBased, bool isFrameBased);

private:
    QString name_;
    QString extension_;
    bool isTimeBased_ = true;
    bool isFrameBased_ = false;
    std::size_t errorCount_ = 0;
};

// Reads the file, lets the registry's formats claim it in order and loads it with the
// first that does. Returns that format, or nothing (with an empty list) when none does.
// The batch flag is accepted for callers that import many files; no format reads it.
const SubtitleFormat* loadSubtitle(Subtitle& subtitle, const QString& path,
                                   bool isBatchMode = false);
// The same for a file's text as the plain-text reader gives it.
const SubtitleFormat* loadSubtitleText(Subtitle& subtitle, const QString& text);

} // namespace quillery
