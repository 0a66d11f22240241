// The "Export SMOKE XML File" dialog: the user picks the Smoke font template file and, at
// 29.97 and 59.94 frames per second, drop-frame or non-drop-frame time code; the dialog
// then writes the script's subtitles as Smoke subtitle XML. The movie's rate, size and
// length come from the main window.
#pragma once

#include "MediaTime.h"

#include <QDialog>
#include <QUrl>
#include <functional>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;

namespace quillery {

class QYExportSource;
class QYMessagePresenter;
class QYSetting;

class QYExportSmokeWindowController : public QDialog {
    Q_OBJECT

public:
    enum DropFrameSegment { DropFrame = 0, NonDropFrame = 1 };

    QYExportSmokeWindowController(QYMessagePresenter& presenter, QYSetting& settings,
                                  QWidget* parent = nullptr);

    void setTextView(const QYExportSource* textView) { textView_ = textView; }
    // Also updates the drop-frame choice, which only 29.97 and 59.94 offer.
    void setVideoRate(double rate);
    void setMovieFilePath(const QString& path) { movieFilePath_ = path; }
    void setVideoWidth(int64_t width) { videoWidth_ = width; }
    void setVideoHeight(int64_t height) { videoHeight_ = height; }
    void setVideoDuration(const MediaTime& duration) { videoDuration_ = duration; }
    // Opens the dialog's help page; the main window passes its way of opening addresses.
    void setUrlOpener(std::function<void(const QUrl&)> opener) { urlOpener_ = std::move(opener); }

    void chooseSmokeTemplate();
    void exportSmokeSave();
    void exportSmokeCancel();
    QString genSmokeXML(const QString& templatePath) const;
    void updateDrapFrameLabel();

    QLineEdit* templatePathField() const { return templatePathField_; }
    QLabel* dropFrameLabel() const { return dropFrameLabel_; }
    QPushButton* dropFrameSegment(DropFrameSegment segment) const;
    QPushButton* saveButton() const { return saveButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

protected:
    void showEvent(QShowEvent* event) override;

private:
    QYMessagePresenter& presenter_;
    QYSetting& settings_;
    const QYExportSource* textView_ = nullptr;
    std::function<void(const QUrl&)> urlOpener_;
    double videoRate_ = 0;
    QString movieFilePath_;
    int64_t videoWidth_ = 0;
    int64_t videoHeight_ = 0;
    MediaTime videoDuration_;

    QLineEdit* templatePathField_ = nullptr;
    QLabel* dropFrameLabel_ = nullptr;
    QButtonGroup* dropFrameControl_ = nullptr;
    QPushButton* saveButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

} // namespace quillery
