// What a project session needs from the main window: the editor text, the loaded Final Cut
// Pro documents and movie to save, and the calls that rebuild the window from an opened
// project. The main window implements it; tests use a fake.
#pragma once

#include <QString>

namespace quillery {

class QYProjectHost {
public:
    virtual ~QYProjectHost() = default;

    // The script editor's whole text.
    virtual QString scriptText() const = 0;
    // Replaces the editor's whole text as one undoable edit, so the editor re-parses it.
    virtual void replaceTextInTextView(const QString& text) = 0;

    // The loaded Final Cut Pro 7 document as XML text; empty when none is loaded.
    virtual QString fcp7XMLString() const = 0;
    // The serialised main and secondary video tracks of the Final Cut Pro 7 movie; empty
    // when the movie has no such track.
    virtual QString fcp7MovieMainTrackXMLString() const = 0;
    virtual QString fcp7MovieSecondTrackXMLString() const = 0;
    // The loaded Final Cut Pro X document as XML text; empty when none is loaded.
    virtual QString fcpxXMLString() const = 0;
    // The open movie's path; empty when no movie is open.
    virtual QString movieFilePath() const = 0;
    // Whether a preview composition was assembled from the Final Cut Pro XML, and whether
    // it holds audio only.
    virtual bool projectNeedComposition() const = 0;
    virtual bool projectOnlyAssembleAudio() const = 0;

    // Loads a Final Cut Pro 7 document without asking for a sequence and searches its
    // title template; when one is found and needComposition is set, rebuilds the movie
    // (main and secondary tracks from their texts when those are not empty) and requests
    // the preview composition. Returns whether a template was found.
    virtual bool openFCP7Project(const QString& xml, bool needComposition, bool onlyAudio,
                                 const QString& mainTrackXml, const QString& secondTrackXml) = 0;
    // Searches the title template of a Final Cut Pro X document; when one is found and
    // needComposition is set, requests the preview composition. Returns whether a template
    // was found.
    virtual bool openFCPXProject(const QString& xml, bool needComposition, bool onlyAudio) = 0;
    // Opens a movie in the player, which reports its own failures.
    virtual void openMovie(const QString& path) = 0;
    // Tells the editor the current video duration.
    virtual void setDuration() = 0;

    // Closes the movie player, stops every audio extraction, replaces the waveform by a
    // fresh one and brings the window to front.
    virtual void clean() = 0;
    // Ends the application; called once the user's unsaved changes are dealt with.
    virtual void terminate() = 0;
};

} // namespace quillery
