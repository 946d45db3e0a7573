#include "ui/qt/units.h"

#include "ui/kit/picture_fit.h"
#include "ui/kit/text_fit.h"
#include "ui/qt/fonts.h"
#include "ui/qt/image_button.h"
#include "ui/qt/pictures.h"
#include "ui/qt/top_window.h"
#include "ui/qt/unit_timer.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFontMetrics>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QTextDocument>

#include <utility>

namespace tallyra::ui::qt {
namespace {

// The dropped list of a combo box is at least this high.
constexpr int kDroppedListHeight = 160;

// Lines whose advance a label remembers: the names of a few large classes.
constexpr qsizetype kMostRememberedLines = 600;
// Fonts a label keeps by character height: those its fitting steps through.
constexpr qsizetype kMostKeptFonts = 64;

Qt::Alignment alignmentOf(const UnitDesign& design) {
    Qt::Alignment flags = design.hAlign == HAlign::Center  ? Qt::AlignHCenter
                          : design.hAlign == HAlign::Right ? Qt::AlignRight
                                                           : Qt::AlignLeft;
    flags |= design.vAlign == VAlign::Center   ? Qt::AlignVCenter
             : design.vAlign == VAlign::Bottom ? Qt::AlignBottom
                                               : Qt::AlignTop;
    return flags;
}

// A drop-down list is as high as its font needs, whatever its layout says, as on Windows:
// the font's line height, two pixels of space above and below it and a two-pixel edge.
int comboBoxHeight(const QFont& font) {
    return QFontMetrics(font).height() + 8;
}

void placeWidget(const Unit& unit) {
    const Rect& at = unit.rect;
    const int height = unit.kind() == UnitKind::ComboBox ? comboBoxHeight(unit.widget->font()) : at.height;
    unit.widget->setGeometry(at.left, at.top, at.width, height);
}

// Standard widgets take the design's colours through their palette.
void colourStandardWidget(QWidget& widget, const UnitDesign& design) {
    QPalette palette = widget.palette();
    const QColor text = toQColor(design.textColor);
    const QColor background = design.background ? toQColor(*design.background) : palette.color(QPalette::Button);
    for (QPalette::ColorRole role : {QPalette::Text, QPalette::WindowText, QPalette::ButtonText})
        palette.setColor(role, text);
    for (QPalette::ColorRole role : {QPalette::Base, QPalette::Window, QPalette::Button})
        palette.setColor(role, background);
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

void keepSystemColours(QWidget& widget) {
    const QPalette system = QApplication::palette(&widget);
    QPalette own; // every colour set, so that nothing comes from the coloured parent
    for (int group = 0; group < QPalette::NColorGroups; ++group)
        for (int role = 0; role < QPalette::NColorRoles; ++role) {
            const auto colourGroup = static_cast<QPalette::ColorGroup>(group);
            const auto colourRole = static_cast<QPalette::ColorRole>(role);
            own.setBrush(colourGroup, colourRole, system.brush(colourGroup, colourRole));
        }
    widget.setPalette(own);
}

// As a Windows edit box: the scroll bar always there, the text two pixels from the left
// edge and at the top.
class MultiLineEdit : public QPlainTextEdit {
public:
    explicit MultiLineEdit(QWidget* parent) : QPlainTextEdit(parent) {
        setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        document()->setDocumentMargin(0);
        setViewportMargins(2, 0, 0, 0);
    }
};

// As a Windows drop-down list: while it has the focus, its text shows selected.
class DropDownList : public QComboBox {
public:
    using QComboBox::QComboBox;

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter painter(this);
        QStyleOptionComboBox option;
        initStyleOption(&option);
        painter.drawComplexControl(QStyle::CC_ComboBox, option);
        if (hasFocus() && currentIndex() >= 0) {
            const QRect field =
                style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
            painter.fillRect(field, palette().color(QPalette::Highlight));
            option.palette.setColor(QPalette::ButtonText, palette().color(QPalette::HighlightedText));
        }
        painter.drawControl(QStyle::CE_ComboBoxLabel, option);
    }
};

// Multi-line edit boxes speak CR LF to the handlers, as on Windows; Qt's text uses LF.
QString fromHandlerLines(QString text) {
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
QString toHandlerLines(QString text) {
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QWidget* createStandardWidget(TopWindow& owner, const Unit& unit, QWidget* parent) {
    const UnitDesign& design = *unit.design;
    const std::string_view name = design.name;
    QWidget* widget = nullptr;
    switch (design.kind) {
    case UnitKind::EditBox:
        if (design.multiLine) {
            auto* edit = new MultiLineEdit(parent);
            edit->setFrameShape(QFrame::NoFrame);
            edit->setReadOnly(design.readOnly);
            edit->setPlainText(fromHandlerLines(toQString(design.text)));
            widget = edit;
        } else {
            auto* edit = new QLineEdit(toQString(design.text), parent);
            edit->setFrame(false);
            // The text sits at the top of the box, as a Windows edit box puts it.
            edit->setAlignment(Qt::AlignLeft | Qt::AlignTop);
            edit->setReadOnly(design.readOnly);
            widget = edit;
        }
        break;
    case UnitKind::ComboBox: {
        auto* combo = new DropDownList(parent);
        combo->setEditable(false);
        combo->view()->setMinimumHeight(kDroppedListHeight);
        // activated comes from the user only (the list or the keyboard), also for the item
        // already selected; code that sets the index raises nothing.
        QObject::connect(combo, &QComboBox::activated, combo,
                         [&owner, name](int) { owner.notify(name, UnitEvent::ItemChosen); });
        widget = combo;
        break;
    }
    case UnitKind::RadioBox: {
        auto* radio = new QRadioButton(toQString(design.text), parent);
        // The group is kept by checkRadio, so that code may also uncheck every box.
        radio->setAutoExclusive(false);
        QObject::connect(radio, &QRadioButton::clicked, radio, [&owner, name](bool) {
            if (Unit* self = owner.find(name)) owner.checkRadio(*self, true);
            owner.notify(name, UnitEvent::Clicked);
        });
        widget = radio;
        break;
    }
    case UnitKind::CheckList: {
        auto* list = new QListWidget(parent);
        list->setSelectionMode(QAbstractItemView::NoSelection);
        // A click anywhere on a row ticks its box, as on Windows with a full-row list;
        // the items are not user-checkable themselves, so the box never toggles twice.
        QObject::connect(list, &QListWidget::itemClicked, list, [](QListWidgetItem* item) {
            item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
        });
        widget = list;
        break;
    }
    default:
        return nullptr;
    }
    colourStandardWidget(*widget, design);
    // The scroll bar keeps the system's colours: in the unit's it would be white on white.
    if (auto* edit = qobject_cast<QPlainTextEdit*>(widget)) keepSystemColours(*edit->verticalScrollBar());
    widget->setFocusPolicy(design.tabStop ? Qt::StrongFocus : Qt::ClickFocus);
    return widget;
}

} // namespace

QString toQString(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string toUtf8(const QString& text) {
    return text.toUtf8().toStdString();
}

QColor toQColor(Color color) {
    return QColor(color.red, color.green, color.blue);
}

QFont unitFont(const FontSpec& spec, int charHeight) {
    QFont font(resolvedFace(spec.face));
    // A pixel size is the character height without internal leading, as on Windows.
    font.setPixelSize(charHeight > 0 ? charHeight : 1);
    font.setWeight(static_cast<QFont::Weight>(spec.weight));
    return font;
}

void createUnit(TopWindow& owner, Unit& unit, QWidget* parent) {
    const UnitDesign& design = *unit.design;
    unit.rect = design.rect;
    if (design.kind == UnitKind::Timer) {
        const std::string_view name = design.name;
        unit.timer = new UnitTimer([&owner, name] { owner.notify(name, UnitEvent::Tick); }, &owner);
        unit.timer->start(design.interval);
        return;
    }
    if (design.kind == UnitKind::ImageButton) {
        unit.widget = new ImageButton(owner, design, parent);
    } else if (QWidget* standard = createStandardWidget(owner, unit, parent)) {
        unit.widget = standard;
    } else {
        unit.widget = new DrawnUnit(owner, unit, parent);
    }
    if (hasText(design.kind)) {
        unit.charHeight = design.font.charHeight;
        unit.widget->setFont(unitFont(design.font, unit.charHeight));
    }
    unit.widget->setObjectName(toQString(design.name));
    placeWidget(unit);
    unit.widget->setVisible(design.visible);
    // Units listed later lie on top of earlier ones where they overlap.
    unit.widget->raise();
}

std::string unitText(const Unit& unit) {
    QWidget* widget = unit.widget;
    if (!widget) return {};
    switch (unit.kind()) {
    case UnitKind::ImageButton:
        return toUtf8(static_cast<ImageButton*>(widget)->caption());
    case UnitKind::EditBox:
        if (unit.design->multiLine) return toUtf8(toHandlerLines(static_cast<QPlainTextEdit*>(widget)->toPlainText()));
        return toUtf8(static_cast<QLineEdit*>(widget)->text());
    case UnitKind::ComboBox:
        return toUtf8(static_cast<QComboBox*>(widget)->currentText());
    case UnitKind::RadioBox:
        return toUtf8(static_cast<QRadioButton*>(widget)->text());
    case UnitKind::CheckList:
        return {};
    default:
        return toUtf8(static_cast<DrawnUnit*>(widget)->text());
    }
}

void setUnitText(Unit& unit, std::string_view text) {
    QWidget* widget = unit.widget;
    if (!widget) return;
    const QString value = toQString(text);
    switch (unit.kind()) {
    case UnitKind::ImageButton:
        static_cast<ImageButton*>(widget)->setCaption(value);
        break;
    case UnitKind::EditBox:
        if (unit.design->multiLine)
            static_cast<QPlainTextEdit*>(widget)->setPlainText(fromHandlerLines(value));
        else
            static_cast<QLineEdit*>(widget)->setText(value);
        break;
    case UnitKind::ComboBox:
    case UnitKind::CheckList:
        break; // a combo box's text is its selected item; a check list has none
    case UnitKind::RadioBox:
        static_cast<QRadioButton*>(widget)->setText(value);
        break;
    default:
        static_cast<DrawnUnit*>(widget)->setText(value);
        break;
    }
}

void setUnitRect(Unit& unit, Rect rect) {
    unit.rect = rect;
    if (unit.widget) placeWidget(unit);
}

void setUnitCharHeight(Unit& unit, int pixels) {
    if (!unit.widget || !hasText(unit.kind()) || pixels == unit.charHeight) return;
    unit.charHeight = pixels;
    unit.widget->setFont(unitFont(unit.design->font, pixels));
    if (unit.kind() == UnitKind::ComboBox) placeWidget(unit);
    unit.widget->update();
}

// ---------------------------------------------------------------------------------------------
// DrawnUnit

DrawnUnit::DrawnUnit(TopWindow& owner, const Unit& unit, QWidget* parent)
    : QWidget(parent), owner_(owner), design_(*unit.design), text_(toQString(unit.design->text)), fit_(design_.fit) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (design_.kind == UnitKind::Hyperlink) {
        setCursor(Qt::PointingHandCursor);
        setAttribute(Qt::WA_Hover);
    }
    if (design_.kind == UnitKind::PictureBox && design_.picture != 0)
        picture_ = loadPicture(design_.picture).convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void DrawnUnit::setTextFit(TextFit fit) {
    if (fit == fit_) return;
    fit_ = fit;
    update();
}

int DrawnUnit::fillHeightOfAll(const QStringList& lines) const {
    const auto measure = [&](int charHeight) {
        const QFontMetrics metrics(unitFont(design_.font, charHeight));
        Size widest{0, metrics.height()};
        for (const QString& line : lines)
            widest.width = std::max(widest.width, metrics.horizontalAdvance(line));
        return widest;
    };
    return fittedCharHeight(TextFit::Fill, font().pixelSize(), {width(), height()}, measure);
}

QFont DrawnUnit::fontAt(int charHeight) const {
    if (charHeight == font().pixelSize()) return font();
    auto known = fonts_.constFind(charHeight);
    if (known == fonts_.constEnd()) {
        if (fonts_.size() >= kMostKeptFonts) fonts_.clear();
        known = fonts_.insert(charHeight, unitFont(design_.font, charHeight));
    }
    return *known;
}

const DrawnUnit::FittedLine& DrawnUnit::fittedLine(const QString& line) const {
    const int own = font().pixelSize();
    if (fittedFor_ != size() || fittedFrom_ != own || fittedAs_ != fit_ ||
        fittedLines_.size() >= kMostRememberedLines) {
        fittedLines_.clear();
        fittedFor_ = size();
        fittedFrom_ = own;
        fittedAs_ = fit_;
    }
    if (const auto known = fittedLines_.constFind(line); known != fittedLines_.constEnd()) return *known;
    const auto measure = [&](int charHeight) {
        if (charHeight == own) return Size{advanceOf(line), fontMetrics().height()};
        const QFontMetrics metrics(fontAt(charHeight));
        return Size{metrics.horizontalAdvance(line), metrics.height()};
    };
    FittedLine fitted;
    fitted.charHeight = fittedCharHeight(fit_, own, {width(), this->height()}, measure);
    fitted.advance = measure(fitted.charHeight).width;
    return *fittedLines_.insert(line, fitted);
}

QFont DrawnUnit::fittedFont(const QString& line) const {
    if (fit_ == TextFit::None) return font();
    return fontAt(fittedLine(line).charHeight);
}

void DrawnUnit::setText(const QString& text) {
    if (text == text_) return;
    if (design_.kind != UnitKind::Label) {
        text_ = text;
        update();
        return;
    }
    // A label repaints only what its old and new text cover: the rolling display changes
    // at every frame, and most of it is background.
    const Ink before = inkOf(text_);
    text_ = text;
    update(changedInk(before, inkOf(text_)));
}

const DrawnUnit::Ink& DrawnUnit::inkOf(const QString& text) {
    // The text set last is asked for again at the next change, as the old one.
    const InkOf now{text, size(), font().pixelSize(), fit_};
    if (now.text != inkOf_.text || now.size != inkOf_.size || now.charHeight != inkOf_.charHeight ||
        now.fit != inkOf_.fit) {
        inkOf_ = now;
        ink_ = coveredInk(text);
    }
    return ink_;
}

DrawnUnit::Ink DrawnUnit::coveredInk(const QString& text) {
    QString line = text;
    line.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    if (line.isEmpty()) return {};
    Ink ink;
    const QFont drawn = fittedFont(line);
    ink.charHeight = drawn.pixelSize();
    // Large text covers its glyph images: in full screen they are a part of the box.
    if (ink.charHeight > kLargestCachedGlyphSize) {
        ink.glyphs = largeText_.placed(drawn, toQColor(design_.textColor), rect(), alignmentOf(design_), line);
        if (!ink.glyphs.isEmpty()) return ink;
    }
    // Filling its box, a text comes in a size of its own; shrunk, it is never wider than
    // in the label's font.
    const bool filling = fit_ == TextFit::Fill;
    const int charHeight = filling ? fittedLine(line).charHeight : font().pixelSize();
    // Room for glyphs that reach past their advance (italic overhangs, wide CJK strokes).
    const int margin = charHeight / 4 + 2;
    const int width = (filling ? fittedLine(line).advance : advanceOf(line)) + 2 * margin;
    int left = -margin;
    if (design_.hAlign == HAlign::Center) left = (this->width() - width) / 2;
    if (design_.hAlign == HAlign::Right) left = this->width() - width + margin;
    ink.area = QRect(left, 0, width, height()).intersected(rect());
    return ink;
}

QRect DrawnUnit::changedInk(const Ink& before, const Ink& after) const {
    QRect changed = before.area | after.area;
    // A glyph drawn in the same font and place before and after is already on the screen
    // (numbers of one length, mostly). One rectangle: Qt paints and flushes a region of
    // several rectangles a rectangle at a time, each clipped, at a greater cost than the
    // few pixels it saves.
    const bool alike = before.charHeight == after.charHeight;
    for (const auto& [ink, other] : {std::pair{&before, &after}, std::pair{&after, &before}})
        for (qsizetype i = 0; i < ink->glyphs.size(); ++i)
            if (!alike || i >= other->glyphs.size() || ink->glyphs[i] != other->glyphs[i])
                changed |= ink->glyphs[i].ink;
    return changed & rect();
}

int DrawnUnit::advanceOf(const QString& line) const {
    if (const auto known = advances_.constFind(line); known != advances_.constEnd()) return *known;
    if (advances_.size() >= kMostRememberedLines) advances_.clear();
    return advances_[line] = fontMetrics().horizontalAdvance(line);
}

void DrawnUnit::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) advances_.clear();
    QWidget::changeEvent(event);
}

void DrawnUnit::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QColor background = design_.background ? toQColor(*design_.background) : palette().color(QPalette::Button);
    if (design_.kind == UnitKind::Label || design_.kind == UnitKind::Hyperlink) {
        paintText(painter, event->region(), background);
        return;
    }
    for (const QRect& band : rowBands(event->region()))
        painter.fillRect(band, background);
    if (design_.kind == UnitKind::ShapeBox) paintShape(painter);
    if (design_.kind == UnitKind::PictureBox) paintPicture(painter);
}

void DrawnUnit::paintText(QPainter& painter, const QRegion& dirty, const QColor& background) {
    QString line = text_;
    // One line: line breaks in a text (the number label's design text is CR LF) show as nothing.
    line.remove(QLatin1Char('\r')).remove(QLatin1Char('\n'));
    const QColor colour =
        toQColor(design_.kind == UnitKind::Hyperlink && hot_ ? design_.hoverColor : design_.textColor);
    const QFont drawn = line.isEmpty() ? font() : fittedFont(line);
    if (!line.isEmpty() && drawn.pixelSize() > kLargestCachedGlyphSize &&
        largeText_.paint(painter, drawn, colour, rect(), alignmentOf(design_), line, dirty, background))
        return;
    // Empty, small, or with a character the font lacks (drawn with font fallback).
    for (const QRect& band : rowBands(dirty))
        painter.fillRect(band, background);
    if (line.isEmpty()) return;
    painter.setPen(colour);
    painter.setFont(drawn);
    painter.drawText(rect(), static_cast<int>(alignmentOf(design_)) | Qt::TextSingleLine, line);
}

void DrawnUnit::paintShape(QPainter& painter) {
    if (design_.fill) painter.fillRect(rect(), toQColor(*design_.fill));
    if (design_.outline) {
        painter.setPen(QPen(toQColor(*design_.outline), 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

void DrawnUnit::paintPicture(QPainter& painter) {
    if (picture_.isNull()) return;
    const Rect placed = placePicture(static_cast<PictureMode>(design_.pictureMode), width(), height(), picture_.width(),
                                     picture_.height());
    if (placed.width <= 0 || placed.height <= 0) return;
    if (!isScaled(placed, picture_.width(), picture_.height())) {
        painter.drawImage(placed.left, placed.top, picture_);
        return;
    }
    // Smooth scaling averages pixels, as the halftone mode does on Windows; kept for the next paint.
    if (scaled_.width() != placed.width || scaled_.height() != placed.height)
        scaled_ = QPixmap::fromImage(
            picture_.scaled(placed.width, placed.height, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    painter.drawPixmap(placed.left, placed.top, scaled_);
}

void DrawnUnit::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    if (design_.kind == UnitKind::Hyperlink) {
        owner_.notify(design_.name, UnitEvent::LinkPressed);
        return; // nothing after this: the handler may have destroyed the window
    }
    owner_.beginDrag(event->globalPosition().toPoint());
}

void DrawnUnit::mouseDoubleClickEvent(QMouseEvent* event) {
    // Qt gives a quick second press as a double click: elsewhere it is a press again.
    if (design_.kind == UnitKind::Label && design_.doubleClick) {
        if (event->button() == Qt::LeftButton) owner_.notify(design_.name, UnitEvent::DoubleClicked);
        return;
    }
    mousePressEvent(event);
}

void DrawnUnit::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton) owner_.dragTo(event->globalPosition().toPoint());
}

void DrawnUnit::mouseReleaseEvent(QMouseEvent*) {
    owner_.endDrag();
}

void DrawnUnit::enterEvent(QEnterEvent*) {
    if (design_.kind != UnitKind::Hyperlink) return;
    hot_ = true;
    update();
}

void DrawnUnit::leaveEvent(QEvent*) {
    if (!hot_) return;
    hot_ = false;
    update();
}

} // namespace tallyra::ui::qt
