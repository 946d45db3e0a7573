#include "ui/qt/large_text.h"

#include <QPainter>
#include <QRect>
#include <QRegion>
#include <QVarLengthArray>

#include <algorithm>
#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

namespace tallyra::ui::qt {
namespace {

// Glyphs up to this size (the window's) are kept in colour, the quickest to draw;
// larger ones (full screen's) in black as their alpha alone.
constexpr qreal kLargestColourGlyphSize = 200;
// Past these a cache starts afresh.
constexpr qsizetype kMostLines = 600;
constexpr qsizetype kMostFaces = 8;

} // namespace

void LargeTextPainter::forgetFaces() {
    faces_.clear();
    face_ = nullptr;
    selected_ = QFont();
    glyphBytes_ = 0;
}

void LargeTextPainter::select(const QFont& font, const QColor& colour) {
    if (colour != colour_) forgetFaces(); // the glyph images are in the text colour
    colour_ = colour;
    // A display draws and measures in the same font many times a frame; its key is
    // a string put together at every call.
    if (face_ && font == selected_) return;
    selected_ = font;
    const QString key = font.key();
    if (auto found = faces_.find(key); found != faces_.end()) {
        face_ = &*found;
        return;
    }
    if (faces_.size() >= kMostFaces) forgetFaces();
    face_ = &faces_[key];
    face_->raw = QRawFont::fromFont(font);
}

const LargeTextPainter::Line& LargeTextPainter::line(const QString& text) {
    auto& lines = face_->lines;
    if (const auto known = lines.constFind(text); known != lines.constEnd()) return *known;
    if (lines.size() >= kMostLines) lines.clear();
    Line& made = lines[text];
    made.glyphs = face_->raw.glyphIndexesForString(text);
    made.advances = face_->raw.advancesForGlyphIndexes(made.glyphs, QRawFont::KernedAdvances);
    for (const QPointF& advance : made.advances)
        made.width += advance.x();
    return made;
}

const LargeTextPainter::Glyph& LargeTextPainter::glyph(quint32 index) {
    auto& glyphs = face_->glyphs;
    if (const auto found = glyphs.find(index); found != glyphs.end()) {
        found->second.used = ++clock_;
        return found->second;
    }
    Glyph& made = glyphs[index];
    made.used = ++clock_;
    const QRawFont& raw = face_->raw;
    // 8-bit coverage, whatever format the font engine hands out.
    const QImage coverage =
        raw.alphaMapForGlyph(index, QRawFont::PixelAntialiasing).convertToFormat(QImage::Format_Alpha8);
    const QRectF bounds = raw.boundingRect(index);
    made.offset = QPoint(static_cast<int>(std::floor(bounds.left())), static_cast<int>(std::floor(bounds.top())));
    if (colour_ == Qt::black && raw.pixelSize() > kLargestColourGlyphSize) {
        // Qt draws an alpha-only image as black of that alpha: the same pixels from a
        // quarter of the memory (the display's text is black), drawn a little slower.
        made.image = coverage;
    } else {
        // The coverage as the text colour's alpha: drawn, it blends like Qt's own glyphs.
        made.image = QImage(coverage.size(), QImage::Format_ARGB32_Premultiplied);
        const QRgb colour = colour_.rgb();
        for (int y = 0; y < coverage.height(); ++y) {
            const uchar* in = coverage.constScanLine(y);
            auto* out = reinterpret_cast<QRgb*>(made.image.scanLine(y));
            for (int x = 0; x < coverage.width(); ++x)
                out[x] = qPremultiply(qRgba(qRed(colour), qGreen(colour), qBlue(colour), in[x]));
        }
    }
    glyphBytes_ += made.image.sizeInBytes();
    if (glyphBytes_ > kMostLargeGlyphBytes) trimGlyphs(); // the newest glyph, this one, stays
    return made;
}

void LargeTextPainter::trimGlyphs() {
    std::vector<std::tuple<quint64, Face*, quint32>> byAge;
    for (Face& face : faces_)
        for (const auto& [index, kept] : face.glyphs)
            byAge.emplace_back(kept.used, &face, index);
    std::sort(byAge.begin(), byAge.end());
    for (const auto& [used, face, index] : byAge) {
        if (glyphBytes_ <= kMostLargeGlyphBytes / 4 * 3) break;
        const auto found = face->glyphs.find(index);
        glyphBytes_ -= found->second.image.sizeInBytes();
        face->glyphs.erase(found);
    }
}

template <typename Place>
bool LargeTextPainter::placeGlyphs(const QFont& font, const QColor& colour, const QRect& box, Qt::Alignment alignment,
                                   const QString& text, Place place) {
    select(font, colour);
    const QRawFont& raw = face_->raw;
    if (!raw.isValid()) return false;
    const Line& laidOut = line(text);
    const QList<quint32>& indexes = laidOut.glyphs;
    if (indexes.isEmpty() || indexes.contains(0)) return false;
    const QList<QPointF>& advances = laidOut.advances;
    const qreal width = laidOut.width;
    qreal x = box.left();
    if (alignment & Qt::AlignHCenter) x += (box.width() - width) / 2;
    if (alignment & Qt::AlignRight) x += box.width() - width;
    const qreal lineHeight = raw.ascent() + raw.descent();
    qreal baseline = box.top() + raw.ascent();
    if (alignment & Qt::AlignVCenter) baseline += (box.height() - lineHeight) / 2;
    if (alignment & Qt::AlignBottom) baseline += box.height() - lineHeight;
    for (qsizetype i = 0; i < indexes.size(); ++i) {
        const Glyph& shape = glyph(indexes[i]);
        place(QPoint(static_cast<int>(std::lround(x)) + shape.offset.x(),
                     static_cast<int>(std::lround(baseline)) + shape.offset.y()),
              indexes[i], shape);
        x += advances[i].x();
    }
    return true;
}

QVarLengthArray<QRect, 32> rowBands(const QRegion& region) {
    QVarLengthArray<QRect, 32> bands;
    for (const QRect& area : region)
        for (int top = area.top(); top <= area.bottom(); top += kBandRows)
            bands.append(QRect(area.left(), top, area.width(), std::min(kBandRows, area.bottom() + 1 - top)));
    return bands;
}

bool LargeTextPainter::draw(QPainter& painter, const QFont& font, const QColor& colour, const QRect& box,
                            Qt::Alignment alignment, const QString& text) {
    return paint(painter, font, colour, box, alignment, text, QRegion(box), std::nullopt);
}

bool LargeTextPainter::paint(QPainter& painter, const QFont& font, const QColor& colour, const QRect& box,
                             Qt::Alignment alignment, const QString& text, const QRegion& dirty,
                             const std::optional<QColor>& background) {
    // The images are held here: making one glyph may drop another from the cache.
    QVarLengthArray<std::pair<QRect, QImage>, 16> images;
    if (!placeGlyphs(font, colour, box, alignment, text, [&](QPoint at, quint32, const Glyph& shape) {
            images.append({QRect(at, shape.image.size()), shape.image});
        }))
        return false;
    for (const QRect& band : rowBands(dirty)) {
        if (background) painter.fillRect(band, *background);
        // The part of each image that falls within: no clipping for the painter to do.
        const QRect within = band & box;
        for (const auto& [at, image] : images)
            if (const QRect piece = at & within; !piece.isEmpty())
                painter.drawImage(piece.topLeft(), image, piece.translated(-at.topLeft()));
    }
    return true;
}

QList<LargeTextPainter::PlacedGlyph> LargeTextPainter::placed(const QFont& font, const QColor& colour, const QRect& box,
                                                              Qt::Alignment alignment, const QString& text) {
    QList<PlacedGlyph> glyphs;
    if (!placeGlyphs(font, colour, box, alignment, text, [&](QPoint at, quint32 index, const Glyph& shape) {
            glyphs.append({index, QRect(at, shape.image.size())});
        }))
        return {};
    return glyphs;
}

} // namespace tallyra::ui::qt
