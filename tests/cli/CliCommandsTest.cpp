#include "CliCommands.h"

#include "FCPTestDocuments.h"
#include "FpsGuard.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace quillery;
using quillery::test::FpsGuard;
using quillery::test::testDataFile;

namespace {

class CliTest : public testing::Test {
protected:
    QString writeFile(const QString& name, const QByteArray& bytes) {
        return test::writeFile(dir.filePath(name), bytes);
    }
    QString readText(const QString& name) {
        return QString::fromUtf8(test::readFile(dir.filePath(name)));
    }
    cli::Result run(const QStringList& arguments, const QByteArray& input = {}) {
        return cli::run(
            arguments, [input] { return input; },
            [] { return QDateTime(QDate(2024, 2, 3), QTime(4, 5, 6)); });
    }

    FpsGuard guard{30}; // every command sets the rate; put it back afterwards
    QTemporaryDir dir;
};

TEST_F(CliTest, UsageErrorsExitOneWithTheUsageText) {
    const char* commandLines[] = {"",
                                  "convert a.srt",
                                  "to-script",
                                  "to-script --fps 0 a.srt",
                                  "export a.txt",
                                  "export --format srt --movie-duration -3 a.txt",
                                  "to-script --project p.fcpxml a.fcpxml",
                                  "fcpx-export -o out.fcpxml",
                                  "fcpx-export --project p.fcpxml -o out.fcpxml extra",
                                  "smoke-export --rate 25 -o smoke.xml s.txt",
                                  "smoke-export --template t.ttg -o smoke.xml s.txt"};
    for (const char* commandLine : commandLines) {
        const cli::Result result = run(QString(commandLine).split(' ', Qt::SkipEmptyParts));
        EXPECT_EQ(result.exitCode, cli::UsageError) << commandLine;
        EXPECT_TRUE(result.standardOutput.isEmpty());
        EXPECT_TRUE(result.standardError.contains("usage: quillery-cli"));
    }
}

TEST_F(CliTest, UnreadableInputExitsTwoWithOneLineNamingFileAndReason) {
    const QString fifo = dir.filePath("pipe.srt");
    ASSERT_EQ(mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    const struct {
        QStringList arguments;
        QString message;
    } rows[] = {
        {{"to-script", dir.filePath("missing.srt")},
         dir.filePath("missing.srt") + ": no such file"},
        {{"export", "--format", "srt", fifo}, fifo + ": it is not a regular file"},
        {{"to-script", writeFile("noise.vtt", "WEBVTT\n")},
         "noise.vtt: no subtitle format reads it"},
    };
    for (const auto& row : rows) {
        const cli::Result result = run(row.arguments);
        EXPECT_EQ(result.exitCode, cli::InputError) << row.arguments.join(' ').toStdString();
        EXPECT_TRUE(result.standardOutput.isEmpty());
        EXPECT_EQ(result.standardError.count('\n'), 1) << result.standardError.toStdString();
        EXPECT_TRUE(result.standardError.contains(row.message.toUtf8()))
            << result.standardError.toStdString();
    }
}

TEST_F(CliTest, StandardInputIsExportedLikeTheEditorsScript) {
    const struct {
        const char* arguments; // before the "-" for standard input
        QByteArray script;
        const char* written;
    } rows[] = {
        {"plain", "[00:00:01.00]A[00:00:02.12]\r\n[00:00:03.00]B\r\n",
         "[00:00:01.00]A[00:00:02.12]\n[00:00:03.00]B\n"},
        {"srt --movie-duration 7.5", "[00:00:05.00]Last",
         "0\n00:00:05,000 --> 00:00:07,500\nLast\n"},
    };
    for (const auto& row : rows) {
        const QStringList arguments = QStringList{"export", "--fps", "25", "--format"} +
                                      QString(row.arguments).split(' ') + QStringList{"-"};
        EXPECT_EQ(QString::fromUtf8(run(arguments, row.script).standardOutput),
                  QString::fromUtf8(row.written))
            << row.arguments;
    }
    EXPECT_EQ(run({"to-script", writeFile("script.txt", "one\r\ntwo\tthree\rfour")}).standardOutput,
              "one\ntwothree\nfour\n");
}

// Whole seconds, so that SubViewer 1.0, which keeps no fractions, reads back the same.
const QByteArray kRoundTripScript = "[00:00:01.00]Hello⏎World[00:00:02.00]\n"
                                    "[00:00:03.00]Café crème, Привет, 字幕を読む[00:00:04.00]";

TEST_F(CliTest, EveryWriterReadsBackToTheSameScript) {
    const QString script = writeFile("script.txt", kRoundTripScript);
    const struct {
        const char* format;
        const char* fileName; // read back by its extension
    } rows[] = {{"srt", "out.srt"},      {"vtt", "out.vtt"},      {"webvtt", "out.vtt"},
                {"subviewer1", "a.sub"}, {"subviewer2", "b.sub"}, {"sbv", "out.sbv"},
                {"plain", "out.txt"}};
    for (const auto& row : rows) {
        const cli::Result exported = run({"export", "--format", row.format, "--fps", "25", script});
        ASSERT_EQ(exported.exitCode, cli::Success) << row.format;
        const cli::Result back =
            run({"to-script", "--fps", "25", writeFile(row.fileName, exported.standardOutput)});
        EXPECT_EQ(back.standardOutput, kRoundTripScript + '\n') << row.format;
    }
    // Writers without a reader: their files read back as the very text written.
    for (const char* format : {"stl", "encore", "avid"}) {
        const cli::Result exported = run({"export", "--format", format, "--fps", "25", script});
        EXPECT_TRUE(exported.standardOutput.contains("字幕を読む")) << format;
        EXPECT_NE(exported.standardOutput, kRoundTripScript) << format;
        const cli::Result back =
            run({"export", "--format", "plain", writeFile("written.txt", exported.standardOutput)});
        EXPECT_EQ(back.standardOutput, exported.standardOutput) << format;
    }
}

// A drop-frame sequence at 30 frames per second whose subtitle runs from frame 30 to 60.
const QByteArray kSequence =
    "<xmeml><sequence><name>S from Quillery at x</name><rate><timebase>30</timebase></rate>"
    "<timecode><displayformat>DF</displayformat></timecode><media><video><track>"
    "<generatoritem id=\"G\"><start>30</start><end>60</end><effect><parameter><parameterid>"
    "str</parameterid><value>Hi</value></parameter></effect></generatoritem></track></video>"
    "</media></sequence></xmeml>";

TEST_F(CliTest, FinalCutProFilesBecomeScriptWithWhatTheImportFound) {
    const QString project = writeFile(
        "roles.fcpxml", testDataFile("fcpxml/dawfilekit-TitlesRoles.v1_11.fcpxml").toUtf8());
    const cli::Result fcpx = run({"to-script", "--info", project});
    ASSERT_EQ(fcpx.exitCode, cli::Success) << fcpx.standardError.toStdString();
    EXPECT_EQ(fcpx.standardOutput, "[00:00:17.00]Title[00:00:27.01]\n\n");
    EXPECT_EQ(fcpx.standardError, "{\"frameDuration\":\"100/2400s\",\"frameRate\":24,"
                                  "\"sequenceFormat\":\"r1\",\"templateLane\":2,"
                                  "\"templateRef\":\"r2\"}\n");

    const QString sequence = writeFile("seq.xml", kSequence);
    const cli::Result fcp7 = run({"to-script", "--info", sequence});
    EXPECT_EQ(fcp7.standardOutput, "[00:00:01.00]Hi[00:00:02.00]\n\n");
    EXPECT_EQ(fcp7.standardError, "{\"dropFrame\":true,\"frameRate\":30,\"sequenceName\":\"S\","
                                  "\"templateId\":\"G\",\"timebase\":30}\n");
}

TEST_F(CliTest, FinalCutProExportsGoThroughTheEditorsWriters) {
    const QString project = writeFile(
        "roles.fcpxml", testDataFile("fcpxml/dawfilekit-TitlesRoles.v1_11.fcpxml").toUtf8());
    QByteArray script; // ten titles, so the storyline reads back
    for (int i = 1; i <= 10; ++i)
        script += QStringLiteral("[00:00:%1.00]Line %2[00:00:%1.12]\n")
                      .arg(2 * i, 2, 10, QChar('0'))
                      .arg(i)
                      .toUtf8();
    const cli::Result exported =
        run({"fcpx-export", "--project", project, "--script", "-", "--empty-out",
             dir.filePath("empty.fcpxml"), "-o", dir.filePath("out.fcpxml")},
            script);
    ASSERT_EQ(exported.exitCode, cli::Success) << exported.standardError.toStdString();
    EXPECT_TRUE(readText("empty.fcpxml").contains("name=\"gap\""));
    EXPECT_EQ(run({"to-script", dir.filePath("out.fcpxml")}).standardOutput, script + "\n");

    const cli::Result fcp7 = run(
        {"fcp7-export", "--sequence", writeFile("seq.xml", kSequence), "--script", "-", "-o", "-"},
        "[00:00:02.00]A⏎B[00:00:03.00]");
    EXPECT_TRUE(
        fcp7.standardOutput.contains("<name>S from Quillery at 2024-02-03 04-05-06</name>"));
    EXPECT_TRUE(fcp7.standardOutput.contains("<start>60</start>"));
    EXPECT_TRUE(fcp7.standardOutput.contains("<value>A&#13;B</value>"));

    const cli::Result smoke =
        run({"smoke-export", "--template", "/t.ttg", "--rate", "29.97", "--non-drop-frame",
             "--movie", "/m/Film.mov", "--duration", "61.5", "-o", "-", "-"},
            "[00:00:01.00]Hi[00:00:02.00]");
    EXPECT_TRUE(smoke.standardOutput.contains("<rate>29.97 NDF</rate>"));
    EXPECT_TRUE(smoke.standardOutput.contains("<end>00:01:01:00</end>"));
    EXPECT_TRUE(smoke.standardOutput.contains("<setup>/t.ttg</setup>"));
}

TEST_F(CliTest, BinaryReportsThroughExitCodeAndStreamsAndKeepsDebugLinesOff) {
    // The trailing subtitle makes the exporter write a debug line about the movie's end.
    const auto exportStl = [](const QProcessEnvironment& environment) {
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QUILLERY_CLI_PATH, {"export", "--format", "stl", "--fps", "25", "-"});
        process.write("[00:00:01.00]Hi[00:00:01.24]\n[00:00:02.00]Tail");
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 0);
        EXPECT_TRUE(process.readAllStandardOutput().endsWith("00:00:02:00, 00:00:00:00, Tail"));
        return process.readAllStandardError();
    };
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove("QT_LOGGING_RULES");
    EXPECT_EQ(exportStl(environment), "");

    QProcess process;
    process.start(QUILLERY_CLI_PATH, {"to-script", dir.filePath("absent.srt")});
    ASSERT_TRUE(process.waitForFinished(30000));
    EXPECT_EQ(process.exitCode(), 2);
}

} // namespace
