// The main window's exchange with a running Final Cut Pro 7: "Get FCP Sequence" fetches
// the current sequence (or lets the user pick a project and a sequence), "Send to FCP"
// pushes the rewritten sequence back, and "Change Font Settings" chains the two. It
// asks, warns and chooses through the message presenter, sends its Apple events through
// a transport, and leaves reading and writing the sequence to its host, so it runs
// without a window.
#pragma once

#include "AppleEvent.h"

#include <QString>
#include <memory>
#include <optional>

namespace quillery {

class QYMessagePresenter;

// What the bridge needs from the main window.
class QYFCP7BridgeHost {
public:
    virtual ~QYFCP7BridgeHost() = default;

    // Whether the editor's text may be replaced (asks when it is not empty).
    virtual bool checkContent() = 0;
    // Whether a Final Cut Pro 7 sequence has been read, so that one can be written.
    virtual bool hasFCP7Document() const = 0;
    // Reads a fetched sequence as "Import XML File" reads a file, with the preference
    // to assemble video and audio; false when it holds no subtitle template.
    virtual bool loadFetchedSequenceXML(const QString& xml) = 0;
    // The read sequence rewritten with the editor's subtitles; its new name goes to
    // newName.
    virtual QString genNewXML(QString* newName) = 0;
    // Whether the script has erroneous or repeated time strings.
    virtual bool hasTimeStringErrors() = 0;
};

class QYFCP7Bridge {
public:
    QYFCP7Bridge(QYFCP7BridgeHost& host, QYMessagePresenter& presenter,
                 AppleEventTransport& transport);
    ~QYFCP7Bridge();

    // "Get FCP Sequence".
    void loadFromFinalCutPro();
    // "Send to FCP".
    void sendToFinalCutPro();
    // "Change Font Settings": fetch, read afresh and send back at once.
    void batchChangeFont();
    // The warning shown, and false, when no Final Cut Pro 7 sequence has been read.
    bool checkXML();

    // The fetch's steps, each continuing the flow.
    void loadFromFinalCutPro6();
    void extractSeqFromDocXML(QString xml, const std::optional<QString>& filePath,
                              const QString& version);
    void loadSeqByUuid(const QString& uuid, const std::optional<QString>& filePath,
                       const QString& version);

    const std::optional<QString>& fcpFilePath() const { return fcpFilePath_; }
    const QString& fcpVersion() const { return fcpVersion_; }
    bool batching() const { return batching_; }

private:
    struct Sequences;

    bool sendAndReport(apple_event& event);
    void exportProject(const QString& path);
    void projectSheetDidEnd(int returnCode, const QStringList& projects);
    void sheetDidEnd(int returnCode);
    void showFetchFailure();
    void showWarningMessage(const QString& text);

    QYFCP7BridgeHost& host_;
    QYMessagePresenter& presenter_;
    AppleEventTransport& transport_;

    std::optional<QString> fcpFilePath_;
    QString fcpVersion_;
    bool batching_ = false;
    // The fetched project whose sequences the sequence chooser offers.
    std::unique_ptr<Sequences> batchChangeFontDoc_;
};

} // namespace quillery
