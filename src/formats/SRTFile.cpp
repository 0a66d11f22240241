#include "SRTFile.h"

#include "NumberText.h"
#include "QYRegex.h"
#include "ScriptMarks.h"
#include "TextFileReader.h"

#include <charconv>
#include <cmath>
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

void appendLine(QString& text, const QString& line) {
    if (text.isEmpty())
        text = line;
    else
        text += u'\n' + line;
}

class CueScanner {
public:
    explicit CueScanner(float fps) : fps_(fps) {}

    void scan(const QStringList& lines) {
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString& line = lines[i];
            switch (state_) {
            case State::AfterText:
                readAfterText(line, i + 1 < lines.size() ? &lines[i + 1] : nullptr);
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
        emitPendingCue();
    }

    QStringList scriptLines() const { return scriptLines_; }

private:
    enum class State { AfterText, AtTimeLine, AfterTimeLine };

    void readAfterText(const QString& line, const QString* nextLine) {
        if (!isNumberLine(line)) {
            appendLine(text_, line);
            return;
        }
        // A number on the last line is dropped.
        if (nextLine == nullptr)
            return;
        if (SRTFile::isTimecodeString(withoutSpaces(*nextLine))) {
            emitPendingCue();
            state_ = State::AtTimeLine;
        } else {
            text_ += u'\n' + line;
        }
    }

    void readTimeLine(const QString& line) {
        const QString timeLine = withoutSpaces(line);
        start_ = timeString(timeLine, kStartClock, kStartMilliseconds, fps_);
        end_ = timeString(timeLine, kEndClock, kEndMilliseconds, fps_);
        state_ = State::AfterTimeLine;
    }

    void emitPendingCue() {
        if (!start_.isEmpty() && !end_.isEmpty() && !text_.isEmpty()) {
            QString cueText = text_;
            cueText.replace(u'\n', kLineBreakMark);
            scriptLines_.append(u'[' + start_ + u']' + cueText + u'[' + end_ + u']');
        }
        start_.clear();
        end_.clear();
        text_.clear();
    }

    float fps_;
    State state_ = State::AfterText;
    QString start_;
    QString end_;
    QString text_;
    QStringList scriptLines_;
};

} // namespace

SRTFile::SRTFile(const QString& path) {
    loadFile(path);
}

QString SRTFile::loadFile(const QString& filePath) {
    path = filePath;
    const std::optional<QString> content = getContentFromURL(filePath);
    text = content ? QString(*content).replace(u'\r', u'\n') : QString();
    return text;
}

bool SRTFile::isTimecodeString(const QString& spaceFreeLine) {
    return QYRegex::allMatches(spaceFreeLine, kTimeLinePattern).size() == 1;
}

QStringList SRTFile::generateSRTLines(const QStringList& lines, float fps) {
    CueScanner scanner(fps);
    scanner.scan(lines);
    return scanner.scriptLines();
}

QString SRTFile::convertToText(const QString& text, float fps) {
    if (text.trimmed().size() < kShortestSubRipText)
        return QString();
    const QStringList lines = TextFileReader::sharedInstance().getLinesFromText(text);
    return generateSRTLines(lines, fps).join(u'\n');
}

} // namespace quillery
