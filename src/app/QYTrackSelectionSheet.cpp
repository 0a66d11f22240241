#include "QYTrackSelectionSheet.h"

#include "Localization.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillery {

QYTrackSelectionSheet::QYTrackSelectionSheet(const QString& explanation,
                                             const QStringList& trackTitles, int mainIndex,
                                             int secondaryIndex, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(localized("Assemble Preview"));
    auto* text = new QLabel(explanation, this);
    text->setWordWrap(true);
    text->setTextFormat(Qt::PlainText);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    if (!trackTitles.isEmpty()) {
        mainTrackList_ = new QComboBox(this);
        mainTrackList_->addItems(trackTitles);
        mainTrackList_->setCurrentIndex(mainIndex);
        // The secondary track is optional: its list starts with a choice of none.
        secondaryTrackList_ = new QComboBox(this);
        secondaryTrackList_->addItem(localized("None"));
        secondaryTrackList_->addItems(trackTitles);
        secondaryTrackList_->setCurrentIndex(secondaryIndex + 1);
        auto* tracks = new QFormLayout;
        tracks->addRow(localized("Main Track :"), mainTrackList_);
        tracks->addRow(localized("Secondary Track :"), secondaryTrackList_);
        layout->addLayout(tracks);
    }

    assembleButton_ = new QPushButton(localized("Assemble audio and video"), this);
    onlyAudioButton_ = new QPushButton(localized("Only assemble audio"), this);
    dontAssembleButton_ = new QPushButton(localized("Don't assemble"), this);
    assembleButton_->setDefault(true);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(assembleButton_, QDialogButtonBox::AcceptRole);
    buttons->addButton(onlyAudioButton_, QDialogButtonBox::ActionRole);
    buttons->addButton(dontAssembleButton_, QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);
    resize(560, sizeHint().height());

    const auto finishWith = [this](int choice) {
        choice_ = choice;
        accept();
    };
    connect(assembleButton_, &QPushButton::clicked, this,
            [finishWith] { finishWith(AssembleAudioAndVideo); });
    connect(onlyAudioButton_, &QPushButton::clicked, this,
            [finishWith] { finishWith(OnlyAssembleAudio); });
    connect(dontAssembleButton_, &QPushButton::clicked, this,
            [finishWith] { finishWith(DontAssemble); });
}

int QYTrackSelectionSheet::run() {
    choice_ = DontAssemble;
    exec();
    return choice_;
}

void QYTrackSelectionSheet::reject() {
    choice_ = DontAssemble;
    QDialog::reject();
}

int QYTrackSelectionSheet::selectedMainTrack() const {
    return mainTrackList_ ? mainTrackList_->currentIndex() : -1;
}

int QYTrackSelectionSheet::selectedSecondaryTrack() const {
    return secondaryTrackList_ ? secondaryTrackList_->currentIndex() - 1 : -1;
}

} // namespace quillery
