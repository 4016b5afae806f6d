// SPDX-License-Identifier: MIT
// A canvas that keeps every call as a value.
#include "support/RecordingCanvas.h"

namespace dirscribe {

bool RecordingCanvas::CanMakeFont(const FontRequest& font) const {
    return m_refusedFaces.find(font.face) == m_refusedFaces.end();
}

void RecordingCanvas::Line(Point from, Point to, const Pen& pen) {
    m_calls.emplace_back(LineCall{from, to, pen});
}

void RecordingCanvas::Rectangle(Point topLeft, Point bottomRight, const Pen& pen, Color fill) {
    m_calls.emplace_back(RectangleCall{topLeft, bottomRight, pen, fill});
}

void RecordingCanvas::RoundRectangle(Point topLeft, Point bottomRight, int ellipseWidth,
                                     int ellipseHeight, const Pen& pen, Color fill) {
    m_calls.emplace_back(
        RoundRectangleCall{topLeft, bottomRight, ellipseWidth, ellipseHeight, pen, fill});
}

void RecordingCanvas::Text(Point at, std::string_view text, const FontRequest& font, int room) {
    m_calls.emplace_back(TextCall{at, std::string(text), font, room, !CanMakeFont(font)});
}

const TextCall* RecordingCanvas::FindText(std::string_view text) const {
    for (const CanvasCall& call : m_calls)
        if (const auto* typed = std::get_if<TextCall>(&call); typed && typed->text == text)
            return typed;
    return nullptr;
}

} // namespace dirscribe
