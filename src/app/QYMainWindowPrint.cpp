// "Page Setup..." and "Print...": the script printed as the editor shows it, in its font
// and with the colours of its time strings, error marks and line-break marks.
#include "Localization.h"
#include "QYMainWindowController.h"
#include "ScriptPrinting.h"
#include "SubtitleTextView.h"

#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextDocument>

namespace quillery {

QPrinter& QYMainWindowController::printer() {
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void QYMainWindowController::pageSetup() {
    QPageSetupDialog dialog(&printer(), this);
    dialog.setWindowTitle(localized("Page Setup"));
    dialog.exec();
}

void QYMainWindowController::printDocument() {
    QPrintDialog dialog(&printer(), this);
    dialog.setWindowTitle(localized("Print"));
    if (dialog.exec() == QDialog::Accepted)
        printScript(printer());
}

void QYMainWindowController::printScript(QPrinter& printer) const {
    printableDocument(*textView_)->print(&printer);
}

} // namespace quillery
