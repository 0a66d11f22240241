#include "CliCommands.h"

#include "AvidSubtitleFile.h"
#include "ImportMessages.h"
#include "QYExporter.h"
#include "QYStringUtility.h"
#include "QYTimeUtility.h"
#include "SRTFile.h"
#include "ScriptMarks.h"
#include "ScriptTextSource.h"
#include "SubtitleFormat.h"
#include "TextFileReader.h"
#include "WaveformCommand.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSaveFile>
#include <cmath>
#include <map>
#include <optional>

namespace quillery::cli {

namespace {

// Thrown for bad arguments and unreadable input, caught once in run().
struct Failure {
    int exitCode;
    QString message;
};

[[noreturn]] void usageFailure(const QString& why) {
    throw Failure{UsageError, why};
}
[[noreturn]] void inputFailure(const QString& why) {
    throw Failure{InputError, why};
}

struct Options {
    QString command;
    QString format;
    QString input;
    QString output;
    int track = kAllTracks;
    double fps = 30.0;
    double movieDuration = 0.0;
};

double positiveNumber(const QString& option, const QString& text, bool allowZero) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0 || (!allowZero && value == 0))
        usageFailure(QStringLiteral("%1 needs a %2 number, not \"%3\"")
                         .arg(option, allowZero ? "non-negative" : "positive", text));
    return value;
}

int trackOption(const QString& text) {
    if (text == "all")
        return kAllTracks;
    bool ok = false;
    const int track = text.toInt(&ok);
    if (!ok || track < 0)
        usageFailure(
            QStringLiteral("--track needs a track number or \"all\", not \"%1\"").arg(text));
    return track;
}

Options parseArguments(const QStringList& arguments) {
    if (arguments.isEmpty())
        usageFailure(QStringLiteral("no command given"));
    Options options;
    options.command = arguments.front();
    if (options.command != "to-script" && options.command != "export" &&
        options.command != "waveform")
        usageFailure(QStringLiteral("unknown command \"%1\"").arg(options.command));
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        const auto value = [&]() -> QString {
            if (i + 1 >= arguments.size())
                usageFailure(QStringLiteral("%1 needs a value").arg(argument));
            return arguments[++i];
        };
        if (argument == "--fps")
            options.fps = positiveNumber(argument, value(), false);
        else if (argument == "--movie-duration" && options.command == "export")
            options.movieDuration = positiveNumber(argument, value(), true);
        else if (argument == "--format" && options.command == "export")
            options.format = value();
        else if (argument == "--track" && options.command == "waveform")
            options.track = trackOption(value());
        else if (argument == "-o" && options.command == "waveform")
            options.output = value();
        else if (argument.startsWith("--") || !options.input.isNull())
            usageFailure(QStringLiteral("unexpected argument \"%1\"").arg(argument));
        else
            options.input = argument;
    }
    if (options.input.isNull())
        usageFailure(QStringLiteral("no input file given"));
    if (options.command == "export" && options.format.isEmpty())
        usageFailure(QStringLiteral("export needs --format"));
    if (options.command == "waveform" && options.output.isEmpty())
        usageFailure(QStringLiteral("waveform needs -o FILE"));
    return options;
}

QString normalised(const QString& text) {
    return QYStringUtility::sharedInstance().trimTwoNewLineCharacterIntoOne(text);
}

QString subripToScript(const QString& path) {
    const SRTFile file(path);
    const QString fileName = QFileInfo(path).fileName();
    if (file.text.isEmpty())
        inputFailure(srtReadFailureMessage(fileName));
    const auto fps = static_cast<float>(QYTimeUtility::sharedInstance().getFPS());
    const QString script = SRTFile::convertToText(file.text, fps);
    if (script.isEmpty())
        inputFailure(srtTranslateFailureMessage(fileName));
    return script;
}

QString plainTextToScript(const QString& path) {
    const std::optional<QString> text = getContentFromURL(path);
    if (!text)
        inputFailure(QStringLiteral("Can not read the text file : %1.").arg(path));
    return *text;
}

QString subtitleFileToScript(const QString& path) {
    Subtitle subtitle;
    const SubtitleFormat* format = loadSubtitle(subtitle, path);
    if (format == nullptr)
        inputFailure(QStringLiteral("No subtitle format can read %1.").arg(path));
    return subtitle.getTextViewDisplayString();
}

QString toScript(const Options& options) {
    const QString suffix = QFileInfo(options.input).suffix().toLower();
    if (!QFileInfo(options.input).isFile())
        inputFailure(QStringLiteral("Can not read %1: no such file.").arg(options.input));
    if (suffix == "srt")
        return normalised(subripToScript(options.input));
    if (suffix == "txt")
        return normalised(plainTextToScript(options.input));
    return normalised(subtitleFileToScript(options.input));
}

