// Labels, shape boxes, picture boxes, hyperlinks and timers: windows of our own
// class "TallyraUnit", drawn by our own code.
#pragma once

#include "platform/win32/frame_paced_repaint.h"
#include "ui/win32/picture.h"
#include "ui/win32/unit.h"

#include <map>
#include <memory>
#include <span>
#include <string>
#include <tuple>
#include <vector>

namespace tallyra::ui::win32 {

class DrawnUnit : public PaintedUnit {
public:
    DrawnUnit(UnitHost& host, const UnitDesign& design);
    bool create(HINSTANCE instance, HWND parent) override;

    static bool registerClass(HINSTANCE instance);
    // Starts or stops the timer; 0 stops it.
    void setInterval(int milliseconds);
    // Labels: how the text fits the box.
    void setTextFit(TextFit fit);
    // Labels: the largest character height at which every one of the lines fits the box.
    int fillHeightOfAll(std::span<const std::string> lines) const;

private:
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool paintsAtOnce() const override;
    void paint(HDC dc, RECT area) const override;
    void paintLabel(HDC dc, RECT area, COLORREF color) const;
    void paintShape(HDC dc, RECT area) const;
    void onMouseMove();
    // A second press soon after the first and near it.
    bool isDoubleClick();
    // The font of a character height, kept for the next paints.
    HFONT fontOfHeight(int charHeight) const;
    // How a label sets a text: its character height, each character's end and the ink
    // of its glyphs. Measured once for each text and box, then remembered, so that a
    // rolling display only draws.
    struct TextShape {
        int charHeight = 0;
        std::vector<int> ends; // from the line's left
        SIZE extent{};
        // Each character's glyph box from the line's top left; empty when the font lacks
        // a glyph and another font draws it, whose ink nothing here can tell.
        std::vector<RECT> ink;
    };
    std::shared_ptr<const TextShape> shapeOf(HDC dc, const std::wstring& text, SIZE box) const;
    int fittedHeight(HDC dc, const std::wstring& text, SIZE box) const;
    // Where a label draws a line of text.
    struct LineLayout {
        std::wstring text;                      // without line breaks
        std::shared_ptr<const TextShape> shape; // null for no text
        LONG left = 0, top = 0;
        RECT area{};
        int charHeight() const { return shape ? shape->charHeight : 0; }
        // Adds the ink of characters [first, last) to a region; false if a part could not be.
        bool addInk(HRGN region, std::size_t first, std::size_t last) const;
    };
    LineLayout layOut(HDC dc, std::wstring text) const;
    // Labels: a new text repaints only what the old and the new one cover, or only the
    // characters that changed when both are laid out alike, at the display's pace.
    LRESULT setLabelText(WPARAM wParam, LPARAM lParam);

    std::unique_ptr<Picture> picture_;
    bool hot_ = false; // hyperlinks: pointer over it
    TextFit fit_ = TextFit::None;
    DWORD lastPressTime_ = 0;
    POINT lastPressPoint_{};
    // Fonts of the heights fitted text was drawn at (a few: the rolling display shows
    // the same texts again and again, and most names share a height).
    mutable std::map<int, ScopedFont> fittedFonts_;
    // How texts were set, for the fit, height and box they were set in.
    mutable std::map<std::wstring, std::shared_ptr<const TextShape>> shapes_;
    mutable std::tuple<TextFit, int, LONG, LONG> setFor_{};
    tallyra::win32::FramePacedRepaint repaint_; // labels' new texts
};

} // namespace tallyra::ui::win32
