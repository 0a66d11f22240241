#include "QYShortcutRecorder.h"

#include "QYSetting.h"

#include <QApplication>
#include <QKeyEvent>

namespace quillery {

namespace {

constexpr Qt::KeyboardModifiers kShortCutModifiers =
    Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;

// Shift-Tab arrives as Backtab with Shift held.
bool movesFocus(const QKeyEvent* event) {
    const bool isTab = event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab;
    return isTab &&
           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
}

} // namespace

QYShortcutRecorder::QYShortcutRecorder(QWidget* parent)
    : QLineEdit(parent), beeper_([] { QApplication::beep(); }) {
    setReadOnly(true);
    setAlignment(Qt::AlignCenter);
}

bool QYShortcutRecorder::event(QEvent* event) {
    const bool isKeyPress = event->type() == QEvent::KeyPress;
    // Accepting the override keeps menu shortcuts from firing while a combination is typed.
    if (isKeyPress || event->type() == QEvent::ShortcutOverride) {
        const auto* keyEvent = static_cast<QKeyEvent*>(event);
        if (!movesFocus(keyEvent)) {
            if (isKeyPress)
                record(keyEvent);
            event->accept();
            return true;
        }
    }
    return QLineEdit::event(event);
}

void QYShortcutRecorder::record(const QKeyEvent* event) {
    if (event->isAutoRepeat())
        return;
    const Qt::KeyboardModifiers modifiers = event->modifiers() & kShortCutModifiers;
    // Empty for a modifier key pressed on its own and for keys without a name.
    const QString shortCut = shortCutString(static_cast<Qt::Key>(event->key()), modifiers);
    if (shortCut.isEmpty())
        return;
    if (requiresModifier_ && modifiers == Qt::NoModifier) {
        beeper_();
        return;
    }
    emit shortCutProposed(shortCut);
}

} // namespace quillery
