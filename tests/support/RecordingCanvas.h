// SPDX-License-Identifier: MIT
// A canvas that keeps every call as a value, so drawings can be checked.
#pragma once

#include "core/canvas/Canvas.h"

#include <set>
#include <string>
#include <variant>
#include <vector>

namespace dirscribe {

struct LineCall {
    Point from;
    Point to;
    Pen pen;
    friend bool operator==(const LineCall&, const LineCall&) = default;
};

struct RectangleCall {
    Point topLeft;
    Point bottomRight;
    Pen pen;
    Color fill;
    friend bool operator==(const RectangleCall&, const RectangleCall&) = default;
};

struct RoundRectangleCall {
    Point topLeft;
    Point bottomRight;
    int ellipseWidth = 0;
    int ellipseHeight = 0;
    Pen pen;
    Color fill;
    friend bool operator==(const RoundRectangleCall&, const RoundRectangleCall&) = default;
};

struct TextCall {
    Point at;
    std::string text;
    FontRequest font;
    int room = 0;             // the width it was given; the recording cuts nothing
    bool defaultFont = false; // the font could not be made; the device's default wrote it
    friend bool operator==(const TextCall&, const TextCall&) = default;
};

using CanvasCall = std::variant<LineCall, RectangleCall, RoundRectangleCall, TextCall>;

// Every font can be made except those whose face was refused with RefuseFace().
class RecordingCanvas final : public Canvas {
public:
    [[nodiscard]] bool CanMakeFont(const FontRequest& font) const override;
    void Line(Point from, Point to, const Pen& pen) override;
    void Rectangle(Point topLeft, Point bottomRight, const Pen& pen, Color fill) override;
    void RoundRectangle(Point topLeft, Point bottomRight, int ellipseWidth, int ellipseHeight,
                        const Pen& pen, Color fill) override;
    void Text(Point at, std::string_view text, const FontRequest& font, int room) override;

    // Fonts of this face cannot be made from now on.
    void RefuseFace(std::string face) { m_refusedFaces.insert(std::move(face)); }

    [[nodiscard]] const std::vector<CanvasCall>& Calls() const { return m_calls; }
    // The calls of one kind, in the order they were made.
    [[nodiscard]] std::vector<TextCall> Texts() const { return Of<TextCall>(); }
    [[nodiscard]] std::vector<LineCall> Lines() const { return Of<LineCall>(); }
    [[nodiscard]] std::vector<RoundRectangleCall> RoundRectangles() const {
        return Of<RoundRectangleCall>();
    }
    // The first text call whose text is exactly this; null when there is none.
    [[nodiscard]] const TextCall* FindText(std::string_view text) const;
    void Clear() { m_calls.clear(); }

private:
    template <typename T> [[nodiscard]] std::vector<T> Of() const {
        std::vector<T> out;
        for (const CanvasCall& call : m_calls)
            if (const T* typed = std::get_if<T>(&call))
                out.push_back(*typed);
        return out;
    }

    std::vector<CanvasCall> m_calls;
    std::set<std::string, std::less<>> m_refusedFaces;
};

} // namespace dirscribe
