// The Adjust Time Code dialog: the user sets an amount in hours, minutes, seconds and
// frames, typed or stepped, and a direction; OK hands that amount to the delegate, which
// shifts the time strings of the script. Ends with 1 for "OK" and -1 for "Cancel".
#pragma once

#include "MediaTime.h"
#include "TextTools.h"

#include <QDialog>
#include <array>

class QButtonGroup;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;

namespace quillery {

// The owner that shifts the script's time strings once the user confirms.
class QYAdjustTimeCodeDelegate {
public:
    virtual ~QYAdjustTimeCodeDelegate() = default;
    virtual void adjustTimeCodeWithTime(const MediaTime& time, bool isForward) = 0;
};

class QYAdjustTimeCodeWindowController : public QDialog {
    Q_OBJECT

public:
    // The rows of the direction radio group.
    static constexpr int kBackwardRow = 0;
    static constexpr int kForwardRow = 1;

    explicit QYAdjustTimeCodeWindowController(QWidget* parent = nullptr);

    void setDelegate(QYAdjustTimeCodeDelegate* delegate) { delegate_ = delegate; }
    QYAdjustTimeCodeDelegate* delegate() const { return delegate_; }
    double fps() const { return fps_; }
    // The frame stepper reaches fps, so stepping past the last frame carries.
    void setFps(double fps);

    QButtonGroup* radio() const { return radio_; }
    QLineEdit* hourTextField() const { return field(AdjustTimeField::Hours).textField; }
    QLineEdit* minuteTextField() const { return field(AdjustTimeField::Minutes).textField; }
    QLineEdit* secondTextField() const { return field(AdjustTimeField::Seconds).textField; }
    QLineEdit* frameTextField() const { return field(AdjustTimeField::Frames).textField; }
    QSpinBox* hourStepper() const { return field(AdjustTimeField::Hours).stepper; }
    QSpinBox* minuteStepper() const { return field(AdjustTimeField::Minutes).stepper; }
    QSpinBox* secondStepper() const { return field(AdjustTimeField::Seconds).stepper; }
    QSpinBox* frameStepper() const { return field(AdjustTimeField::Frames).stepper; }
    QLabel* resultLabel() const { return resultLabel_; }
    QLabel* titleLabel() const { return titleLabel_; }
    QPushButton* okButton() const { return okButton_; }
    QPushButton* cancelButton() const { return cancelButton_; }

    // Back to zero and backward at the current frame rate, the frame field focused.
    void reset();
    // Carries the stepper values and shows them in the fields and the result label.
    void calculateAdjustTime();
    // A valid number goes to the field's stepper; anything else is replaced by it.
    void controlTextDidChange(AdjustTimeField changed);
    void didPressStepper();
    void didPressOKButton();
    void didPressCancelButton();

    // Escape and closing the window count as "Cancel".
    void reject() override;

private:
    struct Field {
        QLineEdit* textField = nullptr;
        QSpinBox* stepper = nullptr;
    };

    const Field& field(AdjustTimeField which) const { return fields_[static_cast<size_t>(which)]; }
    AdjustTime stepperValues() const;
    void addFieldRow(QGridLayout* grid, AdjustTimeField which, const QString& label, int maximum);
    bool isForward() const;

    QYAdjustTimeCodeDelegate* delegate_ = nullptr;
    double fps_ = 0;
    std::array<Field, 4> fields_;
    QButtonGroup* radio_;
    QLabel* titleLabel_;
    QLabel* resultLabel_;
    QPushButton* okButton_;
    QPushButton* cancelButton_;
};

} // namespace quillery
