// Colours the script editor's text: time strings as blue links (on red when they are out of
// order), subtitle text in black or highlighted, line-break marks in red. The colours live
// in the text layout, not in the document, so they never become undo steps or edits.
#pragma once

#include <QSyntaxHighlighter>
#include <QTextBlockUserData>
#include <functional>

namespace quillery {

class SubtitleLine;

// What the last check found for one line, kept with its text block.
struct ScriptBlockState : QTextBlockUserData {
    bool startInError = false;
    bool endInError = false;
    bool textHighlighted = false; // just edited on the waveform

    bool operator==(const ScriptBlockState& other) const {
        return startInError == other.startInError && endInError == other.endInError &&
               textHighlighted == other.textHighlighted;
    }
};

// The state of a block, created on first use.
ScriptBlockState& blockState(const QTextBlock& block);

class ScriptHighlighter : public QSyntaxHighlighter {
public:
    // lineAt gives the record of a block number; isHighlightedLine says whether the
    // block is the line the movie is showing.
    ScriptHighlighter(QTextDocument* document, std::function<const SubtitleLine*(int)> lineAt,
                      std::function<bool(int)> isHighlightedLine);

protected:
    void highlightBlock(const QString& text) override;

private:
    std::function<const SubtitleLine*(int)> lineAt_;
    std::function<bool(int)> isHighlightedLine_;
};

} // namespace quillery
