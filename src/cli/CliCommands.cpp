#include "CliCommands.h"

#include "AvidSubtitleFile.h"
#include "FCPMessages.h"
#include "FileWriting.h"
#include "ImportMessages.h"
#include "Localization.h"
#include "NumberText.h"
#include "QYExporter.h"
#include "QYFCP7XMLParser.h"
#include "QYFCPXXMLParser.h"
#include "QYStringUtility.h"
#include "QYTimeUtility.h"
#include "SRTFile.h"
#include "ScriptMarks.h"
#include "ScriptTextSource.h"
#include "SubtitleFormat.h"
#include "TextFileReader.h"
#include "WaveformCommand.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
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
    double fps = 30.0;
    bool fpsGiven = false;
    double movieDuration = 0.0;
    bool info = false;
    QString project;
    QString sequence;
    QString script;
    QString output;
    QString emptyOutput;
    int track = kAllTracks;
    QString smokeTemplate;
    QString moviePath;
    double rate = 0.0;
    bool nonDropFrame = false;
    int64_t width = 1920;
    int64_t height = 1080;
};

// The options each command takes; those followed by "=" take a value.
const std::map<QString, QStringList>& commandOptions() {
    static const std::map<QString, QStringList> options = {
        {"to-script", {"--fps=", "--info"}},
        {"export", {"--format=", "--fps=", "--movie-duration="}},
        {"fcpx-export", {"--project=", "--script=", "--empty-out=", "-o="}},
        {"fcp7-export", {"--sequence=", "--script=", "-o="}},
        {"waveform", {"--track=", "-o="}},
        {"smoke-export",
         {"--template=", "--rate=", "--non-drop-frame",
          "--movie=", "--width=", "--height=", "--duration=", "--fps=", "-o="}},
    };
    return options;
}

bool takesInputFile(const QString& command) {
    return command != "fcpx-export" && command != "fcp7-export";
}

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

void setOption(Options& options, const QString& option, const QString& value) {
    if (option == "--track") {
        options.track = trackOption(value);
    } else if (option == "--fps") {
        options.fps = positiveNumber(option, value, false);
        options.fpsGiven = true;
    } else if (option == "--movie-duration" || option == "--duration") {
        options.movieDuration = positiveNumber(option, value, true);
    } else if (option == "--rate") {
        options.rate = positiveNumber(option, value, false);
    } else if (option == "--width") {
        options.width = static_cast<int64_t>(positiveNumber(option, value, false));
    } else if (option == "--height") {
        options.height = static_cast<int64_t>(positiveNumber(option, value, false));
    } else {
        const std::map<QString, QString Options::*> texts = {
            {"--format", &Options::format},
            {"--project", &Options::project},
            {"--sequence", &Options::sequence},
            {"--script", &Options::script},
            {"-o", &Options::output},
            {"--empty-out", &Options::emptyOutput},
            {"--template", &Options::smokeTemplate},
            {"--movie", &Options::moviePath}};
        options.*texts.at(option) = value;
    }
}

void requireOptions(const Options& options) {
    const auto require = [](const QString& value, const char* what) {
        if (value.isEmpty())
            usageFailure(QStringLiteral("%1 is required").arg(QLatin1String(what)));
    };
    if (takesInputFile(options.command) && options.input.isNull())
        usageFailure(QStringLiteral("no input file given"));
    if (options.command == "export")
        require(options.format, "--format");
    if (options.command == "fcpx-export")
        require(options.project, "--project");
    if (options.command == "fcp7-export")
        require(options.sequence, "--sequence");
    if (options.command == "smoke-export") {
        require(options.smokeTemplate, "--template");
        if (options.rate == 0)
            usageFailure(QStringLiteral("--rate is required"));
    }
    if ((options.command.endsWith("-export") && options.command != "export") ||
        options.command == "waveform")
        require(options.output, "-o");
}

