// SPDX-License-Identifier: MIT
// The page drawing's canvas on any Qt paint device: printer, preview or PDF.
#pragma once

#include "core/canvas/Canvas.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPointF>
#include <vector>

namespace dirscribe {

// Maps 0.01 inch to device units by the device's logical dpi, with the painter's origin as
// the top left of the printable area. Fonts as MakePrintFont makes them; a DeviceTextWidths
// of the same device measures texts as they are written here. Texts are placed by the top-left of
// their cell: their baseline stands one ascent below the point. The painter must be active and
// outlive the canvas.
class QPainterCanvas final : public Canvas {
public:
    explicit QPainterCanvas(QPainter& painter);

    // False only for a cell height that comes to less than one device unit.
    [[nodiscard]] bool CanMakeFont(const FontRequest& font) const override;
    void Line(Point from, Point to, const Pen& pen) override;
    void Rectangle(Point topLeft, Point bottomRight, const Pen& pen, Color fill) override;
    void RoundRectangle(Point topLeft, Point bottomRight, int ellipseWidth, int ellipseHeight,
                        const Pen& pen, Color fill) override;
    void Text(Point at, std::string_view text, const FontRequest& font, int room) override;

private:
    struct MadeFont {
        FontRequest request;
        QFont font;
        QFontMetricsF metrics;
    };

    [[nodiscard]] QPointF Map(Point point) const;
    [[nodiscard]] QPen MakePen(const Pen& pen) const;
    // The font for a request, made once per job and kept (a page uses a handful).
    const MadeFont& FontFor(const FontRequest& request);

    QPainter& m_painter;
    qreal m_scaleX = 1;
    qreal m_scaleY = 1;
    std::vector<MadeFont> m_fonts;
};

} // namespace dirscribe
