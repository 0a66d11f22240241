// The player's picture: the movie's frames scaled into a black view, an optional second
// movie's frames over them, and the current subtitle drawn as a box near the bottom.
#pragma once

#include <QImage>
#include <QRectF>
#include <QWidget>

class QLabel;

namespace quillery {

// The subtitle box for a text of the measured size (within (width - 120) x 40): centred,
// 10 above the bottom, 10 wider and 6 taller than the text. Qt's y grows downwards.
QRectF subtitleLayerFrame(double viewWidth, double viewHeight, const QSizeF& textSize);
// The box before any text is laid: (60, 30) from the bottom-left, width - 120 by 45.
QRectF initialSubtitleLayerFrame(double viewWidth, double viewHeight);
// The overlay's type: 18-point Helvetica, bold.
QFont subtitleLayerFont();

class MoviePictureView : public QWidget {
    Q_OBJECT

public:
    explicit MoviePictureView(QWidget* parent = nullptr);

    // frame: the movie frame the picture shows.
    void setPicture(const QImage& picture, int frame);
    int pictureFrame() const { return pictureFrame_; }
    void setSecondaryPicture(const QImage& picture);
    void setSecondaryVisible(bool visible);
    bool isSecondaryVisible() const { return secondaryVisible_; }
    void clearPictures();
    bool hasPicture() const { return !picture_.isNull(); }

    // "⏎" becomes a new line; the box is laid out again for the text.
    void setSubtitleLayerText(const QString& text);
    void placeSubtitleLayer();
    void setSubtitleLayerVisible(bool visible);
    QString subtitleLayerText() const { return subtitleText_; }
    QRectF subtitleLayerRect() const { return subtitleRect_; }
    bool isSubtitleLayerVisible() const { return subtitleVisible_; }

    // Centred messages over the picture (the unplayable and no-video labels).
    QLabel* unplayableLabel() const { return unplayableLabel_; }
    QLabel* noVideoLabel() const { return noVideoLabel_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void layoutSubtitleText();

    QImage picture_;
    int pictureFrame_ = -1;
    QImage secondaryPicture_;
    bool secondaryVisible_ = false;
    QString subtitleText_;
    QRectF subtitleRect_;
    bool subtitleVisible_ = false;
    QLabel* unplayableLabel_;
    QLabel* noVideoLabel_;
};

} // namespace quillery
