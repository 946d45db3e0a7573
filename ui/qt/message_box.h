// The message box: Qt's own, whose long texts wrap at the width a Windows message box
// wraps them at instead of Qt's 500 pixels, so that no box is wider than the program's
// windows.
#pragma once

#include <QMessageBox>

namespace tallyra::ui::qt {

class MessageBox : public QMessageBox {
public:
    using QMessageBox::QMessageBox;

protected:
    bool event(QEvent* event) override;

private:
    void narrow();
};

} // namespace tallyra::ui::qt
