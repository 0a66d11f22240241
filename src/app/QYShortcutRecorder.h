// A field that records one key combination as a shortcut string: while it has the focus,
// the next key pressed (with its modifiers) is offered through shortCutProposed, and the
// owner decides whether to show it. Plain Tab and Shift-Tab keep moving the focus and are
// never recorded; held with ⌃, ⌥ or ⌘ they are recorded like any other key.
#pragma once

#include <QLineEdit>
#include <functional>
#include <utility>

namespace quillery {

class QYShortcutRecorder : public QLineEdit {
    Q_OBJECT

public:
    using Beeper = std::function<void()>;

    explicit QYShortcutRecorder(QWidget* parent = nullptr);

    // When set, a combination without ⌃, ⌥, ⇧ or ⌘ is refused with a beep.
    void setRequiresModifier(bool requiresModifier) { requiresModifier_ = requiresModifier; }
    bool requiresModifier() const { return requiresModifier_; }
    // What a refusal sounds like; QApplication::beep unless replaced.
    void setBeeper(Beeper beeper) { beeper_ = std::move(beeper); }

signals:
    // The text is left alone: the owner shows the combination once it accepts it.
    void shortCutProposed(const QString& shortCut);

protected:
    bool event(QEvent* event) override;

private:
    void record(const QKeyEvent* event);

    bool requiresModifier_ = false;
    Beeper beeper_;
};

} // namespace quillery
