#include "ui/qt/pictures.h"

#include "ui/about_windows.h"

namespace tallyra::ui::qt {

QImage loadPicture(int resourceId) {
    if (resourceId == kSupportPictureResource) return QImage(QStringLiteral(":/tallyra/support.png"));
    return {};
}

QIcon applicationIcon() {
    // The small sizes a window list shows; the desktop entry's icon comes from the theme.
    static const QIcon icon = [] {
        QIcon sizes;
        for (int size : {16, 32, 48, 64})
            sizes.addFile(QStringLiteral(":/tallyra/icons/%1x%1/apps/tallyra.png").arg(size), QSize(size, size));
        return sizes;
    }();
    return icon;
}

} // namespace tallyra::ui::qt
