#pragma once
// A figure drawn into a widget of the window: white, as wide as the window
// lets it be, and as tall as its picture needs. Before there is a picture it
// keeps a few lines' room. Each figure says only whether it has a picture,
// how tall and how narrow that picture may be, and how it is drawn.

#include <QWidget>

namespace tarnwick::report {

class PictureWidget : public QWidget {
    Q_OBJECT

public:
    // `narrowestInLines`: the width the captions need, in line heights.
    PictureWidget(qreal narrowestInLines, QWidget* parent);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    // After the picture is set or cleared: a new height, a new drawing.
    void pictureChanged();

private:
    virtual bool hasPicture() const = 0;
    virtual qreal pictureHeight(const QFont& font, const QPaintDevice* device) const = 0;
    virtual qreal pictureMinimumWidth(const QFont& font, const QPaintDevice* device) const = 0;
    virtual void paintPicture(QPainter& painter, const QRectF& area, const QFont& font) const = 0;

    qreal narrowestInLines_;
};

}  // namespace tarnwick::report
