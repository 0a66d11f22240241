// quillery-cli: imports and exports subtitle files with the editor's own rules, for
// scripting and for checking what the editor would do with a file.
#include "CliCommands.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QStringList arguments = app.arguments();
    arguments.removeFirst();
    const auto readStandardInput = [] {
        QFile in;
        return in.open(stdin, QIODevice::ReadOnly) ? in.readAll() : QByteArray();
    };
    const quillery::cli::Result result = quillery::cli::run(arguments, readStandardInput);
    std::fwrite(result.standardOutput.constData(), 1, result.standardOutput.size(), stdout);
    std::fwrite(result.standardError.constData(), 1, result.standardError.size(), stderr);
    return result.exitCode;
}
