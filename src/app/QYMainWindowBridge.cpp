// The main window's side of the exchange with a running Final Cut Pro 7: the bridge's
// items of the "Final Cut Pro 7" menu, and the bridge's host calls answered by the
// window's Final Cut Pro 7 reader and writer (QYMainWindowFCP.cpp). Final Cut Pro is
// reached over the session bus (AppleEventDBus.h).
#include "AppleEventDBus.h"
#include "Localization.h"
#include "QYMainWindowController.h"
#include "QYSetting.h"
#include "SubtitleTextView.h"

#include <QMenu>

namespace quillery {

void QYMainWindowController::setUpFinalCutPro7Bridge() {
    appleEventTransport_ = std::make_unique<DBusAppleEventTransport>();
    fcp7Bridge_ = std::make_unique<QYFCP7Bridge>(*this, *presenter_, *appleEventTransport_);
}

void QYMainWindowController::addFinalCutPro7BridgeItems(QMenu* menu) {
    menu->addAction(localized("Get FCP Sequence"), [this] { loadFromFinalCutPro(); });
    menu->addAction(localized("Send to FCP"), [this] { sendToFinalCutPro(); });
    menu->addAction(localized("Change Font Settings"), [this] { batchChangeFont(); });
}

void QYMainWindowController::loadFromFinalCutPro() {
    fcp7Bridge_->loadFromFinalCutPro();
}

void QYMainWindowController::sendToFinalCutPro() {
    fcp7Bridge_->sendToFinalCutPro();
}

void QYMainWindowController::batchChangeFont() {
    fcp7Bridge_->batchChangeFont();
}

bool QYMainWindowController::hasFCP7Document() const {
    return fcp7_.has_value();
}

bool QYMainWindowController::loadFetchedSequenceXML(const QString& xml) {
    return loadXML(xml, settings_.isAutoAssembleVideoAndAudio);
}

bool QYMainWindowController::hasTimeStringErrors() {
    return textView_->error();
}

} // namespace quillery
