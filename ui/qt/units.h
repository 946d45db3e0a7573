// The units of a window, each built from its row of the layout table. Labels,
// shape boxes, picture boxes and hyperlinks are widgets drawn by our own code
// (DrawnUnit); image buttons have a class of their own (image_button.h); edit
// boxes, combo boxes and radio boxes are Qt's standard widgets coloured by the
// design; timers are UnitTimers without a widget (unit_timer.h).
#pragma once

#include "ui/kit/layout.h"
#include "ui/qt/large_text.h"

#include <QFont>
#include <QHash>
#include <QImage>
#include <QPixmap>
#include <QRegion>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <string>
#include <string_view>

namespace tallyra::ui::qt {

class TopWindow;
class UnitTimer;

QString toQString(std::string_view utf8);
std::string toUtf8(const QString& text);
QColor toQColor(Color color);

struct Unit {
    const UnitDesign* design = nullptr;
    Rect rect;                  // relative to the parent unit or window, as the layouts count
    int charHeight = 0;         // pixels; 0 for kinds without text
    QWidget* widget = nullptr;  // owned by its parent widget; null for timers
    UnitTimer* timer = nullptr; // timers only; owned by the top window

    std::string_view name() const { return design->name; }
    UnitKind kind() const { return design->kind; }
};

// Creates the unit's widget (or timer) under parent, hidden or shown as the design says.
void createUnit(TopWindow& owner, Unit& unit, QWidget* parent);

std::string unitText(const Unit& unit);
void setUnitText(Unit& unit, std::string_view text);
void setUnitRect(Unit& unit, Rect rect);
void setUnitCharHeight(Unit& unit, int pixels);

// The design's font at a character height in pixels, in the face that draws it here.
QFont unitFont(const FontSpec& spec, int charHeight);

// Labels, shape boxes, picture boxes and hyperlinks.
class DrawnUnit : public QWidget {
public:
    DrawnUnit(TopWindow& owner, const Unit& unit, QWidget* parent);

    QString text() const { return text_; }
    void setText(const QString& text);
    // Labels: how the text fits the box.
    void setTextFit(TextFit fit);
    // Labels: the largest character height at which every one of the lines fits the box.
    int fillHeightOfAll(const QStringList& lines) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // What a text covers of the label, to repaint when it changes: its glyphs as placed
    // when drawn as large text, or else one area around it.
    struct Ink {
        int charHeight = 0; // of the font the text is drawn in
        QList<LargeTextPainter::PlacedGlyph> glyphs;
        QRect area;
    };
    const Ink& inkOf(const QString& text);
    Ink coveredInk(const QString& text);
    // What bounds the old ink to clear and the new ink to draw; a glyph in the same place
    // in both stays.
    QRect changedInk(const Ink& before, const Ink& after) const;
    int advanceOf(const QString& line) const;
    void paintText(QPainter& painter, const QRegion& dirty, const QColor& background);
    void paintShape(QPainter& painter);
    void paintPicture(QPainter& painter);

    TopWindow& owner_;
    const UnitDesign& design_;
    QString text_;
    bool hot_ = false; // hyperlinks: pointer over it
    TextFit fit_ = TextFit::None;
    // The font the line is drawn in: the unit's, or a fitted one.
    QFont fittedFont(const QString& line) const;
    struct FittedLine {
        int charHeight = 0;
        int advance = 0; // in the fitted font
    };
    // Worked out once per line: rolling shows the same names at every few frames.
    const FittedLine& fittedLine(const QString& line) const;
    // The design's font at a character height, kept: making one asks the font database.
    QFont fontAt(int charHeight) const;
    // Each line's fitted height for the box, font and fit it was worked out for.
    mutable QHash<QString, FittedLine> fittedLines_;
    mutable QHash<int, QFont> fonts_;
    mutable QSize fittedFor_;
    mutable int fittedFrom_ = 0;
    mutable TextFit fittedAs_ = TextFit::None;
    QImage picture_;
    QPixmap scaled_; // the picture at the size last drawn
    LargeTextPainter largeText_;
    // Each line's advance in the current font: the rolling display shows the same
    // few dozen names again and again, and shaping them is most of a tick's work.
    mutable QHash<QString, int> advances_;
    // The text whose ink was worked out last, in the box, size and fit it was for.
    struct InkOf {
        QString text;
        QSize size;
        int charHeight = 0;
        TextFit fit = TextFit::None;
    };
    InkOf inkOf_;
    Ink ink_;
};

} // namespace tallyra::ui::qt
