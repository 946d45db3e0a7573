// Files dropped on a unit: taken before the unit sees them (a text box would insert
// the file's address) and told to the window's handlers.
#pragma once

#include <QObject>

#include <functional>
#include <string>

class QWidget;

namespace tallyra::ui::qt {

class FileDropFilter : public QObject {
public:
    using Handler = std::function<void(const std::string& path)>;
    // Watches the widget (and the viewport of a scroll area); deleted with the widget.
    FileDropFilter(QWidget* widget, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Handler handler_;
};

} // namespace tallyra::ui::qt
