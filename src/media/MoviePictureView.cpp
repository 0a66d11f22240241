#include "MoviePictureView.h"

#include "Localization.h"

#include <QFontMetricsF>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

namespace quillery {

namespace {

constexpr double kSideMargin = 60;
constexpr double kMeasureHeight = 40;
constexpr double kBottomMargin = 10;
constexpr double kExtraWidth = 10;
constexpr double kExtraHeight = 6;
// The box: grey 163/255 at 0.3 opacity under white text.
const QColor kBoxColour(163, 163, 163, 77);
const QString kLineBreakMark = QStringLiteral("\u23CE");

QLabel* messageLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setAlignment(Qt::AlignCenter);
    label->setStyleSheet(QStringLiteral("color: rgb(200, 200, 200); font-size: 16pt;"));
    label->hide();
    return label;
}

QRectF fitted(const QSize& picture, const QRect& into) {
    if (picture.isEmpty())
        return QRectF();
    const QSizeF size = QSizeF(picture).scaled(into.size(), Qt::KeepAspectRatio);
    return QRectF(into.left() + (into.width() - size.width()) / 2,
                  into.top() + (into.height() - size.height()) / 2, size.width(), size.height());
}

} // namespace

QFont subtitleLayerFont() {
    QFont font(QStringLiteral("Helvetica"), 18);
    font.setBold(true);
    return font;
}

QRectF initialSubtitleLayerFrame(double viewWidth, double viewHeight) {
    constexpr double bottom = 30;
    constexpr double height = 45;
    return QRectF(kSideMargin, viewHeight - bottom - height, viewWidth - 2 * kSideMargin, height);
}

QRectF subtitleLayerFrame(double viewWidth, double viewHeight, const QSizeF& textSize) {
    const double width = textSize.width() > 0 ? textSize.width() + kExtraWidth : textSize.width();
    const double height =
        textSize.height() > 0 ? textSize.height() + kExtraHeight : textSize.height();
    return QRectF((viewWidth - textSize.width()) / 2, viewHeight - kBottomMargin - height, width,
                  height);
}

MoviePictureView::MoviePictureView(QWidget* parent)
    : QWidget(parent),
      unplayableLabel_(messageLabel(localized("This movie can not be played."), this)),
      noVideoLabel_(messageLabel(localized("This movie has no video or audio."), this)) {
    setObjectName(QStringLiteral("moviePictureView"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(unplayableLabel_);
    layout->addWidget(noVideoLabel_);
}

void MoviePictureView::setPicture(const QImage& picture, int frame) {
    picture_ = picture;
    pictureFrame_ = frame;
    update();
}

void MoviePictureView::setSecondaryPicture(const QImage& picture) {
    secondaryPicture_ = picture;
    if (secondaryVisible_)
        update();
}

void MoviePictureView::setSecondaryVisible(bool visible) {
    if (visible == secondaryVisible_)
        return;
    secondaryVisible_ = visible;
    update();
}

void MoviePictureView::clearPictures() {
    picture_ = QImage();
    pictureFrame_ = -1;
    secondaryPicture_ = QImage();
    secondaryVisible_ = false;
    update();
}

void MoviePictureView::setSubtitleLayerText(const QString& text) {
    subtitleText_ = text;
    subtitleText_.replace(kLineBreakMark, QStringLiteral("\n"));
    layoutSubtitleText();
    update();
}

void MoviePictureView::placeSubtitleLayer() {
    subtitleRect_ = initialSubtitleLayerFrame(width(), height());
    subtitleVisible_ = true;
    update();
}

void MoviePictureView::setSubtitleLayerVisible(bool visible) {
    subtitleVisible_ = visible;
    update();
}

void MoviePictureView::layoutSubtitleText() {
    const QRectF measure(0, 0, width() - 2 * kSideMargin, kMeasureHeight);
    const QSizeF textSize =
        subtitleText_.isEmpty()
            ? QSizeF(0, 0)
            : QFontMetricsF(subtitleLayerFont())
                  .boundingRect(measure, Qt::TextWordWrap | Qt::AlignHCenter, subtitleText_)
                  .size();
    subtitleRect_ = subtitleLayerFrame(width(), height(), textSize);
}

void MoviePictureView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutSubtitleText();
}

void MoviePictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!picture_.isNull())
        painter.drawImage(fitted(picture_.size(), rect()), picture_);
    if (secondaryVisible_ && !secondaryPicture_.isNull())
        painter.drawImage(fitted(secondaryPicture_.size(), rect()), secondaryPicture_);
    if (!subtitleVisible_ || subtitleText_.isEmpty() || subtitleRect_.isEmpty())
        return;
    painter.fillRect(subtitleRect_, kBoxColour);
    painter.setPen(Qt::white);
    painter.setFont(subtitleLayerFont());
    painter.drawText(subtitleRect_, Qt::AlignCenter | Qt::TextWordWrap, subtitleText_);
}

} // namespace quillery
