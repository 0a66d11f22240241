// The sheet shown after a Final Cut Pro import when the preview is assembled on request:
// it explains what assembling does and offers to assemble audio and video, audio only or
// nothing. For a Final Cut Pro 7 sequence it also lists the video tracks that hold clips,
// to choose the main track and an optional secondary one.
#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QPushButton;

namespace quillery {

class QYTrackSelectionSheet : public QDialog {
    Q_OBJECT

public:
    // The codes run() returns.
    enum Choice { DontAssemble = -1, AssembleAudioAndVideo = 0, OnlyAssembleAudio = 1 };

    // Without track titles the track lists are left out. mainIndex and secondaryIndex
    // preselect titles; -1 selects none.
    QYTrackSelectionSheet(const QString& explanation, const QStringList& trackTitles, int mainIndex,
                          int secondaryIndex, QWidget* parent = nullptr);

    // Shows the sheet modally; Escape counts as "Don't assemble".
    int run();
    // The chosen titles' indexes; -1 when none is chosen.
    int selectedMainTrack() const;
    int selectedSecondaryTrack() const;

    QPushButton* assembleButton() const { return assembleButton_; }
    QPushButton* onlyAudioButton() const { return onlyAudioButton_; }
    QPushButton* dontAssembleButton() const { return dontAssembleButton_; }
    QComboBox* mainTrackList() const { return mainTrackList_; }
    QComboBox* secondaryTrackList() const { return secondaryTrackList_; }

protected:
    void reject() override;

private:
    QComboBox* mainTrackList_ = nullptr;
    QComboBox* secondaryTrackList_ = nullptr;
    QPushButton* assembleButton_ = nullptr;
    QPushButton* onlyAudioButton_ = nullptr;
    QPushButton* dontAssembleButton_ = nullptr;
    int choice_ = DontAssemble;
};

} // namespace quillery
