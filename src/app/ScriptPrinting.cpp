#include "ScriptPrinting.h"

#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextLayout>

namespace quillery {

std::unique_ptr<QTextDocument> printableDocument(const QPlainTextEdit& editor) {
    std::unique_ptr<QTextDocument> copy(editor.document()->clone());
    copy->setDefaultFont(editor.font());
    QTextBlock shown = editor.document()->begin();
    for (QTextBlock printed = copy->begin(); printed.isValid() && shown.isValid();
         printed = printed.next(), shown = shown.next()) {
        for (const QTextLayout::FormatRange& range : shown.layout()->formats()) {
            QTextCursor cursor(printed);
            cursor.setPosition(printed.position() + range.start);
            cursor.setPosition(printed.position() + range.start + range.length,
                               QTextCursor::KeepAnchor);
            cursor.mergeCharFormat(range.format);
        }
    }
    return copy;
}

} // namespace quillery
