#pragma once
// The windows' widget style: Fusion, adjusted where the fixed pixel layout
// needs something Fusion does not give it.

#include <QProxyStyle>

class QStyleOptionGroupBox;

namespace tarnwick {

class DialogStyle final : public QProxyStyle {
public:
    DialogStyle();

    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                         SubControl subControl, const QWidget* widget) const override;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;

private:
    void drawFrame(const QStyleOptionGroupBox& frame, QPainter& painter) const;
};

}  // namespace tarnwick
