// SPDX-License-Identifier: MIT
// The page drawing's canvas on a Qt paint device.
#include "render/QPainterCanvas.h"

#include "render/PrintFont.h"
#include "render/QtText.h"

#include <QColor>
#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPen>
#include <QRectF>
#include <QString>
#include <algorithm>
#include <cmath>

namespace dirscribe {

namespace {

QColor ToQColor(Color color) {
    return QColor(color.red, color.green, color.blue);
}

} // namespace

QPainterCanvas::QPainterCanvas(QPainter& painter) : m_painter(painter) {
    const DeviceScale scale = ScaleOf(painter.device());
    m_scaleX = scale.x;
    m_scaleY = scale.y;
}

QPointF QPainterCanvas::Map(Point point) const {
    return {point.x * m_scaleX, point.y * m_scaleY};
}

QPen QPainterCanvas::MakePen(const Pen& pen) const {
    // Width 0 is Qt's cosmetic pen too: one device pixel, whatever the scale.
    QPen made(ToQColor(pen.color), pen.width * m_scaleY, Qt::SolidLine, Qt::RoundCap,
              Qt::RoundJoin);
    return made;
}

bool QPainterCanvas::CanMakeFont(const FontRequest& font) const {
    return CanMakePrintFont(font, {m_scaleX, m_scaleY});
}

const QPainterCanvas::MadeFont& QPainterCanvas::FontFor(const FontRequest& request) {
    const auto known = std::find_if(m_fonts.begin(), m_fonts.end(),
                                    [&](const MadeFont& f) { return f.request == request; });
    if (known != m_fonts.end())
        return *known;
    const QFont font = MakePrintFont(request, m_painter.device(), {m_scaleX, m_scaleY});
    m_fonts.push_back({request, font, QFontMetricsF(font, m_painter.device())});
    return m_fonts.back();
}

void QPainterCanvas::Line(Point from, Point to, const Pen& pen) {
    m_painter.setPen(MakePen(pen));
    m_painter.drawLine(Map(from), Map(to));
}

void QPainterCanvas::Rectangle(Point topLeft, Point bottomRight, const Pen& pen, Color fill) {
    m_painter.setPen(MakePen(pen));
    m_painter.setBrush(ToQColor(fill));
    m_painter.drawRect(QRectF(Map(topLeft), Map(bottomRight)));
}

void QPainterCanvas::RoundRectangle(Point topLeft, Point bottomRight, int ellipseWidth,
                                    int ellipseHeight, const Pen& pen, Color fill) {
    m_painter.setPen(MakePen(pen));
    m_painter.setBrush(ToQColor(fill));
    m_painter.drawRoundedRect(QRectF(Map(topLeft), Map(bottomRight)), ellipseWidth * m_scaleX / 2,
                              ellipseHeight * m_scaleY / 2, Qt::AbsoluteSize);
}

void QPainterCanvas::Text(Point at, std::string_view text, const FontRequest& font, int room) {
    const MadeFont& made = FontFor(font);
    m_painter.setPen(QPen(Qt::black));
    m_painter.setFont(made.font);
    const QPointF origin = Map(at);
    const QString shown =
        made.metrics.elidedText(ToQString(text), Qt::ElideRight, std::max(room, 0) * m_scaleX);
    m_painter.drawText(QPointF(origin.x(), origin.y() + made.metrics.ascent()), shown);
}

} // namespace dirscribe
