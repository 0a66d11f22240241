// The Consolidate Text sheet: the user pastes or drops a translation, one line per line
// of the script, to be interleaved with it line by line. Same rules as the Replace Text
// sheet; only the confirming button and the result differ.
#pragma once

#include "QYReplaceTextWindowController.h"

namespace quillery {

class QYConsolidateTextWindowController : public QYReplaceTextWindowController {
    Q_OBJECT

public:
    explicit QYConsolidateTextWindowController(QWidget* parent = nullptr);

    // Each line of the editor's text followed by its pasted line, joined by "\n".
    QString getConsolidateText() const;
};

} // namespace quillery
