// Single-line text in large fonts, drawn from glyph images kept between paints.
// Qt rasterises glyphs above 64 pixels from their outlines at every paint; the main
// window's display repaints its 133- and 107-pixel number and name a hundred times
// a second while rolling, so those glyphs are rasterised once and reused. In full
// screen a glyph is up to half a megabyte: the images kept are bounded in bytes, and
// those drawn longest ago go first.
#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QRawFont>
#include <QRect>
#include <QRegion>
#include <QString>
#include <QVarLengthArray>

#include <optional>
#include <unordered_map>

class QPainter;

namespace tallyra::ui::qt {

// Qt's own glyph cache serves fonts up to this pixel size.
inline constexpr int kLargestCachedGlyphSize = 64;
// What a painter's glyph images may take: every digit and the names of a large class
// in the window, the names of a class in full screen (a 350-pixel glyph takes about
// 120 KB in black, 0.5 MB in colour). Past it the glyphs drawn longest ago go, down to
// three quarters of it.
inline constexpr qint64 kMostLargeGlyphBytes = 12 * 1024 * 1024;

class LargeTextPainter {
public:
    // Draws text on one line within box, aligned; false (nothing drawn) when the font
    // lacks a glyph of it, so the caller draws it the ordinary way with font fallback.
    bool draw(QPainter& painter, const QFont& font, const QColor& colour, const QRect& box, Qt::Alignment alignment,
              const QString& text);
    // As draw(), the dirty part alone of the painter: each band of rows filled with the
    // background, if one is given, then the glyphs that reach into it.
    bool paint(QPainter& painter, const QFont& font, const QColor& colour, const QRect& box, Qt::Alignment alignment,
               const QString& text, const QRegion& dirty, const std::optional<QColor>& background);
    // A glyph as draw() places it: which one, and the pixels its image covers.
    struct PlacedGlyph {
        quint32 index = 0;
        QRect ink; // not clipped to the box
        friend bool operator==(const PlacedGlyph&, const PlacedGlyph&) = default;
    };
    // The glyphs draw() would place, or none when it would not draw the text. A display
    // repaints only the glyphs that differ between its old and its new text.
    QList<PlacedGlyph> placed(const QFont& font, const QColor& colour, const QRect& box, Qt::Alignment alignment,
                              const QString& text);
    // The bytes its glyph images take.
    qint64 keptBytes() const { return glyphBytes_; }

private:
    struct Glyph {
        QImage image;     // the glyph in the text colour, premultiplied, or its alpha alone for black
        QPoint offset;    // from the pen position on the baseline to the image's top left
        quint64 used = 0; // when it was last drawn, on the painter's clock
    };
    struct Line {
        QList<quint32> glyphs;
        QList<QPointF> advances;
        qreal width = 0;
    };
    // One font's glyphs and lines. A display that fits each text to its box draws
    // in a few sizes by turns, so a few faces are kept.
    struct Face {
        QRawFont raw;
        std::unordered_map<quint32, Glyph> glyphs;
        QHash<QString, Line> lines;
    };
    const Glyph& glyph(quint32 index);
    // Drops the glyphs drawn longest ago until the images fit well within their bound.
    void trimGlyphs();
    void forgetFaces();
    // The line's glyphs and advances, laid out once per text: the rolling display
    // shows the same names again and again.
    const Line& line(const QString& text);
    void select(const QFont& font, const QColor& colour);
    // Calls place(top left, glyph index, glyph) for each glyph of text as draw() places it; false
    // when the text is not drawn here.
    template <typename Place>
    bool placeGlyphs(const QFont& font, const QColor& colour, const QRect& box, Qt::Alignment alignment,
                     const QString& text, Place place);

    QColor colour_;
    QHash<QString, Face> faces_; // by QFont::key()
    Face* face_ = nullptr;
    QFont selected_;        // face_'s font
    qint64 glyphBytes_ = 0; // of every face's glyph images
    quint64 clock_ = 0;
};

// Qt's raster engine hands a fill or an image of more than about a hundred rows to its
// thread pool and waits for it: thirty times a second, the hand-overs cost more than the
// pixels. Painted a band of rows at a time, a band's pixels also stay in the cache.
inline constexpr int kBandRows = 64;
QVarLengthArray<QRect, 32> rowBands(const QRegion& region);

} // namespace tallyra::ui::qt