QString readScript(const Options& options, const std::function<QByteArray()>& readStandardInput) {
    if (options.input == "-")
        return normalised(QString::fromUtf8(readStandardInput()));
    if (!QFileInfo(options.input).isFile())
        inputFailure(QStringLiteral("Can not read %1: no such file.").arg(options.input));
    return normalised(plainTextToScript(options.input));
}

// The editor's records for the script, as its list would hold them.
QList<SubtitleLinePtr> editorLines(const QString& script) {
    return generateSubtitleLines(script, FrameDuration{});
}

QString formatExport(int tag, const QString& script) {
    const SubtitleFormat* format = SubtitleFormat::allSubtitleFormats().at(tag);
    return format->toText(Subtitle::fromScriptLines(editorLines(script), true), format->name());
}

QString exportScript(const Options& options, const QString& script) {
    const ScriptTextSource source(script, options.movieDuration);
    const QYExporter exporter(source);
    static const std::map<QString, int> formatTags = {
        {"webvtt", 0}, {"subviewer1", 1}, {"subviewer2", 2}, {"sbv", 3}};
    if (options.format == "srt")
        return exporter.getSRTFileContent();
    if (options.format == "stl")
        return exporter.getSTLFileContent();
    if (options.format == "encore")
        return exporter.getTextScriptFileContent();
    if (options.format == "avid")
        return AvidSubtitleFile().convertSubtitleToAvidText(editorLines(script));
    if (options.format == "vtt") {
        const SubtitleFormat* webVtt = SubtitleFormat::allSubtitleFormats().at(0);
        return webVtt->toText(Subtitle::fromScriptLines(editorLines(script), false),
                              QCoreApplication::translate("Quillery", "WebVTT"));
    }
    if (options.format == "plain")
        return script;
    const auto tag = formatTags.find(options.format);
    if (tag == formatTags.end())
        usageFailure(QStringLiteral("unknown export format \"%1\"").arg(options.format));
    return formatExport(tag->second, script);
}

QByteArray writeWaveform(const Options& options) {
    const WaveformRun run = extractWaveforms(options.input, options.track);
    if (!run.error.isEmpty())
        inputFailure(run.error);
    QSaveFile file(options.output);
    if (!file.open(QIODevice::WriteOnly) || file.write(run.file) != run.file.size() ||
        !file.commit())
        inputFailure(QStringLiteral("Can not write %1.").arg(options.output));
    return QStringLiteral("Extracted %1 audio track(s) of %2 in %3 s\n")
        .arg(run.trackCount)
        .arg(options.input)
        .arg(run.seconds, 0, 'f', 3)
        .toUtf8();
}

} // namespace

QString usageText() {
    return QStringLiteral(
        "usage: quillery-cli to-script [--fps N] FILE\n"
        "       quillery-cli export --format F [--fps N] [--movie-duration SECONDS] SCRIPT\n"
        "       quillery-cli waveform [--track N|all] MOVIE -o FILE\n"
        "\n"
        "to-script  prints the script text the editor holds after importing FILE:\n"
        "           .srt converted at the frame rate, .txt as it is, anything else\n"
        "           through subtitle format detection (WebVTT, SubViewer, YouTube sbv).\n"
        "export     prints what an export command writes for the script text in\n"
        "           SCRIPT (a file, or - for standard input). F is one of:\n"
        "           srt stl encore avid vtt plain webvtt subviewer1 subviewer2 sbv\n"
        "\n"
        "waveform   reads the movie's audio tracks (counted from 0; all by default) into\n"
        "           the editor's waveform levels, writes them to FILE and prints the time\n"
        "           the extraction took.\n"
        "\n"
        "--fps N    the frame rate time strings are read and written at (default 30)\n"
        "exit codes: 0 done, 1 usage error, 2 input that cannot be read\n");
}

Result run(const QStringList& arguments, const std::function<QByteArray()>& readStandardInput) {
    Result result;
    try {
        const Options options = parseArguments(arguments);
        QYTimeUtility::sharedInstance().setFPS(options.fps);
        if (options.command == "to-script")
            result.standardOutput = toScript(options).toUtf8() + '\n';
        else if (options.command == "waveform")
            result.standardOutput = writeWaveform(options);
        else
            result.standardOutput =
                exportScript(options, readScript(options, readStandardInput)).toUtf8();
    } catch (const Failure& failure) {
        result.exitCode = failure.exitCode;
        QString message = failure.message;
        message.replace(u'\n', u' ');
        result.standardError = "quillery-cli: " + message.toUtf8() + '\n';
        if (failure.exitCode == UsageError)
            result.standardError += usageText().toUtf8();
    }
    return result;
}

} // namespace quillery::cli
