// The Final Cut Pro X side of the preview assembly (see FCPPreviewAssembly.h).
#include "FCPPreviewAssembly.h"
#include "Localization.h"
#include "QYFCPXXMLParser.h"
#include "QYLog.h"

namespace quillery {

namespace {

// The preview's frames, whatever the project's rate.
const MediaTime kFCPXFrameDuration = MediaTime::make(1, 30);

MediaTime later(const MediaTime& a, const MediaTime& b) {
    return compare(b, a) > 0 ? b : a;
}

QString missingMovieMessage(const QString& path) {
    return localized("Can not load movie : %1. The movie file does not exist.").arg(path);
}

// Composition tracks by lane number, made when a lane first needs one.
class LaneTracks {
public:
    LaneTracks(MutableComposition& composition, MediaType type)
        : composition_(composition), type_(type) {}

    MutableCompositionTrack& of(int32_t laneNumber) {
        CompositionTrackPtr& track = tracks_[laneNumber];
        if (!track)
            track = composition_.addMutableTrackWithMediaType(type_);
        return *track;
    }
    MutableCompositionTrack* existing(int32_t laneNumber) const {
        return tracks_.value(laneNumber).get();
    }

private:
    MutableComposition& composition_;
    MediaType type_;
    QHash<int32_t, CompositionTrackPtr> tracks_;
};

// The file of the clip's picture or, for a clip without one, of its first sound.
std::shared_ptr<const FCPXAsset> sourceOfClip(const FCPXClip& clip) {
    if (clip.video)
        return clip.video->referenceAsset;
    return clip.audioArray.isEmpty() ? nullptr : clip.audioArray.front().referenceAsset;
}

} // namespace

void QYFCPXPreviewAssembly::getCompositionFromFCPXXML(const QString& xmlText, bool onlyAudio,
                                                      const Completion& complete) {
    const xml::DocumentPtr document = xml::parseDocument(xmlText);
    if (!document)
        return;
    QYFCPXXMLParser& parser = QYFCPXXMLParser::shareInstance();
    const FCPXReferenceDictionary references =
        parser.loadAssetDictionaryFromFCPXDocument(*document);
    if (references.assets.isEmpty())
        return;
    lanes_ = parser.loadLaneFromFCPXDocument(*document, references);
    QY_DBG("The lane array is : %lld lanes", static_cast<long long>(lanes_.size()));

    QString error;
    const QSizeF size = getCompositionVideoSize(&error);
    if (size.width() <= 0 || size.height() <= 0) {
        complete(error, nullptr);
        return;
    }
    auto preview = std::make_shared<PreviewComposition>();
    preview->composition.naturalSize = size;
    buildVideoComposition(preview->videoComposition, preview->audioMix, preview->composition,
                          onlyAudio);
    preview->videoComposition.frameDuration = kFCPXFrameDuration;
    preview->videoComposition.renderSize = size;
    complete(QString(), MoviePlayerItem::fromComposition(std::move(preview)));
}

QSizeF QYFCPXPreviewAssembly::getCompositionVideoSize(QString* error) {
    float width = 0;
    float height = 0;
    for (const FCPXLane& lane : lanes_) {
        for (const std::shared_ptr<FCPXLaneItem>& item : lane.laneItemArray) {
            const auto clip = std::dynamic_pointer_cast<FCPXClip>(item);
            if (!clip || !clip->video || !clip->video->referenceAsset ||
                clip->video->referenceAsset->src.isEmpty())
                continue;
            const MediaAssetPtr asset = assets_.assetWithPath(clip->video->referenceAsset->src);
            if (!asset->exists()) {
                if (error)
                    *error = missingMovieMessage(asset->path());
                return QSizeF(0, 0);
            }
            for (const MediaAssetTrack& picture : asset->tracksWithMediaType(MediaType::Video)) {
                width = std::max(width, static_cast<float>(picture.naturalSize.width()));
                height = std::max(height, static_cast<float>(picture.naturalSize.height()));
                QY_DBG("The video size is : (%f, %f) and from movie : %s", width, height,
                       qUtf8Printable(asset->path()));
                break;
            }
        }
    }
    QY_DBG("The composition size is : %f, %f", width, height);
    return QSizeF(width, height);
}

void QYFCPXPreviewAssembly::buildVideoComposition(VideoComposition& videoComposition,
                                                  AudioMix& audioMix,
                                                  MutableComposition& composition,
                                                  bool onlyBuildAudio) {
    LaneTracks videoTracks(composition, MediaType::Video);
    LaneTracks audioTracks(composition, MediaType::Audio);
    QList<VideoCompositionInstruction> instructions;
    MediaTime videoEnd = MediaTime::zero();
    MediaTime audioEnd = MediaTime::zero();
    for (const FCPXLane& lane : lanes_) {
        for (const std::shared_ptr<FCPXLaneItem>& item : lane.laneItemArray) {
            const MediaTime end = add(item->offset, item->duration);
            const auto clip = std::dynamic_pointer_cast<FCPXClip>(item);
            if (!clip) {
                instructions << insertEmptyRange({item->offset, item->duration},
                                                 videoTracks.of(lane.laneNumber));
                videoEnd = later(videoEnd, end);
                continue;
            }
            const std::shared_ptr<const FCPXAsset> source = sourceOfClip(*clip);
            if (!source || source->src.isEmpty())
                continue;
            QY_DBG("Now handle asset : %s", qUtf8Printable(source->src));
            const MediaAssetPtr asset = assets_.assetWithPath(source->src);
            if (!asset->exists() && !missing_.contains(asset->path()))
                missing_ << asset->path();
            // Clips count their start in the media's time code, which starts at the asset's.
            const MediaTimeRange range{subtract(clip->start, source->start), clip->duration};

            const QList<MediaAssetTrack> pictures = asset->tracksWithMediaType(MediaType::Video);
            if (!onlyBuildAudio && lane.laneNumber == 0 && !pictures.isEmpty()) {
                MutableCompositionTrack& track = videoTracks.of(0);
                if (track.insertTimeRange(range, pictures.front(), clip->offset))
                    instructions << VideoCompositionInstruction{
                        {clip->offset, clip->duration},
                        {{track.trackID(), layerTransformOfTrack(pictures.front())}}};
                videoEnd = later(videoEnd, end);
            }
            const QList<MediaAssetTrack> sounds = asset->tracksWithMediaType(MediaType::Audio);
            if (!sounds.isEmpty()) {
                MutableCompositionTrack& track = audioTracks.of(lane.laneNumber);
                track.insertTimeRange(range, sounds.front(), clip->offset);
                audioEnd = later(audioEnd, end);
                const double volume = convertAdjustVolumn(clip->adjustVolumn);
                QY_DBG("Adjust volumn : %f", volume);
                audioMix.setVolume(track.trackID(), volume);
            }
        }
    }
    // The picture lasts as long as the sound.
    if (MutableCompositionTrack* mainTrack = videoTracks.existing(0);
        mainTrack != nullptr && compare(audioEnd, videoEnd) > 0)
        instructions << insertEmptyRange({videoEnd, subtract(audioEnd, videoEnd)}, *mainTrack);
    videoComposition.instructions = instructions;
}

} // namespace quillery
