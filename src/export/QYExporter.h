// The exporter: parses the script text once more by its own, looser rules (any text
// between two time strings is a subtitle) and prints that list as SubRip, STL and text
// script files, as titles of a Final Cut Pro X project, as the subtitle track of a Final
// Cut Pro 7 sequence, and as Smoke subtitle XML.
//
// The class is spread over files by writer: this one's .cpp holds the script parse and
// the plain-text writers; QYExporterFCPX.cpp the Final Cut Pro X documents and font
// changes; QYExporterFCP7.cpp the Final Cut Pro 7 track and the Smoke document.
#pragma once

#include "MediaTime.h"
#include "QYClock.h"
#include "QYExportSource.h"
#include "QYXMLUtility.h"
#include "SubtitleLine.h"

#include <QList>
#include <QString>
#include <cstdint>
#include <functional>
#include <utility>

namespace quillery {

// What the Smoke export dialog asks and knows: the movie's rate, name, size and length,
// the drop-frame choice (asked at 29.97 and 59.94 only) and the Smoke font template.
struct SmokeExportSettings {
    double videoRate = 0;
    QString movieFilePath;
    int64_t videoWidth = 0;
    int64_t videoHeight = 0;
    MediaTime videoDuration;
    bool dropFrame = true;
    QString templatePath;
};

class QYExporter {
public:
    // The clock dates the names of exported Final Cut Pro projects and sequences.
    explicit QYExporter(const QYExportSource& textView, Clock clock = systemClock());

    // The subtitles of the script text in text order, unsorted and unchecked.
    QList<SubtitleLinePtr> generateSubtitleLines() const;
    // The same subtitles handed over one at a time, so a long script is written without
    // holding a record for every subtitle at once.
    void forEachSubtitleLine(const std::function<void(const SubtitleLinePtr&)>& visit) const;

    // Hours are never wrapped at 24, and frames never carry into the seconds.
    static QString srtTimeStringFromTimeInterval(double seconds);
    static QString stlTimeStringFromTimeInterval(double seconds);
    static QString textScriptTimeStringFromTimeInterval(double seconds);

    QString getSRTFileContent() const;
    QString getSTLFileContent() const;
    QString getTextScriptFileContent() const;

    // UTF-8 without a byte-order mark, written in place; false when the write failed.
    bool saveSrtFile(const QString& path) const;
    bool saveStlFile(const QString& path) const;
    bool saveTextScriptFile(const QString& path) const;

    // --- Final Cut Pro X (QYExporterFCPX.cpp) ------------------------------------------
    // The project with its old subtitles replaced by a storyline of titles copied from
    // the template; the document itself is never changed.
    QString genFCPXXml(const xml::Document& document, const xml::Element& titleTemplate,
                       const QString& seqFormat, const QString& motiFile) const;
    // The same project with nothing on its main storyline but one gap carrying the titles.
    QString genEmptyFCPXXml(const xml::Document& document, const xml::Element& titleTemplate,
                            const QString& seqFormat, const QString& motiFile) const;
    // Adds the storyline of titles to the element of the main storyline that the first
    // subtitle falls on; adds nothing without such an element or without subtitles.
    void genTitle(xml::Element mainSpine, const xml::Element& titleTemplate, const QString& tcStart,
                  const QString& seqFormat) const;
    // Remove the subtitles an earlier export or the user put in the project, by the
    // same thresholds the reader takes them by.
    static void delSpine(xml::Element mainSpine);
    static void delTitle(xml::Element mainSpine);
    // The project with the template's Motion title swapped for a library title, given by
    // its path relative to the title library.
    static QString changeFCPXFont(const xml::Document& document, const xml::Element& titleTemplate,
                                  const QString& seqFormat, const QString& motiFile);

    // Whole seconds of a rational time text; 0 for a null text or a zero denominator.
    static int64_t parseFCPXFormatTime(const QString& rationalTime);
    // Numerator and denominator texts; ("0", "0") for a null text, (N, "1") for "Ns".
    static std::pair<QString, QString> splitFCPXFormatTime(const QString& rationalTime);
    static int64_t getLeastCommonMultiple(int64_t x, int64_t y);

    // --- Final Cut Pro 7 and Smoke (QYExporterFCP7.cpp) ----------------------------------
    void SetDropFrame(bool isDropFrame, int32_t timebase);
    // Puts one copy of the template generator item per subtitle at the front of the track,
    // in time order.
    void generateSubtitleTrack(xml::Element track, const xml::Element& baseTemplate) const;
    // Rewrites the sequence in place: renamed with the date, its subtitle track rebuilt
    // from the template, every timebase set to the current frame rate. Returns the XML to
    // save or send; newName receives the new sequence name.
    QString genNewFCP7XML(xml::Document& document, const QString& seqName,
                          const xml::Element& templateElement, QString* newName) const;

    // The rate names of Smoke ("25", "29.97 DF"...) choose the separators of its time codes.
    static QString smokeTimeStringFromTimeInterval(const QString& rate, double seconds);
    // A frame rate as the Smoke dialog shows it: three decimals, trailing zeros dropped.
    static QString smokeFrameRateText(double videoRate);
    static QString smokeRateName(double videoRate, bool dropFrame);
    void generateSmokeXmlVideo(xml::Element video, const QString& templateFile,
                               const QString& rate) const;
    QString genSmokeXML(const SmokeExportSettings& settings) const;

    // The Final Cut Pro 7 sequence timing, set together before that writer runs.
    bool mbIsDropFrame = false;
    int32_t miTimebase = 0;

private:
    // Hours, minutes, seconds and frames at the current frame rate, frames never carried;
    // the format names the separators ("%02d:%02d:%02d:%02d").
    static QString framedTimeString(double seconds, const char* format);
    struct StorylineTimebase;
    void appendTitles(xml::Element storyline, const xml::Element& titleTemplate,
                      const QList<SubtitleLinePtr>& lines, const StorylineTimebase& timebase,
                      const QString& seqFormat) const;
    QString renamedProjectName(const QString& name) const;
    void renameProject(xml::Document& document) const;

    SubtitleLinePtr subtitleBetween(const QString& startString, const QString& endString,
                                    const QString& text) const;
    SubtitleLinePtr subtitleToMovieEnd(const QString& startString, double duration,
                                       const QString& text) const;

    const QYExportSource& textView_;
    Clock clock_;
};

// The path of an export destination: ".extension" appended unless the path already ends
// with it (case-sensitive), so "movie" and "movie.srt" both give "movie.srt".
QString pathWithExtension(const QString& path, const QString& extension);

} // namespace quillery
