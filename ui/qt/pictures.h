// The pictures of the layouts (by their resource id), embedded in the program.
#pragma once

#include <QIcon>
#include <QImage>

namespace tallyra::ui::qt {

// The decoded picture; a null image for an unknown id or undecodable bytes.
QImage loadPicture(int resourceId);

// The application icon at every size it holds.
QIcon applicationIcon();

} // namespace tallyra::ui::qt
