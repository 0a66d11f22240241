// The waveform editor's side of the overview strip: one record per script line, a stripe
// for each valid one (its index counts the valid records before it), the marker that
// follows the visible window, and the jumps the strip asks for.
#include "NotificationNames.h"
#include "QYNotificationCenter.h"
#include "QYWaveFormPlayerControl.h"
#include "QYWaveFormView.h"

namespace quillery {

void QYWaveFormView::createSubtitleLineObject(const SubtitleLinePtr& line, int index) {
    const auto at = static_cast<std::size_t>(
        std::clamp<int>(index, 0, static_cast<int>(summarySubtitleLineObjectArray_.size())));
    const bool atTheEnd = at == summarySubtitleLineObjectArray_.size();
    auto inserted = summarySubtitleLineObjectArray_.insert(
        summarySubtitleLineObjectArray_.begin() + static_cast<std::ptrdiff_t>(at),
        std::make_unique<QYWaveFormSummaryViewSubtitleLineObject>(line, this));
    if (!line->isValid())
        return;
    // A script being loaded adds its lines at the end, after every stripe.
    const std::size_t stripe =
        atTheEnd ? (overView_ ? overView_->getColorCount() : 0) : stripeIndexOf(inserted->get());
    insertSubtitleIntoSummaryView(stripe, *line);
}

void QYWaveFormView::insertSubtitleIntoSummaryView(std::size_t stripeIndex,
                                                   const SubtitleLine& line) {
    if (!overView_) {
        overView_ = new OverDifferenceSummaryView(this, this);
        overView_->setGeometry(0, height() - static_cast<int>(kOverviewHeight), width(),
                               static_cast<int>(kOverviewHeight));
        overView_->show();
        setAnimatorPosition();
    }
    overView_->addColorBlock(stripeIndex, stripeOf(line));
}

std::size_t
QYWaveFormView::stripeIndexOf(const QYWaveFormSummaryViewSubtitleLineObject* record) const {
    // The last record, whose stripe (if it has one) is the last: no need to count.
    if (overView_ && record == summarySubtitleLineObjectArray_.back().get())
        return overView_->getColorCount() - (record->isValid() ? 1 : 0);
    std::size_t valid = 0;
    for (const auto& other : summarySubtitleLineObjectArray_) {
        if (other.get() == record)
            break;
        if (other->isValid())
            ++valid;
    }
    return valid;
}

Stripe QYWaveFormView::stripeOf(const SubtitleLine& line) const {
    const double total = getTotalWidth();
    if (total <= 0)
        return {};
    return stripeFor(line.startTime(), line.endTime(), getSampleRate(), total);
}

void QYWaveFormView::didSubtitleChanged(QYWaveFormSummaryViewSubtitleLineObject* record) {
    if (!overView_)
        return;
    const std::size_t index = stripeIndexOf(record);
    if (record->subtitle()->isValid())
        overView_->updateColorBlockAtIndex(index, stripeOf(*record->subtitle()));
    else
        overView_->removeColorAtIndex(index);
}

void QYWaveFormView::didSubtitleBecomeValid(QYWaveFormSummaryViewSubtitleLineObject* record) {
    const SubtitleLinePtr& line = record->subtitle();
    const bool pending =
        currentCalculatingEndTimeView_ && currentCalculatingEndTimeView_->subtitleLine() == line;
    const bool overlapsWindow =
        line->startTime() < getCurrentViewEndTime() && line->endTime() >= getCurrentViewStartTime();
    if (!pending && overlapsWindow && layer_)
        createWaveFormTextView(line);
    insertSubtitleIntoSummaryView(stripeIndexOf(record), *line);
}

void QYWaveFormView::clearSummaryView() {
    summarySubtitleLineObjectArray_.clear();
    if (overView_)
        overView_->clearAllColor();
}

void QYWaveFormView::refreshSummaryStripes() {
    if (!overView_)
        return;
    // A new movie changes every fraction.
    std::size_t index = 0;
    for (const auto& record : summarySubtitleLineObjectArray_) {
        if (record->isValid())
            overView_->updateColorBlockAtIndex(index++, stripeOf(*record->subtitle()));
    }
}

void QYWaveFormView::setAnimatorPosition() {
    if (overView_)
        overView_->moveAnimator(getXOffset(), width(), getTotalWidth());
}

// --- The strip's requests ------------------------------------------------------------------------

void QYWaveFormView::didClickOnSummaryView() {
    if (layer_)
        layer_->setIsScroll(false);
}

void QYWaveFormView::repositionOverFlowViewDidMove(double fraction) {
    if (layer_)
        layer_->setIsScroll(false);
    if (player_)
        player_->setShouldSyncWaveForm(true);
    QYNotificationCenter::sharedInstance().postNotificationName(
        kMoviePlayerGotoPercentageNotification, fraction);
}

void QYWaveFormView::repositionOverFlowViewEndMove() {
    if (player_)
        player_->setShouldSyncWaveForm(false);
}

} // namespace quillery
