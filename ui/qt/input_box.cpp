#include "ui/qt/input_box.h"

#include "ui/qt/fonts.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace tallyra::ui::qt {
namespace {

// The box's face size in points and its places in dialog units (x in quarters of the
// face's average character width, y in eighths of its height), as on Windows.
constexpr int kFacePoints = 9;
constexpr QRect kBox(0, 0, 248, 78);
constexpr QRect kPrompt(7, 7, 176, 44);
constexpr QRect kOk(191, 7, 50, 14);
constexpr QRect kCancel(191, 25, 50, 14);
constexpr QRect kField(7, 58, 234, 13);

// A rectangle in dialog units in pixels of the font: each edge is converted on its own
// and rounded, so neighbouring units meet as they do on Windows.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font) {
        const QFontMetrics metrics(font);
        const int letters =
            metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        x_ = (letters / 26 + 1) / 2;
        y_ = metrics.height();
    }

    QRect toPixels(const QRect& units) const {
        const int left = scaled(units.left(), x_, 4);
        const int top = scaled(units.top(), y_, 8);
        return QRect(QPoint(left, top), QPoint(scaled(units.left() + units.width(), x_, 4) - 1,
                                               scaled(units.top() + units.height(), y_, 8) - 1));
    }

private:
    static int scaled(int value, int base, int parts) { return (value * base + parts / 2) / parts; }

    int x_ = 0;
    int y_ = 0;
};

} // namespace

InputBox::InputBox(const QString& prompt, const QString& title, const QString& proposed)
    : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                           Qt::WindowCloseButtonHint) {
    QFont face(chineseFace().isEmpty() ? font().family() : chineseFace());
    face.setPointSize(kFacePoints);
    setFont(face);
    const DialogUnits units(face);
    setWindowTitle(title);
    setFixedSize(units.toPixels(kBox).size());

    prompt_ = new QLabel(prompt, this);
    // Plain text that wraps within its place: the prompt is shown as written.
    prompt_->setTextFormat(Qt::PlainText);
    prompt_->setWordWrap(true);
    prompt_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    prompt_->setGeometry(units.toPixels(kPrompt));

    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setGeometry(units.toPixels(kOk));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* cancel = new QPushButton(QStringLiteral("取消"), this);
    cancel->setGeometry(units.toPixels(kCancel));
    cancel->setAutoDefault(false);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    field_ = new QLineEdit(proposed, this);
    field_->selectAll();
    field_->setGeometry(units.toPixels(kField));
    field_->setFocus();
    setWindowModality(Qt::ApplicationModal);
}

QString InputBox::text() const {
    return field_->text();
}

} // namespace tallyra::ui::qt
