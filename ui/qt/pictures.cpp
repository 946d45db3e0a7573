#include "ui/qt/pictures.h"

#include "ui/about_windows.h"

namespace tallyra::ui::qt {

QImage loadPicture(int resourceId) {
    if (resourceId == kSupportPicture) return QImage(QStringLiteral(":/tallyra/support.png"));
    return {};
}

QIcon applicationIcon() {
    // The theme's icon once the program is installed; the embedded one from a build folder.
    static const QIcon embedded(QStringLiteral(":/tallyra/tallyra.ico"));
    return QIcon::fromTheme(QStringLiteral("tallyra"), embedded);
}

} // namespace tallyra::ui::qt
