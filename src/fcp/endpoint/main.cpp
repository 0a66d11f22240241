// quillery-fcp7-endpoint: answers Final Cut Pro 7's Apple events on the session bus from
// a folder of xmeml files, so "Get FCP Sequence", "Send to FCP" and "Change Font
// Settings" can be used where Final Cut Pro does not run. See the README.
#include "FCP7Endpoint.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

using namespace quillery;

namespace {

QTextStream& errorStream() {
    static QTextStream stream(stderr);
    return stream;
}

// "fcLP=-1708": an event code and the "errn" its replies carry.
bool addFailure(const QString& text, QMap<AEEventID, int32_t>& failures) {
    const std::optional<AEEventID> event = fourCharCodeFromText(text.section(u'=', 0, 0));
    bool isNumber = false;
    const int32_t errorNumber = text.section(u'=', 1).toInt(&isNumber);
    if (!event || !isNumber || errorNumber == noErr)
        return false;
    failures.insert(*event, errorNumber);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("quillery-fcp7-endpoint"));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Answers Final Cut Pro 7's Apple events on the D-Bus session bus from a "
                       "folder of xmeml project files."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("folder"),
                                 QStringLiteral("The folder whose *.xml files are the open "
                                                "projects; imported sequences are written there."));
    const QCommandLineOption current(
        QStringLiteral("current"),
        QStringLiteral("The uuid or name of the current sequence, which \"eTCX\" exports. "
                       "Without it \"eTCX\" returns no document."),
        QStringLiteral("sequence"));
    const QCommandLineOption fail(
        QStringLiteral("fail"),
        QStringLiteral("Answer the event with this error number (repeatable), e.g. fcLP=-1708."),
        QStringLiteral("event=errn"));
    const QCommandLineOption trailing(
        QStringLiteral("trailing"),
        QStringLiteral("Text appended to every exported document after its closing tag."),
        QStringLiteral("text"));
    parser.addOptions({current, fail, trailing});
    parser.process(app);

    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1 || !QDir(positional.front()).exists()) {
        errorStream() << "quillery-fcp7-endpoint: give one existing folder\n";
        return 1;
    }
    FCP7EndpointOptions options;
    options.folder = positional.front();
    options.currentSequence = parser.value(current);
    options.trailingText = parser.value(trailing);
    for (const QString& failure : parser.values(fail)) {
        if (!addFailure(failure, options.failures)) {
            errorStream() << "quillery-fcp7-endpoint: --fail takes CODE=ERRN, not " << failure
                          << "\n";
            return 1;
        }
    }

    FCP7Endpoint endpoint(options);
    AppleEventDBusServer server(endpoint, QDBusConnection::sessionBus());
    if (!server.start(fcp::kSignature)) {
        errorStream() << "quillery-fcp7-endpoint: cannot own "
                      << appleEventServiceName(fcp::kSignature)
                      << " on the session bus (no bus, or another endpoint runs)\n";
        return 2;
    }
    return app.exec();
}