Options parseArguments(const QStringList& arguments) {
    if (arguments.isEmpty())
        usageFailure(QStringLiteral("no command given"));
    Options options;
    options.command = arguments.front();
    const auto known = commandOptions().find(options.command);
    if (known == commandOptions().end())
        usageFailure(QStringLiteral("unknown command \"%1\"").arg(options.command));
    const QStringList& allowed = known->second;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument.startsWith(u'-') && argument != "-") {
            if (allowed.contains(argument)) {
                if (argument == "--info")
                    options.info = true;
                else
                    options.nonDropFrame = true;
                continue;
            }
            if (!allowed.contains(argument + u'='))
                usageFailure(QStringLiteral("unexpected argument \"%1\"").arg(argument));
            if (i + 1 >= arguments.size())
                usageFailure(QStringLiteral("%1 needs a value").arg(argument));
            setOption(options, argument, arguments[++i]);
        } else if (!options.input.isNull() || !takesInputFile(options.command)) {
            usageFailure(QStringLiteral("unexpected argument \"%1\"").arg(argument));
        } else {
            options.input = argument;
        }
    }
    requireOptions(options);
    return options;
}

QString normalised(QString text) {
    return QYStringUtility::sharedInstance().trimTwoNewLineCharacterIntoOne(std::move(text));
}

// Stops with the reason when the path is no file that can be opened for reading.
void requireReadableFile(const QString& path) {
    const QString problem = fileAccessProblem(path);
    if (!problem.isEmpty())
        inputFailure(cannotReadFileMessage(path, problem));
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
        inputFailure(cannotReadFileMessage(path, localized("it holds no text")));
    return *text;
}

QString subtitleFileToScript(const QString& path) {
    Subtitle subtitle;
    const SubtitleFormat* format = loadSubtitle(subtitle, path);
    if (format == nullptr)
        inputFailure(cannotReadFileMessage(path, localized("no subtitle format reads it")));
    return subtitle.getTextViewDisplayString();
}

