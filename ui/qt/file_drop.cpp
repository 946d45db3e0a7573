#include "ui/qt/file_drop.h"

#include <QAbstractScrollArea>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace tallyra::ui::qt {
namespace {

QString firstLocalFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile();
    return {};
}

} // namespace

FileDropFilter::FileDropFilter(QWidget* widget, Handler handler) : QObject(widget), handler_(std::move(handler)) {
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
    if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) {
        area->viewport()->setAcceptDrops(true);
        area->viewport()->installEventFilter(this);
    }
}

bool FileDropFilter::eventFilter(QObject*, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        if (firstLocalFile(drag->mimeData()).isEmpty()) return false;
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString path = firstLocalFile(drop->mimeData());
        if (path.isEmpty()) return false;
        drop->acceptProposedAction();
        handler_(path.toStdString());
        return true;
    }
    default:
        return false;
    }
}

} // namespace tallyra::ui::qt
