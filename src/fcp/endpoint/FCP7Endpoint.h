// A stand-in for a running Final Cut Pro 7, answering its Apple events from a folder of
// xmeml project files: every "*.xml" file in the folder is an open project. It lists
// the projects ("fcLP"), exports a project ("eXML") or the current sequence ("eTCX"),
// returns one sequence by its uuid ("gXML") and writes an imported document into the
// folder ("iXML"), so the bridge's commands can be shown and tested where Final Cut Pro
// cannot run.
#pragma once

#include "AppleEventDBus.h"

#include <QMap>
#include <QString>

namespace quillery {

struct FCP7EndpointOptions {
    QString folder;
    // The uuid or name of the sequence "eTCX" exports. Empty: "eTCX" answers without a
    // document, as Final Cut Pro 6 does, and the caller falls back to the project list.
    QString currentSequence;
    // Events answered with this "errn" instead of their work.
    QMap<AEEventID, int32_t> failures;
    // Appended to every exported document, as some Final Cut Pro versions leave bytes
    // after the closing tag.
    QString trailingText;
};

class FCP7Endpoint : public AppleEventHandler {
public:
    explicit FCP7Endpoint(FCP7EndpointOptions options);

    AEDesc handleAppleEvent(const AppleEvent& event) override;

    // The project files, sorted by name.
    QStringList projectPaths() const;

private:
    AEDesc listProjects() const;
    AEDesc exportProject(const AppleEvent& event) const;
    AEDesc exportCurrentSequence() const;
    AEDesc getSequence(const AppleEvent& event) const;
    AEDesc importDocument(const AppleEvent& event) const;
    QString projectPathOf(const AppleEvent& event) const;

    FCP7EndpointOptions options_;
};

} // namespace quillery
