// The script as it is printed: the editor's text in the editor's font, with the colours
// the editor shows.
#pragma once

#include <QTextDocument>
#include <memory>

class QPlainTextEdit;

namespace quillery {

// A copy of the editor's document with the highlighter's colours, which live only in the
// editor's text layout, written into the text itself so that they print.
std::unique_ptr<QTextDocument> printableDocument(const QPlainTextEdit& editor);

} // namespace quillery
