#include "QYExportSmokeWindowController.h"

#include "FileWriting.h"
#include "Localization.h"
#include "QYExporter.h"
#include "QYMessagePresenter.h"
#include "QYSetting.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

namespace quillery {

namespace {

const QUrl kSmokeHelpPage(QStringLiteral("https://quillery.org/help/smoke"));

QPushButton* segmentButton(const QString& title, QWidget* parent) {
    auto* button = new QPushButton(title, parent);
    button->setCheckable(true);
    return button;
}

} // namespace

QYExportSmokeWindowController::QYExportSmokeWindowController(QYMessagePresenter& presenter,
                                                             QYSetting& settings, QWidget* parent)
    : QDialog(parent), presenter_(presenter), settings_(settings),
      templatePathField_(new QLineEdit(this)), dropFrameLabel_(new QLabel(this)),
      dropFrameControl_(new QButtonGroup(this)),
      saveButton_(new QPushButton(localized("Save"), this)),
      cancelButton_(new QPushButton(localized("Cancel"), this)) {
    setWindowTitle(localized("Export SMOKE XML File"));
    auto* hint =
        new QLabel(localized("Please click on \"Choose\" to select a Smoke Font Template."), this);
    hint->setWordWrap(true);
    auto* choose = new QPushButton(localized("Choose"), this);
    auto* templateRow = new QHBoxLayout;
    templateRow->addWidget(templatePathField_, 1);
    templateRow->addWidget(choose);

    dropFrameLabel_->setWordWrap(true);
    dropFrameControl_->addButton(segmentButton(localized("Drop Frame"), this), DropFrame);
    dropFrameControl_->addButton(segmentButton(localized("Non Drop Frame"), this), NonDropFrame);
    auto* segments = new QHBoxLayout;
    segments->addWidget(dropFrameControl_->button(DropFrame));
    segments->addWidget(dropFrameControl_->button(NonDropFrame));
    segments->addStretch(1);

    auto* help = new QPushButton(localized("Help"), this);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(help, QDialogButtonBox::HelpRole);
    buttons->addButton(cancelButton_, QDialogButtonBox::RejectRole);
    buttons->addButton(saveButton_, QDialogButtonBox::AcceptRole);
    saveButton_->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(hint);
    layout->addLayout(templateRow);
    layout->addWidget(dropFrameLabel_);
    layout->addLayout(segments);
    layout->addWidget(buttons);
    resize(560, sizeHint().height());

    connect(choose, &QPushButton::clicked, this,
            &QYExportSmokeWindowController::chooseSmokeTemplate);
    connect(saveButton_, &QPushButton::clicked, this,
            &QYExportSmokeWindowController::exportSmokeSave);
    connect(cancelButton_, &QPushButton::clicked, this,
            &QYExportSmokeWindowController::exportSmokeCancel);
    connect(help, &QPushButton::clicked, this, [this] {
        if (urlOpener_)
            urlOpener_(kSmokeHelpPage);
    });
    updateDrapFrameLabel();
}

QPushButton* QYExportSmokeWindowController::dropFrameSegment(DropFrameSegment segment) const {
    return static_cast<QPushButton*>(dropFrameControl_->button(segment));
}

void QYExportSmokeWindowController::showEvent(QShowEvent* event) {
    const QString stored =
        settings_.getStringFromUserDefaultForKey(kSmokeFontTemplateKey, QString());
    templatePathField_->setText(
        stored.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DesktopLocation) +
                               QStringLiteral("/file.tgg")
                         : stored);
    QDialog::showEvent(event);
}

void QYExportSmokeWindowController::setVideoRate(double rate) {
    videoRate_ = rate;
    updateDrapFrameLabel();
}

void QYExportSmokeWindowController::updateDrapFrameLabel() {
    const QString rate = QYExporter::smokeFrameRateText(videoRate_);
    dropFrameSegment(DropFrame)->setChecked(true);
    const bool asks = rate == "29.97" || rate == "59.94";
    for (QAbstractButton* segment : dropFrameControl_->buttons())
        segment->setEnabled(asks);
    dropFrameLabel_->setText(
        asks ? localized("Project Frame Rate is %1, please choose from Drop Frame/Non Drop Frame "
                         "Mode.")
                   .arg(rate)
             : localized("Project Frame Rate is %1, no need to choose from Drop Frame/Non Drop "
                         "Frame Mode.")
                   .arg(rate));
}

void QYExportSmokeWindowController::chooseSmokeTemplate() {
    FileRequest request;
    request.title = localized("Choose");
    const QString path = presenter_.chooseFileToOpen(request);
    if (!path.isEmpty())
        templatePathField_->setText(path);
}

QString QYExportSmokeWindowController::genSmokeXML(const QString& templatePath) const {
    if (textView_ == nullptr)
        return QString();
    SmokeExportSettings export_;
    export_.videoRate = videoRate_;
    export_.movieFilePath = movieFilePath_;
    export_.videoWidth = videoWidth_;
    export_.videoHeight = videoHeight_;
    export_.videoDuration = videoDuration_;
    export_.dropFrame = dropFrameControl_->checkedId() == DropFrame;
    export_.templatePath = templatePath;
    return QYExporter(*textView_).genSmokeXML(export_);
}

void QYExportSmokeWindowController::exportSmokeSave() {
    FileRequest request;
    request.proposedName = QStringLiteral("smoke.xml");
    request.allowedTypes = {QStringLiteral("xml")};
    const QString chosen = presenter_.chooseFileToSave(request);
    if (chosen.isEmpty())
        return;
    const QString templatePath = templatePathField_->text();
    writeUtf8File(pathWithExtension(chosen, QStringLiteral("xml")), genSmokeXML(templatePath),
                  WriteMode::Plain);
    settings_.setObject(kSmokeFontTemplateKey, templatePath);
    settings_.synchronize();
    accept();
}

void QYExportSmokeWindowController::exportSmokeCancel() {
    reject();
}

} // namespace quillery
