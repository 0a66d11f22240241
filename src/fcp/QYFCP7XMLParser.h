// Reading a Final Cut Pro 7 sequence (xmeml): its rate, drop-frame flag and length; the
// Text generator items of its last video track as script lines, the first of them kept as
// the template new subtitle tracks are built from; and the model of its video and audio
// tracks for the preview assembly. The same reading serves a file the user opens and a
// sequence fetched from a running Final Cut Pro.
#pragma once

#include "FCP7Model.h"
#include "MediaTime.h"
#include "QYXMLUtility.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <optional>

namespace quillery {

struct FCP7SequenceReading {
    xml::DocumentPtr document;
    // The sequence name before any " from Quillery" an earlier export appended.
    QString seqName;
    bool mbIsDropFrame = false;
    int32_t miTimebase = 0;
    float mfTimebase = 0;
    // The sequence's length: its duration in frames over the truncated timebase.
    MediaTime duration;
    // A detached copy of the first generator item of the last video track.
    xml::DocumentPtr templateElement;
    int16_t fontSize = 0;
    int textAlign = 0;
    // One script line per generator item, each ended by a line feed; empty when the last
    // video track holds none.
    QString scriptText;

    xml::Element templateItem() const {
        return templateElement ? templateElement->document_element() : xml::Element();
    }
};

class QYFCP7XMLParser {
public:
    static QYFCP7XMLParser& shareInstance();

    // Nothing when the text is not an XML document. Otherwise sets the process-wide frame
    // rate to the sequence's timebase before writing the time strings.
    std::optional<FCP7SequenceReading>
    findSubtitleTemplateFromFCP7XML(const QString& xmlText) const;

    // The track model of the sequence under the document's root element; kept as
    // lastMovie() together with the sequence's NTSC flag and real frame rate.
    FCPMoviePtr loadLaneFromFCP7Document(const xml::Element& root);
    // A track rebuilt from its kept XML (a saved project's chosen track); null when the
    // text holds no track.
    FCPTrackPtr trackFromXMLString(const QString& trackXml, FCPTrackType type);

    // 29.97 for an NTSC timebase of 30, else the timebase itself.
    static double getRealFrameDuration(int32_t timebase, bool isNtsc);

    FCPMoviePtr lastMovie() const { return lastMovie_; }
    bool isNtsc() const { return isNtsc_; }
    double frameDuration() const { return frameDuration_; }

    // Final Cut Pro 7 describes a media file at its first use and names it by id after
    // that; the table holds the files of the sequence being read.
    std::shared_ptr<FCPMediaFile> getMediaFileWithId(const QString& fileId) const;
    void setMediaFileWithId(const QString& fileId, std::shared_ptr<FCPMediaFile> file);

private:
    QYFCP7XMLParser() = default;
    FCPTrackPtr trackOf(const xml::Element& element, FCPTrackType type);
    FCPClipItem clipItemOf(const xml::Element& element);

    FCPMoviePtr lastMovie_;
    bool isNtsc_ = false;
    double frameDuration_ = 0;
    QHash<QString, std::shared_ptr<FCPMediaFile>> mediaFiles_;
};

} // namespace quillery
