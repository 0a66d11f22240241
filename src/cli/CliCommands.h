// The command-line tool's commands as a function of their arguments, so the tests run
// them in-process. Each command goes through the same classes as the editor's import
// and export commands; nothing here re-implements a rule.
#pragma once

#include "QYClock.h"

#include <QByteArray>
#include <QStringList>
#include <functional>

namespace quillery::cli {

enum ExitCode { Success = 0, UsageError = 1, InputError = 2 };

struct Result {
    int exitCode = Success;
    QByteArray standardOutput; // written only when the command succeeded
    QByteArray standardError;
};

// arguments excludes the program name; readStandardInput is called only for "-". The clock
// dates the names of exported Final Cut Pro projects and sequences.
Result run(const QStringList& arguments, const std::function<QByteArray()>& readStandardInput,
           const Clock& clock = systemClock());

QString usageText();

} // namespace quillery::cli
