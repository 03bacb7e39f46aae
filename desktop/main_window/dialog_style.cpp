#include "dialog_style.h"

#include <qdrawutil.h>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionGroupBox>
#include <algorithm>

namespace tarnwick {

namespace {

// A frame's caption sits in its top line this far in from the left edge,
// with this much of the line left out on either side of the caption.
constexpr int captionIndent = 8;
constexpr int captionGap = 2;

bool isPlainFrame(const QStyleOptionComplex* option) {
    return (option->subControls & QStyle::SC_GroupBoxCheckBox) == 0;
}

// The frames' controls are placed from just below the caption's middle, so
// the border runs there, half the caption's height below the top, rather
// than under the whole caption as Fusion draws it.
QRect borderRect(const QStyleOptionGroupBox& frame) {
    return frame.rect.adjusted(0, frame.fontMetrics.height() / 2, 0, 0);
}

QRect captionRect(const QStyleOptionGroupBox& frame) {
    if (frame.text.isEmpty()) {
        return {};
    }
    const QRect available =
        frame.rect.adjusted(captionIndent + captionGap, 0, -(captionIndent + captionGap), 0);
    const int width = frame.fontMetrics.size(Qt::TextShowMnemonic, frame.text).width();
    return QRect(available.left(), frame.rect.top(), std::min(width, available.width()),
                 frame.fontMetrics.height());
}

}  // namespace

DialogStyle::DialogStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion"))) {}

int DialogStyle::pixelMetric(PixelMetric metric, const QStyleOption* option,
                             const QWidget* widget) const {
    // Two of the option buttons are only 13 pixels high, and Fusion's
    // 14-pixel circle would lose its bottom edge there.
    if (metric == PM_ExclusiveIndicatorWidth || metric == PM_ExclusiveIndicatorHeight) {
        return 13;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QRect DialogStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                  SubControl subControl, const QWidget* widget) const {
    const auto* frame = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || frame == nullptr || !isPlainFrame(option)) {
        return QProxyStyle::subControlRect(control, option, subControl, widget);
    }
    switch (subControl) {
        case SC_GroupBoxFrame:
            return borderRect(*frame);
        case SC_GroupBoxLabel:
            return captionRect(*frame);
        case SC_GroupBoxContents:
            return frame->rect.adjusted(captionGap, frame->fontMetrics.height(), -captionGap,
                                        -captionGap);
        default:
            return QProxyStyle::subControlRect(control, option, subControl, widget);
    }
}

void DialogStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                     QPainter* painter, const QWidget* widget) const {
    const auto* frame = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control == CC_GroupBox && frame != nullptr && isPlainFrame(option)) {
        drawFrame(*frame, *painter);
        return;
    }
    QProxyStyle::drawComplexControl(control, option, painter, widget);
}

void DialogStyle::drawFrame(const QStyleOptionGroupBox& frame, QPainter& painter) const {
    const QRect caption = captionRect(frame);
    painter.save();
    if (caption.isValid()) {
        // The caption is set into the top line.
        painter.setClipRegion(
            QRegion(frame.rect)
                .subtracted(QRegion(caption.adjusted(-captionGap, 0, captionGap, 0))));
    }
    // An etched line: a shadow and a highlight beside it.
    qDrawShadeRect(&painter, borderRect(frame), frame.palette, true, 1, 0);
    painter.restore();
    if (caption.isValid()) {
        proxy()->drawItemText(&painter, caption,
                              Qt::AlignLeft | Qt::AlignTop | Qt::TextShowMnemonic, frame.palette,
                              (frame.state & State_Enabled) != 0, frame.text, QPalette::WindowText);
    }
}

}  // namespace tarnwick
