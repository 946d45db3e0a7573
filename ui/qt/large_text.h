// Single-line text in large fonts, drawn from glyph images kept between paints.
// Qt rasterises glyphs above 64 pixels from their outlines at every paint; the main
// window's display repaints its 133- and 107-pixel number and name a hundred times
// a second while rolling, so those glyphs are rasterised once and reused.
#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QList>
#include <QPoint>
#include <QPointF>
#include <QRawFont>
#include <QString>

#include <unordered_map>

class QPainter;
class QRect;

namespace tallyra::ui::qt {

// Qt's own glyph cache serves fonts up to this pixel size.
inline constexpr int kLargestCachedGlyphSize = 64;

class LargeTextPainter {
public:
    // Draws text on one line within box, aligned; false (nothing drawn) when the font
    // lacks a glyph of it, so the caller draws it the ordinary way with font fallback.
    bool draw(QPainter& painter, const QFont& font, const QColor& colour, const QRect& box, Qt::Alignment alignment,
              const QString& text);

private:
    struct Glyph {
        QImage image;  // the glyph in the text colour, premultiplied
        QPoint offset; // from the pen position on the baseline to the image's top left
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
    // The line's glyphs and advances, laid out once per text: the rolling display
    // shows the same names again and again.
    const Line& line(const QString& text);
    void select(const QFont& font, const QColor& colour);

    QColor colour_;
    QHash<QString, Face> faces_; // by QFont::key()
    Face* face_ = nullptr;
};

} // namespace tallyra::ui::qt
