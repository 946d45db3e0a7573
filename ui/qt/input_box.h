// The input box: a prompt at the top left, 确定 and 取消 stacked at the right and a
// one-line field across the bottom, laid out in dialog units of a 9-point face as the
// Windows program's input box is, so it has the same size and places on both systems.
#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;

namespace tallyra::ui::qt {

class InputBox : public QDialog {
public:
    InputBox(const QString& prompt, const QString& title, const QString& proposed = {});

    QString text() const;

private:
    QLabel* prompt_;
    QLineEdit* field_;
};

} // namespace tallyra::ui::qt
