// The question asked on the first launch: which Final Cut Pro the user works with, which
// decides the first and fifth toolbar buttons. The answer is stored and saved on Done.
#pragma once

#include <QDialog>

class QButtonGroup;

namespace quillery {

class QYSetting;

class QYToolbarButtonPreferenceWindowController : public QDialog {
    Q_OBJECT

public:
    // Rows of the choice.
    static constexpr int kFinalCutProXRow = 0;
    static constexpr int kFinalCutPro7Row = 1;

    explicit QYToolbarButtonPreferenceWindowController(QYSetting& settings,
                                                       QWidget* parent = nullptr);
    QButtonGroup* choice() const { return choice_; }
    // Stores the choice, marks the first launch as done, saves the preferences and closes.
    void storeChoiceAndClose();

private:
    QYSetting& settings_;
    QButtonGroup* choice_;
};

} // namespace quillery
