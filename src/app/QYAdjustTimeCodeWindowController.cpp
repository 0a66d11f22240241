#include "QYAdjustTimeCodeWindowController.h"

#include "Localization.h"
#include "QYTimeUtility.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>
#include <cmath>

namespace quillery {

namespace {

constexpr int kConfirmed = 1;
constexpr int kCancelled = -1;

constexpr AdjustTimeField kAllFields[] = {AdjustTimeField::Hours, AdjustTimeField::Minutes,
                                          AdjustTimeField::Seconds, AdjustTimeField::Frames};

// Only the arrows: the text field beside it shows the number.
class ArrowsOnlyStepper : public QSpinBox {
public:
    using QSpinBox::QSpinBox;

protected:
    QString textFromValue(int) const override { return QString(); }
};

// Rewriting an unchanged text would throw the caret to the end while the user types.
void showNumber(QLineEdit* field, int value) {
    const QString text = QString::number(value);
    if (field->text() != text)
        field->setText(text);
}

void setQuietly(QSpinBox* stepper, int value) {
    const QSignalBlocker blocker(stepper);
    stepper->setValue(value);
}

} // namespace

QYAdjustTimeCodeWindowController::QYAdjustTimeCodeWindowController(QWidget* parent)
    : QDialog(parent), radio_(new QButtonGroup(this)),
      titleLabel_(new QLabel(localized("Adjust Time Code"), this)), resultLabel_(new QLabel(this)),
      okButton_(new QPushButton(localized("OK"), this)),
      cancelButton_(new QPushButton(localized("Cancel"), this)) {
    setWindowTitle(titleLabel_->text());
    QFont titleFont = titleLabel_->font();
    titleFont.setBold(true);
    titleLabel_->setFont(titleFont);

    auto* grid = new QGridLayout;
    addFieldRow(grid, AdjustTimeField::Hours, localized("Hours"), 10);
    addFieldRow(grid, AdjustTimeField::Minutes, localized("Minutes"), 60);
    addFieldRow(grid, AdjustTimeField::Seconds, localized("Seconds"), 60);
    addFieldRow(grid, AdjustTimeField::Frames, localized("Frames"), 0);

    auto* backward = new QRadioButton(localized("Backward"), this);
    auto* forward = new QRadioButton(localized("Forward"), this);
    radio_->addButton(backward, kBackwardRow);
    radio_->addButton(forward, kForwardRow);

    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(okButton_, QDialogButtonBox::AcceptRole);
    buttons->addButton(cancelButton_, QDialogButtonBox::RejectRole);
    okButton_->setDefault(true);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleLabel_);
    layout->addLayout(grid);
    layout->addWidget(backward);
    layout->addWidget(forward);
    layout->addWidget(resultLabel_);
    layout->addWidget(buttons);

    connect(radio_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            calculateAdjustTime();
    });
    connect(okButton_, &QPushButton::clicked, this,
            &QYAdjustTimeCodeWindowController::didPressOKButton);
    connect(cancelButton_, &QPushButton::clicked, this,
            &QYAdjustTimeCodeWindowController::didPressCancelButton);

    reset();
}

void QYAdjustTimeCodeWindowController::addFieldRow(QGridLayout* grid, AdjustTimeField which,
                                                   const QString& label, int maximum) {
    Field& row = fields_[static_cast<size_t>(which)];
    row.textField = new QLineEdit(this);
    row.stepper = new ArrowsOnlyStepper(this);
    row.stepper->setRange(0, maximum);
    // Typing in the field is the keyboard's way; the arrows are for the mouse.
    row.stepper->setFocusPolicy(Qt::NoFocus);

    auto* caption = new QLabel(label, this);
    caption->setBuddy(row.textField);
    const int line = grid->rowCount();
    grid->addWidget(caption, line, 0);
    grid->addWidget(row.textField, line, 1);
    grid->addWidget(row.stepper, line, 2);

    connect(row.textField, &QLineEdit::textEdited, this,
            [this, which] { controlTextDidChange(which); });
    connect(row.stepper, &QSpinBox::valueChanged, this,
            &QYAdjustTimeCodeWindowController::didPressStepper);
}

void QYAdjustTimeCodeWindowController::setFps(double fps) {
    fps_ = fps;
    frameStepper()->setMaximum(static_cast<int>(std::ceil(fps)));
}

void QYAdjustTimeCodeWindowController::reset() {
    setFps(QYTimeUtility::sharedInstance().getFPS());
    for (AdjustTimeField which : kAllFields) {
        setQuietly(field(which).stepper, 0);
        field(which).textField->setText(QStringLiteral("0"));
    }
    radio_->button(kBackwardRow)->setChecked(true);
    calculateAdjustTime();
    frameTextField()->setFocus();
    frameTextField()->selectAll();
}

void QYAdjustTimeCodeWindowController::calculateAdjustTime() {
    const AdjustTime carried = carryAdjustTime(stepperValues(), fps_);
    for (AdjustTimeField which : kAllFields)
        setQuietly(field(which).stepper, carried[which]);
    // Read back, so what is shown is what OK will use should a stepper have capped it.
    const AdjustTime shown = stepperValues();
    for (AdjustTimeField which : kAllFields)
        showNumber(field(which).textField, shown[which]);
    resultLabel_->setText(adjustTimeResultText(shown, isForward()));
}

void QYAdjustTimeCodeWindowController::controlTextDidChange(AdjustTimeField changed) {
    const Field& row = field(changed);
    if (const std::optional<int> value =
            readAdjustTimeField(changed, row.textField->text(), fps_)) {
        setQuietly(row.stepper, *value);
        calculateAdjustTime();
    } else {
        showNumber(row.textField, row.stepper->value());
    }
}

void QYAdjustTimeCodeWindowController::didPressStepper() {
    calculateAdjustTime();
}

void QYAdjustTimeCodeWindowController::didPressOKButton() {
    if (delegate_)
        delegate_->adjustTimeCodeWithTime(adjustTimeAmount(stepperValues(), fps_), isForward());
    done(kConfirmed);
}

void QYAdjustTimeCodeWindowController::didPressCancelButton() {
    done(kCancelled);
}

void QYAdjustTimeCodeWindowController::reject() {
    didPressCancelButton();
}

AdjustTime QYAdjustTimeCodeWindowController::stepperValues() const {
    AdjustTime values;
    for (AdjustTimeField which : kAllFields)
        values[which] = field(which).stepper->value();
    return values;
}

bool QYAdjustTimeCodeWindowController::isForward() const {
    return radio_->checkedId() == kForwardRow;
}

} // namespace quillery
