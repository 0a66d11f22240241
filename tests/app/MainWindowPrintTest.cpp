// "Print...": the script on paper as the editor shows it.
#include "MainWindowFixture.h"
#include "MediaTools.h"

#include <QPrinter>

using namespace quillery;
using namespace quillery::test;

namespace {

const QString kScript = QString::fromUtf8("[00:00:00.05]First[00:00:00.20]\n"
                                          "[00:00:01.00]Two⏎rows[00:00:01.15]");

using MainWindowPrintTest = MainWindowFixture;

TEST_F(MainWindowPrintTest, PrintsEveryLineOfTheScriptOnAsManyPagesAsItNeeds) {
    QString script = kScript;
    for (int i = 0; i < 150; ++i)
        script += QStringLiteral("\n[00:01:%1.00]Line number %2[00:01:%1.20]")
                      .arg(i % 60, 2, 10, QLatin1Char('0'))
                      .arg(i);
    window->replaceTextInTextView(script);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("script.pdf"));
    window->printScript(printer);

    const QString text =
        QString::fromUtf8(runTool("pdftotext", {"-layout", dir.filePath("script.pdf"), "-"}));
    EXPECT_TRUE(text.contains("[00:01:29.00]Line number 149[00:01:29.20]"))
        << text.left(300).toStdString();
    EXPECT_GE(text.count(u'\f'), 3) << "152 lines do not fit on two pages";
}

} // namespace