QString readTextFile(const QString& path) {
    requireReadableFile(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        inputFailure(cannotReadFileMessage(path, file.errorString()));
    return QString::fromUtf8(file.readAll());
}

QString readScript(const QString& path, const std::function<QByteArray()>& readStandardInput) {
    if (path == "-")
        return normalised(QString::fromUtf8(readStandardInput()));
    requireReadableFile(path);
    return normalised(plainTextToScript(path));
}

// The project as the editor's import reads it; a project the editor would refuse fails.
FCPXProjectReading readFCPXProject(const QString& path) {
    FCPXProjectReading reading =
        QYFCPXXMLParser::shareInstance().findSubtitleTemplateFromFCPXXML(readTextFile(path));
    const QString fileName = QFileInfo(path).fileName();
    switch (reading.status) {
    case FCPXProjectReading::Status::FormatError:
        inputFailure(QStringLiteral("%1: %2").arg(fileName, fcpxFormatErrorMessage()));
    case FCPXProjectReading::Status::FrameDurationError:
        inputFailure(QStringLiteral("%1: the frame duration of the sequence format is not a "
                                    "fraction of seconds.")
                         .arg(fileName));
    case FCPXProjectReading::Status::NoTemplate:
        inputFailure(fcpxNoTemplateMessage());
    case FCPXProjectReading::Status::Ok:
        break;
    }
    return reading;
}

FCP7SequenceReading readFCP7Sequence(const QString& path) {
    std::optional<FCP7SequenceReading> reading =
        QYFCP7XMLParser::shareInstance().findSubtitleTemplateFromFCP7XML(readTextFile(path));
    if (!reading || reading->scriptText.isEmpty())
        inputFailure(fcp7NoTemplateMessage());
    return std::move(*reading);
}

QByteArray jsonLine(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
}

QByteArray fcpxInfo(const FCPXProjectReading& reading) {
    const xml::Element title = reading.title();
    return jsonLine({
        {"frameRate", reading.frameRate()},
        {"frameDuration", QStringLiteral("%1/%2s")
                              .arg(reading.frameDurationNumerator)
                              .arg(reading.frameDurationDenominator)},
        {"sequenceFormat", reading.seqFormat},
        {"templateRef", xml::stringValueOfAttribute("ref", title)},
        {"templateLane", intValue(xml::stringValueOfAttribute("lane", title))},
    });
}

QByteArray fcp7Info(const FCP7SequenceReading& reading) {
    return jsonLine({
        {"frameRate", QYTimeUtility::sharedInstance().getFPS()},
        {"timebase", reading.miTimebase},
        {"dropFrame", reading.mbIsDropFrame},
        {"sequenceName", reading.seqName},
        {"templateId", xml::stringValueOfAttribute("id", reading.templateItem())},
    });
}

QString toScript(const Options& options, QByteArray& info) {
    const QString suffix = QFileInfo(options.input).suffix().toLower();
    requireReadableFile(options.input);
    if (suffix == "srt")
        return normalised(subripToScript(options.input));
    if (suffix == "txt")
        return normalised(plainTextToScript(options.input));
    if (suffix == "fcpxml") {
        const FCPXProjectReading reading = readFCPXProject(options.input);
        info = fcpxInfo(reading);
        return normalised(reading.scriptText);
    }
    if (suffix == "xml") {
        const FCP7SequenceReading reading = readFCP7Sequence(options.input);
        info = fcp7Info(reading);
        return normalised(reading.scriptText);
    }
    return normalised(subtitleFileToScript(options.input));
}

void writeOutput(const QString& path, const QString& text, Result& result) {
    if (path == "-") {
        result.standardOutput += text.toUtf8();
        return;
    }
    if (!writeUtf8File(path, text, WriteMode::Plain))
        inputFailure(QStringLiteral("Can not write %1.").arg(path));
}

void exportFCPX(const Options& options, const std::function<QByteArray()>& readStandardInput,
                const Clock& clock, Result& result) {
    const FCPXProjectReading project = readFCPXProject(options.project);
    const QString script = options.script.isNull() ? normalised(project.scriptText)
                                                   : readScript(options.script, readStandardInput);
    const ScriptTextSource source(
        script, 0, {project.frameDurationNumerator, project.frameDurationDenominator});
    const QYExporter exporter(source, clock);
    writeOutput(options.output,
                exporter.genFCPXXml(*project.document, project.title(), project.seqFormat, {}),
                result);
    if (!options.emptyOutput.isEmpty())
        writeOutput(
            options.emptyOutput,
            exporter.genEmptyFCPXXml(*project.document, project.title(), project.seqFormat, {}),
            result);
}

void exportFCP7(const Options& options, const std::function<QByteArray()>& readStandardInput,
                const Clock& clock, Result& result) {
    FCP7SequenceReading sequence = readFCP7Sequence(options.sequence);
    const QString script = options.script.isNull() ? normalised(sequence.scriptText)
                                                   : readScript(options.script, readStandardInput);
    const double length = sequence.duration.isNumeric() ? sequence.duration.seconds() : 0.0;
    const ScriptTextSource source(script, length);
    QYExporter exporter(source, clock);
    exporter.SetDropFrame(sequence.mbIsDropFrame, sequence.miTimebase);
    writeOutput(options.output,
                exporter.genNewFCP7XML(*sequence.document, sequence.seqName,
                                       sequence.templateItem(), nullptr),
                result);
}

void exportSmoke(const Options& options, const std::function<QByteArray()>& readStandardInput,
                 Result& result) {
    // Without --fps the time codes count frames at the Smoke rate.
    if (!options.fpsGiven)
        QYTimeUtility::sharedInstance().setFPS(options.rate);
    const ScriptTextSource source(readScript(options.input, readStandardInput),
                                  options.movieDuration);
    SmokeExportSettings settings;
    settings.videoRate = options.rate;
    settings.movieFilePath = options.moviePath;
    settings.videoWidth = options.width;
    settings.videoHeight = options.height;
    settings.videoDuration = MediaTime::makeWithSeconds(options.movieDuration, 1000);
    settings.dropFrame = !options.nonDropFrame;
    settings.templatePath = options.smokeTemplate;
    writeOutput(options.output, QYExporter(source).genSmokeXML(settings), result);
}

// What a subtitle format writes for the editor's records of the script. The records are
// made and written one at a time, so a long script never has all of them at once.
QString formatExport(const SubtitleFormat& format, const QString& script, bool rowsAsLineFeeds,
                     const QString& title) {
    QString text = format.textHead(title);
    // Reserved pages cost nothing until written; growing a long text piece by piece
    // would copy it again and again.
    text.reserve(2 * script.size());
    forEachSubtitleLine(script, FrameDuration{}, [&](const SubtitleLinePtr& line) {
        // The record is this loop's own, so it is prepared in place rather than copied.
        Subtitle::prepareForWriting(*line, rowsAsLineFeeds);
        format.appendLineText(text, *line);
    });
    return format.finishText(std::move(text));
}

QString avidExport(const QString& script) {
    const AvidSubtitleFile avid;
    QString text = AvidSubtitleFile::avidTextHead();
    text.reserve(2 * script.size());
    forEachSubtitleLine(script, FrameDuration{},
                        [&](const SubtitleLinePtr& line) { avid.appendAvidLine(text, *line); });
    return text + AvidSubtitleFile::avidTextTail();
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
        return avidExport(script);
    if (options.format == "vtt")
        return formatExport(*SubtitleFormat::allSubtitleFormats().at(0), script, false,
                            localized("WebVTT"));
    if (options.format == "plain")
        return script;
    const auto tag = formatTags.find(options.format);
    if (tag == formatTags.end())
        usageFailure(QStringLiteral("unknown export format \"%1\"").arg(options.format));
    const SubtitleFormat& format = *SubtitleFormat::allSubtitleFormats().at(tag->second);
    return formatExport(format, script, true, format.name());
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
        "usage: quillery-cli to-script [--fps N] [--info] FILE\n"
        "       quillery-cli export --format F [--fps N] [--movie-duration SECONDS] SCRIPT\n"
        "       quillery-cli fcpx-export --project P.fcpxml [--script S] [--empty-out FILE] "
        "-o FILE\n"
        "       quillery-cli fcp7-export --sequence S.xml [--script S] -o FILE\n"
        "       quillery-cli smoke-export --template T --rate R [--non-drop-frame] [--movie M]\n"
        "                    [--width W] [--height H] [--duration SECONDS] [--fps N] -o FILE "
        "SCRIPT\n"
        "       quillery-cli waveform [--track N|all] MOVIE -o FILE\n"
        "\n"
        "to-script    prints the script text the editor holds after importing FILE:\n"
        "             .srt converted at the frame rate, .txt as it is, .fcpxml and .xml\n"
        "             (Final Cut Pro X and 7) at the project's rate, anything else through\n"
        "             subtitle format detection (WebVTT, SubViewer, YouTube sbv). --info\n"
        "             prints what a Final Cut Pro import found as JSON on standard error.\n"
        "export       prints what an export command writes for the script text in\n"
        "             SCRIPT (a file, or - for standard input). F is one of:\n"
        "             srt stl encore avid vtt plain webvtt subviewer1 subviewer2 sbv\n"
        "fcpx-export  writes the Final Cut Pro X project with the script S as titles (the\n"
        "             project's own subtitles without --script), and with --empty-out the\n"
        "             empty project that carries only the titles.\n"
        "fcp7-export  writes the Final Cut Pro 7 sequence with the script S as its subtitle\n"
        "             track (the sequence's own subtitles without --script).\n"
        "smoke-export writes the script as Smoke subtitle XML for a movie at rate R.\n"
        "waveform     reads the movie's audio tracks (counted from 0; all by default) into\n"
        "             the editor's waveform levels, writes them to FILE and prints the time\n"
        "             the extraction took.\n"
        "\n"
        "--fps N    the frame rate time strings are read and written at (default 30)\n"
        "-o FILE    where a document goes; - for standard output\n"
        "exit codes: 0 done, 1 usage error, 2 input that cannot be read\n");
}

