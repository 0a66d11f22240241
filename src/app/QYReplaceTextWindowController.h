// The Replace Text sheet: the user pastes or drops new subtitle texts, one per line, to
// take the place of the texts of the script's timed lines. Like the Consolidate Text
// sheet built on it, it can be confirmed only while the pasted text has as many lines
// as the editor's text. Ends with 1 for the confirming button and -1 for "Cancel".
#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace quillery {

class QYTextView;

class QYReplaceTextWindowController : public QDialog {
    Q_OBJECT

public:
    explicit QYReplaceTextWindowController(QWidget* parent = nullptr);

    QYTextView* textView() const { return textView_; }
    QLabel* titleLabel() const { return titleLabel_; }
    QLabel* warningLabel() const { return warningLabel_; }
    QPushButton* doneButton() const { return doneButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

    const QString& originalText() const { return originalText_; }
    // Starts a new round over the editor's whole text, with an empty field.
    void setOriginalText(const QString& text);

    // The field's non-empty trimmed lines joined by "\n".
    QString getReplaceText() const;
    // Shows the warning and disables the confirming button while the line counts differ.
    void compareReplaceTextWithOrigin();

    // Escape and closing the window count as "Cancel".
    void reject() override;

protected:
    QYReplaceTextWindowController(const QString& title, const QString& doneTitle, QWidget* parent);

private:
    void confirmIfAllowed();

    QString originalText_;
    QYTextView* textView_;
    QLabel* titleLabel_;
    QLabel* warningLabel_;
    QPushButton* doneButton_;
    QPushButton* cancelButton_;
};

} // namespace quillery
