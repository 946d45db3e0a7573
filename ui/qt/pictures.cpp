#include "ui/qt/pictures.h"

#include "ui/kit/layout.h"

#include <QImageReader>
#include <QPixmap>

namespace tallyra::ui::qt {

namespace {

// Only Qt's own PNG reader is asked: otherwise every image plugin Qt has (JPEG, GIF,
// ICO...) is loaded to say whether the file is theirs.
QImage readPng(const QString& path) {
    QImageReader reader(path, "png");
    reader.setAutoDetectImageFormat(false);
    return reader.read();
}

} // namespace

QImage loadPicture(int resourceId) {
    if (resourceId == kSupportPictureResource) return readPng(QStringLiteral(":/tallyra/support.png"));
    return {};
}

QIcon applicationIcon() {
    // The small sizes a window list shows; the desktop entry's icon comes from the theme.
    static const QIcon icon = [] {
        QIcon sizes;
        for (int size : {16, 32, 48, 64})
            sizes.addPixmap(QPixmap::fromImage(readPng(QStringLiteral(":/tallyra/icons/%1x%1/apps/tallyra.png").arg(size))));
        return sizes;
    }();
    return icon;
}

} // namespace tallyra::ui::qt
