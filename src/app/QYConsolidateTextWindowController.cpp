#include "QYConsolidateTextWindowController.h"

#include "Localization.h"
#include "QYTextView.h"
#include "TextTools.h"

namespace quillery {

QYConsolidateTextWindowController::QYConsolidateTextWindowController(QWidget* parent)
    : QYReplaceTextWindowController(localized("Consolidate Text"), localized("Consolidate"),
                                    parent) {}

QString QYConsolidateTextWindowController::getConsolidateText() const {
    return quillery::getConsolidateText(originalText(), textView()->toPlainText());
}

} // namespace quillery
