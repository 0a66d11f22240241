#include "SRTFile.h"

#include "NumberText.h"
#include "QYRegex.h"
#include "ScriptMarks.h"
#include "TextFileReader.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace quillery {

namespace {

const QString kNumberLinePattern = QStringLiteral("^\\d+$");
const QString kTimeLinePattern = QStringLiteral("(..):(..):(..),(...)-->(..):(..):(..),(...)");

// Texts shorter than this cannot hold a cue worth converting.
constexpr qsizetype kShortestSubRipText = 16;

// Field positions in the space-free time line.
constexpr qsizetype kStartClock = 0;
constexpr qsizetype kStartMilliseconds = 9;
constexpr qsizetype kEndClock = 15;
constexpr qsizetype kEndMilliseconds = 24;
constexpr qsizetype kClockLength = 8;
constexpr qsizetype kMillisecondsLength = 3;

bool isNumberLine(const QString& line) {
    return QYRegex::isMatchedByRegex(line, kNumberLinePattern);
}

QString withoutSpaces(const QString& line) {
    QString result = line;
    return result.remove(u' ');
}

// An optional sign, digits and an optional fraction; 0 when the field has none.
float leadingFloat(QStringView field) {
    std::string number;
    for (QChar c : field) {
        const bool isSign = number.empty() && (c == u'-' || c == u'+');
        if (!isSign && c != u'.' && (c < u'0' || c > u'9'))
            break;
        number += c.toLatin1();
    }
    const char* first = number.data();
    if (!number.empty() && number.front() == '+')
        ++first;
    float value = 0.0f;
    std::from_chars(first, number.data() + number.size(), value);
    return value;
}

// As "%02d": at least two characters, zero padded; a minus sign counts as one of them.
QString twoDigits(int32_t value) {
    const QString digits = QString::number(value);
    return digits.size() < 2 ? u'0' + digits : digits;
}

// Milliseconds to a frame number in single precision, halves away from zero; nothing is
// carried into the seconds and the clock is copied as it stands.
QString timeString(const QString& timeLine, qsizetype clockAt, qsizetype millisecondsAt,
                   float fps) {
    const float milliseconds =
        leadingFloat(QStringView(timeLine).mid(millisecondsAt, kMillisecondsLength));
    const float frames = std::round(milliseconds * fps / 1000.0f);
    return timeLine.mid(clockAt, kClockLength) + u'.' + twoDigits(toInt32(frames));
}

void appendLine(QString& text, QStringView line) {
    if (!text.isEmpty())
        text += u'\n';
    text += line;
}

// Reads the lines as they come: each is read once the line after it is known, and each
// cue goes into the script text as soon as it is complete.
class CueScanner {
public:
    explicit CueScanner(float fps) : fps_(fps) {}

    void feed(QStringView line) {
        if (pending_)
            read(*pending_, &line);
        pending_ = line;
    }

    // The script lines joined by line feeds.
    QString finish() {
        if (pending_)
            read(*pending_, nullptr);
        pending_.reset();
        emitPendingCue();
        return std::move(script_);
    }

private:
    enum class State { AfterText, AtTimeLine, AfterTimeLine };

    void read(QStringView line, const QStringView* nextLine) {
        switch (state_) {
        case State::AfterText:
            readAfterText(line, nextLine);
            break;
        case State::AtTimeLine:
            readTimeLine(line);
            break;
        case State::AfterTimeLine:
            appendLine(text_, line);
            state_ = State::AfterText;
            break;
        }
    }

    void readAfterText(QStringView line, const QStringView* nextLine) {
        if (!isNumberLine(line.toString())) {
            appendLine(text_, line);
            return;
        }
        // A number on the last line is dropped.
        if (nextLine == nullptr)
            return;
        if (SRTFile::isTimecodeString(withoutSpaces(nextLine->toString()))) {
            emitPendingCue();
            state_ = State::AtTimeLine;
        } else {
            text_ += u'\n';
            text_ += line;
        }
    }

    void readTimeLine(QStringView line) {
        const QString timeLine = withoutSpaces(line.toString());
        start_ = timeString(timeLine, kStartClock, kStartMilliseconds, fps_);
        end_ = timeString(timeLine, kEndClock, kEndMilliseconds, fps_);
        state_ = State::AfterTimeLine;
    }

    void emitPendingCue() {
        if (!start_.isEmpty() && !end_.isEmpty() && !text_.isEmpty()) {
            if (!script_.isEmpty())
                script_ += u'\n';
            script_ +=
                u'[' + start_ + u']' + text_.replace(u'\n', kLineBreakMark) + u'[' + end_ + u']';
        }
        start_.clear();
        end_.clear();
        text_.clear();
    }

    float fps_;
    State state_ = State::AfterText;
    std::optional<QStringView> pending_;
    QString start_;
    QString end_;
    QString text_;
    QString script_;
};

} // namespace

SRTFile::SRTFile(const QString& path) {
    loadFile(path);
}

QString SRTFile::loadFile(const QString& filePath) {
    path = filePath;
    std::optional<QString> content = getContentFromURL(filePath);
    text = content ? std::move(content->replace(u'\r', u'\n')) : QString();
    return text;
}

bool SRTFile::isTimecodeString(const QString& spaceFreeLine) {
    return QYRegex::allMatches(spaceFreeLine, kTimeLinePattern).size() == 1;
}

QStringList SRTFile::generateSRTLines(const QStringList& lines, float fps) {
    CueScanner scanner(fps);
    for (const QString& line : lines)
        scanner.feed(line);
    const QString script = scanner.finish();
    return script.isEmpty() ? QStringList() : script.split(u'\n');
}

QString SRTFile::convertToText(const QString& text, float fps) {
    if (QStringView(text).trimmed().size() < kShortestSubRipText)
        return QString();
    CueScanner scanner(fps);
    TextFileReader::forEachLineOfText(text, [&scanner](QStringView line) { scanner.feed(line); });
    return scanner.finish();
}

} // namespace quillery
