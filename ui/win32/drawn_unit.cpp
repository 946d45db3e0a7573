#include "ui/win32/drawn_unit.h"

#include "platform/win32/text.h"
#include "ui/kit/text_fit.h"

#include <algorithm>
#include <cstdlib>

namespace tallyra::ui::win32 {
namespace {

using tallyra::win32::ScopedGetDC;
using tallyra::win32::ScopedPen;
using tallyra::win32::ScopedRegion;
using tallyra::win32::ScopedSelectObject;
using tallyra::win32::toWide;
using tallyra::win32::windowText;

constexpr wchar_t kDrawnUnitClass[] = L"TallyraUnit";
constexpr UINT_PTR kTimerId = 1;
constexpr UINT_PTR kRepaintTimerId = 2; // labels'
constexpr std::size_t kMostFittedFonts = 16;
// A class's numbers and names, and a few more.
constexpr std::size_t kMostShapedTexts = 512;

bool isLineBreak(wchar_t c) {
    return c == L'\r' || c == L'\n';
}

} // namespace

DrawnUnit::DrawnUnit(UnitHost& host, const UnitDesign& design)
    : PaintedUnit(host, design), fit_(design.fit), repaint_(kRepaintTimerId) {}

void DrawnUnit::setTextFit(TextFit fit) {
    if (fit == fit_) return;
    fit_ = fit;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

bool DrawnUnit::isDoubleClick() {
    // By hand rather than CS_DBLCLKS: the first press starts the system's move loop,
    // which takes the release.
    const DWORD now = GetTickCount();
    const DWORD at = GetMessagePos();
    const POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    const bool isDouble = now - lastPressTime_ <= GetDoubleClickTime() &&
                          std::abs(point.x - lastPressPoint_.x) <= GetSystemMetrics(SM_CXDOUBLECLK) / 2 &&
                          std::abs(point.y - lastPressPoint_.y) <= GetSystemMetrics(SM_CYDOUBLECLK) / 2;
    lastPressTime_ = isDouble ? now - GetDoubleClickTime() - 1 : now; // a third press starts afresh
    lastPressPoint_ = point;
    return isDouble;
}

HFONT DrawnUnit::fontOfHeight(int charHeight) const {
    if (charHeight == charHeight_) return font_.get();
    if (const auto found = fittedFonts_.find(charHeight); found != fittedFonts_.end()) return found->second.get();
    if (fittedFonts_.size() >= kMostFittedFonts) fittedFonts_.clear();
    return fittedFonts_.emplace(charHeight, createUnitFont(design_.font, charHeight)).first->second.get();
}

int DrawnUnit::fittedHeight(HDC dc, const std::wstring& text, SIZE box) const {
    if (fit_ == TextFit::None) return charHeight_;
    // Measured with fonts of their own, so that the heights tried on the way do not push
    // the fonts drawn with out of their cache.
    const auto measure = [&](int charHeight) {
        ScopedFont own;
        HFONT font = charHeight == charHeight_ ? font_.get() : nullptr;
        if (const auto kept = fittedFonts_.find(charHeight); !font && kept != fittedFonts_.end())
            font = kept->second.get();
        if (!font) {
            own = createUnitFont(design_.font, charHeight);
            font = own.get();
        }
        const ScopedSelectObject select(dc, font);
        SIZE extent{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        return Size{extent.cx, extent.cy};
    };
    return fittedCharHeight(fit_, charHeight_, {box.cx, box.cy}, measure);
}

std::shared_ptr<const DrawnUnit::TextShape> DrawnUnit::shapeOf(HDC dc, const std::wstring& text, SIZE box) const {
    const auto setFor = std::make_tuple(fit_, charHeight_, box.cx, box.cy);
    if (setFor != setFor_ || shapes_.size() >= kMostShapedTexts) {
        shapes_.clear();
        setFor_ = setFor;
    }
    if (const auto found = shapes_.find(text); found != shapes_.end()) return found->second;
    // Shared with the layouts made from it, which may outlive the cache.
    std::shared_ptr<TextShape> made(new TextShape);
    TextShape& shape = *made;
    shape.charHeight = fittedHeight(dc, text, box);
    const ScopedSelectObject selectFont(dc, fontOfHeight(shape.charHeight));
    const int count = static_cast<int>(text.size());
    shape.ends.resize(text.size());
    GetTextExtentExPointW(dc, text.c_str(), count, 0, nullptr, shape.ends.data(), &shape.extent);
    // The glyphs' boxes, where this font draws every character itself.
    std::vector<WORD> glyphs(text.size());
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(dc, &metrics) &&
        GetGlyphIndicesW(dc, text.c_str(), count, glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS) == DWORD(count) &&
        std::ranges::find(glyphs, WORD{0xffff}) == glyphs.end()) {
        constexpr MAT2 kIdentity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
        for (std::size_t i = 0; i < glyphs.size(); ++i) {
            GLYPHMETRICS glyph{};
            if (GetGlyphOutlineW(dc, glyphs[i], GGO_METRICS | GGO_GLYPH_INDEX, &glyph, 0, nullptr, &kIdentity) ==
                GDI_ERROR) {
                shape.ink.clear();
                break;
            }
            const LONG x = (i > 0 ? shape.ends[i - 1] : 0) + glyph.gmptGlyphOrigin.x;
            const LONG y = metrics.tmAscent - glyph.gmptGlyphOrigin.y;
            shape.ink.push_back(
                {x, y, x + static_cast<LONG>(glyph.gmBlackBoxX), y + static_cast<LONG>(glyph.gmBlackBoxY)});
        }
    }
    return shapes_.emplace(text, std::move(made)).first->second;
}

int DrawnUnit::fillHeightOfAll(std::span<const std::string> lines) const {
    RECT area{};
    GetClientRect(hwnd_, &area);
    const ScopedGetDC dc(hwnd_);
    const auto measure = [&](int charHeight) {
        const ScopedFont font = createUnitFont(design_.font, charHeight);
        const ScopedSelectObject select(dc.get(), font.get());
        Size widest{};
        for (const std::string& line : lines) {
            const std::wstring wide = toWide(line);
            SIZE extent{};
            GetTextExtentPoint32W(dc.get(), wide.c_str(), static_cast<int>(wide.size()), &extent);
            widest = {std::max<int>(widest.width, extent.cx), std::max<int>(widest.height, extent.cy)};
        }
        return widest;
    };
    return fittedCharHeight(TextFit::Fill, charHeight_, {area.right, area.bottom}, measure);
}

bool DrawnUnit::registerClass(HINSTANCE instance) {
    return registerWindowClass(windowClass(instance, kDrawnUnitClass, kPaintedUnitClassStyle));
}

bool DrawnUnit::create(HINSTANCE instance, HWND parent) {
    if (design_.kind == UnitKind::PictureBox && design_.picture != 0) {
        const COLORREF back = backgroundColor();
        picture_ = std::make_unique<Picture>(instance, design_.picture,
                                             Color{GetRValue(back), GetGValue(back), GetBValue(back)});
    }
    DWORD style = baseStyle();
    // Shape and picture boxes hold units of their own.
    if (design_.kind == UnitKind::ShapeBox || design_.kind == UnitKind::PictureBox) style |= WS_CLIPCHILDREN;
    return createPainted(kDrawnUnitClass, style, instance, parent);
}

void DrawnUnit::setInterval(int milliseconds) {
    if (design_.kind != UnitKind::Timer || !hwnd_) return;
    if (milliseconds > 0)
        SetTimer(hwnd_, kTimerId, static_cast<UINT>(milliseconds), nullptr);
    else
        KillTimer(hwnd_, kTimerId);
}

std::optional<LRESULT> DrawnUnit::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    // Standard controls inside a shape or picture box notify and ask their colours here.
    if (const std::optional<LRESULT> result = host_.handleChildMessage(message, wParam, lParam)) return result;
    const UnitKind kind = design_.kind;
    switch (message) {
    case WM_LBUTTONDOWN:
        if (kind == UnitKind::Hyperlink) {
            // The handler may open a modal box while the button is still down; under Wine the
            // box then ignores the mouse unless the press's pointer grab is let go first.
            ReleaseCapture();
            host_.raise(*this, UnitEvent::LinkPressed);
            return 0;
        }
        if (kind == UnitKind::Label && design_.doubleClick && isDoubleClick()) {
            host_.raise(*this, UnitEvent::DoubleClicked);
            return 0;
        }
        if (kind == UnitKind::Label || kind == UnitKind::ShapeBox || kind == UnitKind::PictureBox) {
            host_.beginDrag();
            return 0;
        }
        return std::nullopt;
    case BM_CLICK: // lets automation press a hyperlink
        if (kind == UnitKind::Hyperlink) host_.raise(*this, UnitEvent::LinkPressed);
        return 0;
    case WM_MOUSEMOVE:
        if (kind == UnitKind::Hyperlink) onMouseMove();
        return 0;
    case WM_MOUSELEAVE:
        if (hot_) {
            hot_ = false;
            InvalidateRect(hwnd_, nullptr, FALSE);
        }
        return 0;
    case WM_SETCURSOR:
        if (kind == UnitKind::Hyperlink && LOWORD(lParam) == HTCLIENT) {
            SetCursor(LoadCursorW(nullptr, MAKEINTRESOURCEW(32649) /* IDC_HAND */));
            return TRUE;
        }
        return std::nullopt;
    case WM_TIMER:
        if (kind == UnitKind::Timer && wParam == kTimerId) host_.raise(*this, UnitEvent::Tick);
        if (kind == UnitKind::Label) repaint_.onTimer(hwnd_, wParam);
        return 0;
    case WM_SETTEXT:
        if (kind == UnitKind::Label) return setLabelText(wParam, lParam);
        return PaintedUnit::onMessage(message, wParam, lParam);
    default:
        return PaintedUnit::onMessage(message, wParam, lParam);
    }
}

void DrawnUnit::onMouseMove() {
    if (hot_) return;
    hot_ = true;
    trackMouseLeave();
    InvalidateRect(hwnd_, nullptr, FALSE);
}

bool DrawnUnit::paintsAtOnce() const {
    return design_.kind == UnitKind::Label || design_.kind == UnitKind::Hyperlink;
}

void DrawnUnit::paint(HDC dc, RECT area) const {
    if (!paintsAtOnce()) FillRect(dc, &area, backgroundBrush());
    switch (design_.kind) {
    case UnitKind::Label:
        paintLabel(dc, area, textColor());
        break;
    case UnitKind::Hyperlink:
        paintLabel(dc, area, hot_ ? toColorRef(design_.hoverColor) : textColor());
        break;
    case UnitKind::ShapeBox:
        paintShape(dc, area);
        break;
    case UnitKind::PictureBox:
        if (picture_) picture_->draw(dc, area.right, area.bottom, design_.pictureMode);
        break;
    default:
        break;
    }
}

DrawnUnit::LineLayout DrawnUnit::layOut(HDC dc, std::wstring text) const {
    std::erase_if(text, isLineBreak);
    LineLayout line;
    GetClientRect(hwnd_, &line.area);
    if (text.empty()) return line;
    const RECT& area = line.area;
    line.shape = shapeOf(dc, text, {area.right, area.bottom});
    const SIZE extent = line.shape->extent;
    line.left = design_.hAlign == HAlign::Center  ? (area.right - extent.cx) / 2
                : design_.hAlign == HAlign::Right ? area.right - extent.cx
                                                  : 0;
    line.top = design_.vAlign == VAlign::Center   ? (area.bottom - extent.cy) / 2
               : design_.vAlign == VAlign::Bottom ? area.bottom - extent.cy
                                                  : 0;
    line.text = std::move(text);
    return line;
}

bool DrawnUnit::LineLayout::addInk(HRGN region, std::size_t first, std::size_t last) const {
    if (first >= last || !shape) return true;
    bool added = true;
    const auto add = [&](RECT rect) {
        if (!IntersectRect(&rect, &rect, &area)) return;
        const ScopedRegion piece(CreateRectRgnIndirect(&rect));
        added = added && piece && CombineRgn(region, region, piece.get(), RGN_OR) != ERROR;
    };
    const int height = shape->extent.cy;
    if (shape->ink.empty()) {
        // Room for glyphs that reach past their advance (overhangs, wide CJK strokes).
        const std::vector<int>& ends = shape->ends;
        const LONG margin = height / 4 + 2;
        const LONG from = left + (first > 0 ? ends[first - 1] : 0), to = left + ends[last - 1];
        add({from - margin, top - margin, to + margin, top + height + margin});
        return added;
    }
    // Glyph by glyph: the gaps between them and the room above a short glyph stay as they are.
    // Smoothed edges and a bold made by the system may reach a little past each box.
    const LONG margin = height / 128 + 2;
    for (std::size_t i = first; i < last; ++i) {
        RECT glyph = shape->ink[i];
        InflateRect(&glyph, margin, margin);
        OffsetRect(&glyph, left, top);
        add(glyph);
    }
    return added;
}

LRESULT DrawnUnit::setLabelText(WPARAM wParam, LPARAM lParam) {
    const ScopedGetDC dc(hwnd_);
    const LineLayout before = layOut(dc.get(), windowText(hwnd_));
    const LRESULT result = DefWindowProcW(hwnd_, WM_SETTEXT, wParam, lParam);
    const LineLayout after = layOut(dc.get(), windowText(hwnd_));
    // The old ink to clear and the new ink to draw, and nothing around them.
    std::size_t first = 0, lastBefore = before.text.size(), lastAfter = after.text.size();
    if (before.shape && after.shape && before.charHeight() == after.charHeight() &&
        before.text.size() == after.text.size() && before.shape->ends == after.shape->ends &&
        before.left == after.left && before.top == after.top) {
        // Laid out alike (numbers of one length, mostly): only the characters that differ.
        while (first < lastAfter && before.text[first] == after.text[first])
            ++first;
        while (lastAfter > first && before.text[lastAfter - 1] == after.text[lastAfter - 1])
            --lastAfter;
        lastBefore = lastAfter;
    }
    // One region, one request: under Wine each invalidation is a call to its server.
    // Short of GDI objects, the whole label.
    const ScopedRegion dirty(CreateRectRgn(0, 0, 0, 0));
    const bool made =
        dirty && before.addInk(dirty.get(), first, lastBefore) && after.addInk(dirty.get(), first, lastAfter);
    if (!made || !repaint_.add(hwnd_, dirty.get())) InvalidateRect(hwnd_, nullptr, FALSE);
    return result;
}

void DrawnUnit::paintLabel(HDC dc, RECT area, COLORREF color) const {
    // One line: line breaks in a text (the number label's design text is CR LF) show as nothing.
    const LineLayout line = layOut(dc, windowText(hwnd_));
    const ScopedSelectObject selectFont(dc, line.shape ? fontOfHeight(line.charHeight()) : font_.get());
    SetBkMode(dc, TRANSPARENT);
    SetBkColor(dc, backgroundColor());
    SetTextColor(dc, color);
    // The background and the text in one call: a label repainted a hundred times a second
    // never shows its background without its text, with no copy through a bitmap.
    ExtTextOutW(dc, line.left, line.top, ETO_OPAQUE | ETO_CLIPPED, &area, line.text.c_str(),
                static_cast<UINT>(line.text.size()), nullptr);
}

void DrawnUnit::paintShape(HDC dc, RECT area) const {
    ScopedPen outline;
    if (design_.outline) outline.reset(CreatePen(PS_SOLID, 1, toColorRef(*design_.outline)));
    ScopedBrush fill;
    if (design_.fill) fill.reset(CreateSolidBrush(toColorRef(*design_.fill)));
    const ScopedSelectObject selectPen(dc, outline ? static_cast<HGDIOBJ>(outline.get()) : GetStockObject(NULL_PEN));
    const ScopedSelectObject selectBrush(dc, fill ? static_cast<HGDIOBJ>(fill.get()) : GetStockObject(HOLLOW_BRUSH));
    Rectangle(dc, area.left, area.top, area.right, area.bottom);
}

} // namespace tallyra::ui::win32
