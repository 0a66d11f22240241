#include "QYTextView.h"

#include "TextFileReader.h"

#include <QMimeData>
#include <QTextCursor>
#include <QUrl>

namespace quillery {

namespace {

QStringList localFiles(const QMimeData* source) {
    QStringList paths;
    for (const QUrl& url : source->urls()) {
        if (url.isLocalFile())
            paths.append(url.toLocalFile());
    }
    return paths;
}

} // namespace

QYTextView::QYTextView(QWidget* parent) : QPlainTextEdit(parent) {
    // Tab moves on to the buttons, as everywhere else in a dialog.
    setTabChangesFocus(true);
}

bool QYTextView::canInsertFromMimeData(const QMimeData* source) const {
    return !localFiles(source).isEmpty() || QPlainTextEdit::canInsertFromMimeData(source);
}

void QYTextView::insertFromMimeData(const QMimeData* source) {
    const QStringList paths = localFiles(source);
    if (paths.isEmpty()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    std::optional<QString> lastText;
    for (const QString& path : paths) {
        if (std::optional<QString> text = TextFileReader::sharedInstance().readFile(path))
            lastText = std::move(text);
    }
    if (lastText)
        replaceAllText(*lastText);
}

void QYTextView::replaceAllText(const QString& text) {
    QTextCursor cursor(document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(text);
    setTextCursor(cursor);
}

} // namespace quillery
