#include "QYReplaceTextWindowController.h"

#include "Localization.h"
#include "QYTextView.h"
#include "TextTools.h"

#include <QDialogButtonBox>
#include <QFont>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

namespace quillery {

namespace {

constexpr int kConfirmed = 1;
constexpr int kCancelled = -1;

} // namespace

QYReplaceTextWindowController::QYReplaceTextWindowController(QWidget* parent)
    : QYReplaceTextWindowController(localized("Replace Text"), localized("Replace"), parent) {}

QYReplaceTextWindowController::QYReplaceTextWindowController(const QString& title,
                                                             const QString& doneTitle,
                                                             QWidget* parent)
    : QDialog(parent), textView_(new QYTextView(this)), titleLabel_(new QLabel(title, this)),
      warningLabel_(new QLabel(this)), doneButton_(new QPushButton(doneTitle, this)),
      cancelButton_(new QPushButton(localized("Cancel"), this)) {
    setWindowTitle(title);
    QFont titleFont = titleLabel_->font();
    titleFont.setBold(true);
    titleLabel_->setFont(titleFont);
    textView_->setPlaceholderText(
        localized("Please paste your text here or drag and drop your text file here"));
    warningLabel_->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(doneButton_, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancelButton_, QDialogButtonBox::RejectRole);
    doneButton_->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleLabel_);
    layout->addWidget(textView_, 1);
    layout->addWidget(warningLabel_);
    layout->addWidget(buttons);
    resize(520, 400);

    connect(textView_, &QYTextView::textChanged, this,
            &QYReplaceTextWindowController::compareReplaceTextWithOrigin);
    connect(doneButton_, &QPushButton::clicked, this, [this] { done(kConfirmed); });
    connect(cancelButton_, &QPushButton::clicked, this, [this] { done(kCancelled); });
    // Return belongs to the multi-line field, so confirming from it takes Ctrl+Return.
    auto* confirm = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Return), this);
    connect(confirm, &QShortcut::activated, this, &QYReplaceTextWindowController::confirmIfAllowed);

    compareReplaceTextWithOrigin();
}

void QYReplaceTextWindowController::setOriginalText(const QString& text) {
    originalText_ = text;
    textView_->clear();
    compareReplaceTextWithOrigin();
    textView_->setFocus();
}

QString QYReplaceTextWindowController::getReplaceText() const {
    return quillery::getReplaceText(textView_->toPlainText());
}

void QYReplaceTextWindowController::compareReplaceTextWithOrigin() {
    const LineCountComparison comparison =
        compareLineCounts(originalText_, textView_->toPlainText());
    warningLabel_->setText(lineCountWarning(comparison));
    doneButton_->setEnabled(comparison.matches());
}

void QYReplaceTextWindowController::reject() {
    done(kCancelled);
}

void QYReplaceTextWindowController::confirmIfAllowed() {
    if (doneButton_->isEnabled())
        done(kConfirmed);
}

} // namespace quillery
