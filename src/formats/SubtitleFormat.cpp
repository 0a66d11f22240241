#include "SubtitleFormat.h"

#include "QYTimeUtility.h"
#include "SubViewer10.h"
#include "SubViewer20.h"
#include "TextFileReader.h"
#include "WebVTTFormat.h"
#include "YouTubeSbv.h"

#include <utility>

namespace quillery {

namespace {

// Every CR and every LF ends a line; lines keep their spaces and empty ones stay.
QStringList cutIntoLines(QString text) {
    return text.replace(u'\r', u'\n').split(u'\n');
}

// The first format that claims the lines, with the list its trial load read.
SubtitleFormat* firstFormatClaiming(const QStringList& lines, const QString& path,
                                    Subtitle& loaded) {
    for (SubtitleFormat* format : SubtitleFormat::allSubtitleFormats()) {
        Subtitle scratch;
        if (format->loadIfMine(scratch, lines, path)) {
            loaded.header = scratch.header;
            loaded.subtitles = std::move(scratch.subtitles);
            return format;
        }
    }
    return nullptr;
}

} // namespace

SubtitleFormat::SubtitleFormat(QString name, QString extension, bool isTimeBased, bool isFrameBased)
    : name_(std::move(name)), extension_(std::move(extension)), isTimeBased_(isTimeBased),
      isFrameBased_(isFrameBased) {}

const QList<SubtitleFormat*>& SubtitleFormat::allSubtitleFormats() {
    static WebVTTFormat webVtt;
    static SubViewer10 subViewer10;
    static SubViewer20 subViewer20;
    static YouTubeSbv youTubeSbv;
    static const QList<SubtitleFormat*> registry{&webVtt, &subViewer10, &subViewer20, &youTubeSbv};
    return registry;
}

QString SubtitleFormat::removeTag(const QString&, const QString& text) {
    return text;
}

QString SubtitleFormat::removeBadChars(const QString& text) {
    return QString(text).replace(QChar(0), u' ');
}

bool SubtitleFormat::setTimesFromClockFields(SubtitleLine& line, const QStringList& f) {
    if (f.size() != 8)
        return false;
    const std::optional<TimeCode> start = TimeCode::fromClockFields(f[0], f[1], f[2], f[3]);
    const std::optional<TimeCode> end = TimeCode::fromClockFields(f[4], f[5], f[6], f[7]);
    if (!start || !end)
        return false;
    line.setStartTimeCode(*start);
    line.setEndTimeCode(*end);
    return true;
}

bool SubtitleFormat::isMine(const QStringList& lines, const QString& path) {
    Subtitle scratch;
    return loadIfMine(scratch, lines, path);
}

bool SubtitleFormat::loadIfMine(Subtitle& subtitle, const QStringList& lines, const QString& path) {
    loadSubtitle(subtitle, lines, path);
    return static_cast<std::size_t>(subtitle.subtitles.size()) > errorCount();
}

void SubtitleFormat::loadSubtitle(Subtitle&, const QStringList&, const QString&) {}

QString SubtitleFormat::toText(const Subtitle& subtitle, const QString& title) const {
    QString text = textHead(title);
    for (const SubtitleLinePtr& line : subtitle.subtitles)
        appendLineText(text, *line);
    return finishText(std::move(text));
}

QString SubtitleFormat::textHead(const QString&) const {
    return QString();
}

void SubtitleFormat::appendLineText(QString&, const SubtitleLine&) const {}

QString SubtitleFormat::finishText(QString text) const {
    return text;
}

void SubtitleFormat::removeNativeFormatting(Subtitle&, const SubtitleFormat*) const {}

QString SubtitleFormat::formatText(const SubtitleLine& line) const {
    QString text = line.text();
    while (text.contains("\n\n"))
        text.replace("\n\n", "\n");
    return text;
}

const SubtitleFormat* loadSubtitle(Subtitle& subtitle, const QString& path, bool) {
    subtitle.fileUrl = path;
    subtitle.subtitles.clear();
    const std::optional<QString> text = TextFileReader().readFile(path);
    if (!text)
        return nullptr;
    return loadSubtitleText(subtitle, *text);
}

const SubtitleFormat* loadSubtitleText(Subtitle& subtitle, const QString& text) {
    subtitle.subtitles.clear();
    const QStringList lines = cutIntoLines(text);
    // Loading is a function of the lines alone, so the claiming trial load is the load.
    SubtitleFormat* format = firstFormatClaiming(lines, subtitle.fileUrl, subtitle);
    if (format == nullptr)
        return nullptr;
    subtitle.format = format;
    subtitle.wasLoadedWithFrameNumbers = !format->isTimeBased();
    subtitle.calculateTimeCodesFromFrameNumbers(QYTimeUtility::sharedInstance().getFPS());
    format->removeNativeFormatting(subtitle, nullptr);
    return format;
}

} // namespace quillery
