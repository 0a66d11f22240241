// The multi-line field of the Replace Text and Consolidate Text sheets: plain text with
// undo that also takes text files dropped on it. A dropped file's whole text takes the
// place of the field's text, so of several files the last one wins.
#pragma once

#include <QPlainTextEdit>

namespace quillery {

class QYTextView : public QPlainTextEdit {
    Q_OBJECT

public:
    explicit QYTextView(QWidget* parent = nullptr);

protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    // As one undoable edit, so a drop can be taken back.
    void replaceAllText(const QString& text);
};

} // namespace quillery
