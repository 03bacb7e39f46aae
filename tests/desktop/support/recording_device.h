#pragma once
// A paint device that keeps what is painted on it, in order and in the
// painter's coordinates: lines, rectangles, paths and texts, each with the
// pen and brush it was painted with. A test reads a figure's geometry from
// it exactly, where pixels would blur it by antialiasing.

#include <QFont>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPainterPath>
#include <QTextItem>
#include <vector>

namespace tarnwick::testing_support {

struct Painted {
    enum class Kind { line, rect, path, text };
    Kind kind = Kind::line;
    QLineF line;        // a line
    QRectF rect;        // a rectangle
    QPainterPath path;  // a path
    QString text;       // a text, written from baseline (its left end on the baseline)
    QPointF baseline;
    QFont font;
    QPen pen;
    QBrush brush;
};

class RecordingEngine final : public QPaintEngine {
public:
    RecordingEngine() : QPaintEngine(AllFeatures) {}

    std::vector<Painted> painted;

    bool begin(QPaintDevice*) override { return true; }
    bool end() override { return true; }
    Type type() const override { return User; }

    void updateState(const QPaintEngineState& state) override {
        if (state.state() & DirtyPen) pen_ = state.pen();
        if (state.state() & DirtyBrush) brush_ = state.brush();
    }

    using QPaintEngine::drawLines;
    using QPaintEngine::drawRects;
    void drawLines(const QLineF* lines, int count) override {
        for (int i = 0; i < count; ++i)
            keep(Painted::Kind::line).line = lines[i];
    }
    void drawRects(const QRectF* rects, int count) override {
        for (int i = 0; i < count; ++i)
            keep(Painted::Kind::rect).rect = rects[i];
    }
    void drawPath(const QPainterPath& path) override { keep(Painted::Kind::path).path = path; }
    void drawTextItem(const QPointF& at, const QTextItem& item) override {
        Painted& text = keep(Painted::Kind::text);
        text.text = item.text();
        text.baseline = at;
        text.font = item.font();
    }
    void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
    void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}

private:
    Painted& keep(Painted::Kind kind) {
        Painted& p = painted.emplace_back();
        p.kind = kind;
        p.pen = pen_;
        p.brush = brush_;
        return p;
    }

    QPen pen_;
    QBrush brush_;
};

// At 96 dots per inch, as a screen at 100%.
class RecordingDevice final : public QPaintDevice {
public:
    explicit RecordingDevice(QSize size) : size_(size) {}

    QPaintEngine* paintEngine() const override { return &engine_; }
    const std::vector<Painted>& painted() const { return engine_.painted; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        constexpr int dpi = 96;
        switch (metric) {
            case PdmWidth:
                return size_.width();
            case PdmHeight:
                return size_.height();
            case PdmWidthMM:
                return qRound(size_.width() * 25.4 / dpi);
            case PdmHeightMM:
                return qRound(size_.height() * 25.4 / dpi);
            case PdmNumColors:
                return 0x7fffffff;
            case PdmDepth:
                return 32;
            case PdmDpiX:
            case PdmDpiY:
            case PdmPhysicalDpiX:
            case PdmPhysicalDpiY:
                return dpi;
            case PdmDevicePixelRatio:
                return 1;
            case PdmDevicePixelRatioScaled:
                return static_cast<int>(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    QSize size_;
    mutable RecordingEngine engine_;
};

}  // namespace tarnwick::testing_support