Result run(const QStringList& arguments, const std::function<QByteArray()>& readStandardInput,
           const Clock& clock) {
    Result result;
    try {
        const Options options = parseArguments(arguments);
        QYTimeUtility::sharedInstance().setFPS(options.fps);
        if (options.command == "to-script") {
            QByteArray info;
            result.standardOutput = toScript(options, info).toUtf8() + '\n';
            if (options.info)
                result.standardError = info;
        } else if (options.command == "fcpx-export") {
            exportFCPX(options, readStandardInput, clock, result);
        } else if (options.command == "fcp7-export") {
            exportFCP7(options, readStandardInput, clock, result);
        } else if (options.command == "smoke-export") {
            exportSmoke(options, readStandardInput, result);
        } else if (options.command == "waveform") {
            result.standardOutput = writeWaveform(options);
        } else {
            result.standardOutput =
                exportScript(options, readScript(options.input, readStandardInput)).toUtf8();
        }
    } catch (const Failure& failure) {
        result.exitCode = failure.exitCode;
        result.standardOutput.clear();
        QString message = failure.message;
        message.replace(u'\n', u' ');
        result.standardError = "quillery-cli: " + message.toUtf8() + '\n';
        if (failure.exitCode == UsageError)
            result.standardError += usageText().toUtf8();
    }
    return result;
}

} // namespace quillery::cli
