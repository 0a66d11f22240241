// The main window's preview of an imported timeline: assembled, played and kept in the project.
#include "MainWindowFixture.h"
#include "ModalAnswers.h"
#include "MovieAudioExtractor.h"
#include "PreviewMedia.h"
#include "QYMoviePlayerViewController.h"
#include "QYProjectSession.h"
#include "QYTrackSelectionSheet.h"
#include "TestMedia.h"

#include <QTest>

namespace quillery {
namespace {

using test::fcp7Clip;
using test::PreviewMedia;
using test::waitFor;

// V1 and V2 of clips (one of them missing), a sound track, and the subtitles on V3.
QString sequenceWithSubtitles() {
    return test::fcp7Sequence(
        {fcp7Clip("red40.mov", 0, 100, 0, 100) + fcp7Clip("missing.mov", 100, 150, 0, 50),
         fcp7Clip("red120.mov", 25, 50, 0, 25),
         "<generatoritem id=\"T\"><start>25</start><end>50</end><effect><parameter>"
         "<parameterid>str</parameterid><value>Hi</value></parameter></effect>"
         "</generatoritem>"},
        {fcp7Clip("red200.mov", 0, 150, 0, 150)});
}

// A clip of red40 with a title (the template) and a clip whose picture file may be missing.
QString projectWithSubtitles(const QString& secondFile) {
    return PreviewMedia::relocated(
        QStringLiteral(
            "<fcpxml version=\"1.8\"><resources><format id=\"r1\" frameDuration=\"100/2500s\" "
            "width=\"1920\" height=\"1080\"/><effect id=\"r2\" name=\"Basic Title\" "
            "uid=\".../Basic Title.moti\"/>%1%2</resources><library><event><project name=\"P\">"
            "<sequence format=\"r1\" duration=\"4s\" tcStart=\"0s\"><spine>"
            "<clip name=\"A\" offset=\"0s\" duration=\"2s\" start=\"0s\"><video ref=\"a1\" "
            "offset=\"0s\" duration=\"12s\"/><title ref=\"r2\" lane=\"1\" offset=\"1s\" "
            "name=\"T\" duration=\"1s\"><text><text-style ref=\"ts1\">Hi</text-style></text>"
            "<text-style-def id=\"ts1\"><text-style font=\"Helvetica\"/></text-style-def>"
            "</title></clip><clip name=\"B\" offset=\"2s\" duration=\"2s\" start=\"0s\"><video "
            "ref=\"a2\" offset=\"0s\" duration=\"12s\"/></clip></spine></sequence></project>"
            "</event></library></fcpxml>")
            .arg(test::fcpxAsset("a1", "red40.mov"), test::fcpxAsset("a2", secondFile)));
}

class MainWindowPreviewTest : public test::MainWindowFixture {
protected:
    void SetUp() override {
        QUILLERY_REQUIRE_TEST_MEDIA();
        ASSERT_TRUE(PreviewMedia::shared().made());
        settings.isAutoAssembleVideoAndAudio = false;
        MainWindowFixture::SetUp();
    }

    QYMoviePlayerViewController& player() const { return *window->moviePlayer(); }
    MoviePlayerItemPtr playing() const { return player().currentPlayItem(); }
    bool waveformDone() const {
        const auto& extractors = window->audioExtractors();
        return extractors.size() == 1 && extractors[0]->mDataStore() &&
               extractors[0]->mDataStore()->isLoadComplete();
    }
};

TEST_F(MainWindowPreviewTest, AnImportedSequencePlaysAtOnceWithItsWaveformAndNamesMissingFiles) {
    window->dragXmlFile(writeFile("cut.xml", sequenceWithSubtitles().toUtf8()));
    ASSERT_TRUE(playing() && playing()->composition);
    EXPECT_TRUE(player().quilleryMoviePlayerItem().secondaryMovie) << "V2 over V1";
    EXPECT_FALSE(window->projectNeedComposition()) << "the default tracks, no choice made";
    ASSERT_EQ(presenter.alerts.size(), 1);
    EXPECT_TRUE(presenter.alerts[0].text.contains(PreviewMedia::path("clips/missing.mov")));
    ASSERT_TRUE(waitFor([this] { return waveformDone(); }));
    const WaveformAudioDataStore& store = *window->audioExtractors()[0]->mDataStore();
    // The sound track's 0.5 sine at unit gain, though the preview plays it silent.
    EXPECT_NEAR(store.getData(0, 300), 100, 1);
}

TEST_F(MainWindowPreviewTest, TheSheetsChoiceIsKeptAndAssembledOnceMoreWhenTheProjectOpens) {
    settings.isAutoAssembleVideoAndAudio = true;
    test::clickInModal([](QWidget* sheet) {
        return static_cast<QYTrackSelectionSheet*>(sheet)->onlyAudioButton();
    });
    window->dragXmlFile(writeFile("cut.xml", sequenceWithSubtitles().toUtf8()));
    ASSERT_TRUE(playing());
    EXPECT_FALSE(playing()->probe.hasVideo);
    EXPECT_TRUE(window->projectNeedComposition());
    EXPECT_TRUE(window->projectOnlyAssembleAudio());
    const QString project = dir.filePath("cut.qyb");
    window->session().saveQuilleryDocToFile(project);

    window = makeWindow();
    window->session().openQuilleryDocAtFile(project);
    ASSERT_TRUE(playing() && playing()->composition);
    EXPECT_FALSE(playing()->probe.hasVideo);

    // A movie of the user's own replaces the preview, in the project too.
    window->openMovie(test::TestMedia::shared().movie());
    EXPECT_FALSE(window->projectNeedComposition());
    EXPECT_FALSE(window->projectOnlyAssembleAudio());
}

TEST_F(MainWindowPreviewTest, AnFCPXProjectIsHandedToThePlayerHalfASecondAfterTheSheet) {
    settings.isAutoAssembleVideoAndAudio = true;
    const auto assemble = [this](const QString& secondFile) {
        window->dragFCPXFile(writeFile("p.fcpxml", projectWithSubtitles(secondFile).toUtf8()));
        test::clickInModal([](QWidget* sheet) {
            return static_cast<QYTrackSelectionSheet*>(sheet)->assembleButton();
        });
        QTest::qWait(1300);
    };
    assemble("red120.mov");
    EXPECT_FALSE(playing()) << "not before half a second";
    ASSERT_TRUE(waitFor([this] { return playing() != nullptr; }, 2000));
    EXPECT_EQ(player().durationSeconds(), 4.0);
    EXPECT_TRUE(presenter.alerts.isEmpty());

    // A missing picture file is named in the error panel, and no movie takes the old one's place.
    assemble("gone.mov");
    ASSERT_TRUE(waitFor([this] { return !presenter.alerts.isEmpty(); }, 3000));
    EXPECT_TRUE(presenter.alerts[0].text.contains(PreviewMedia::path("clips/gone.mov")));
    EXPECT_FALSE(playing());
}

} // namespace
} // namespace quillery
