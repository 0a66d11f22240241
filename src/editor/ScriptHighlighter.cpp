#include "ScriptHighlighter.h"

#include "ScriptMarks.h"
#include "SubtitleLine.h"

#include <QTextCharFormat>

namespace quillery {

namespace {

const QColor kLinkColor(4, 109, 255);
const QColor kHighlightBackground(59, 113, 227);

QTextCharFormat timeStringFormat(bool inError) {
    QTextCharFormat format;
    format.setForeground(kLinkColor);
    if (inError) {
        format.setBackground(Qt::red);
        format.setFontUnderline(true);
        format.setUnderlineColor(kLinkColor);
    }
    return format;
}

QTextCharFormat textFormat(bool highlighted) {
    QTextCharFormat format;
    format.setForeground(highlighted ? QColor(Qt::white) : QColor(Qt::black));
    if (highlighted)
        format.setBackground(kHighlightBackground);
    return format;
}

QTextCharFormat lineBreakMarkFormat(bool highlighted) {
    QTextCharFormat format = textFormat(highlighted);
    format.setForeground(Qt::red);
    return format;
}

} // namespace

ScriptBlockState& blockState(const QTextBlock& block) {
    auto* state = static_cast<ScriptBlockState*>(block.userData());
    if (state == nullptr) {
        state = new ScriptBlockState;
        const_cast<QTextBlock&>(block).setUserData(state);
    }
    return *state;
}

ScriptHighlighter::ScriptHighlighter(QTextDocument* document,
                                     std::function<const SubtitleLine*(int)> lineAt,
                                     std::function<bool(int)> isHighlightedLine)
    : QSyntaxHighlighter(document), lineAt_(std::move(lineAt)),
      isHighlightedLine_(std::move(isHighlightedLine)) {}

void ScriptHighlighter::highlightBlock(const QString& text) {
    const QTextBlock block = currentBlock();
    const SubtitleLine* line = lineAt_(block.blockNumber());
    const auto* state = static_cast<const ScriptBlockState*>(block.userData());
    const bool highlighted =
        isHighlightedLine_(block.blockNumber()) || (state && state->textHighlighted);

    int textStart = 0;
    int textEnd = static_cast<int>(text.size());
    if (line && line->isStartTimeValid() && textEnd >= kTimeStringLength) {
        setFormat(0, kTimeStringLength, timeStringFormat(state && state->startInError));
        textStart = kTimeStringLength;
    }
    if (line && line->isEndTimeValid() && textEnd - textStart >= kTimeStringLength) {
        textEnd -= kTimeStringLength;
        setFormat(textEnd, kTimeStringLength, timeStringFormat(state && state->endInError));
    }
    setFormat(textStart, textEnd - textStart, textFormat(highlighted));
    for (int i = textStart; i < textEnd; ++i) {
        if (text[i] == kLineBreakMark)
            setFormat(i, 1, lineBreakMarkFormat(highlighted));
    }
}

} // namespace quillery
