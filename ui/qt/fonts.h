// The face every unit is drawn in. "微软雅黑" is rarely installed on Linux, and
// the usual font configuration maps it to a face without Chinese glyphs, so the
// backend picks an installed Chinese sans-serif face in its place.
#pragma once

#include <QString>

#include <string_view>

namespace tallyra::ui::qt {

// "微软雅黑" when installed, otherwise the first installed Chinese sans-serif face;
// empty when no installed face covers Simplified Chinese.
const QString& chineseFace();

// The installed family that draws a design's face: the face itself when installed,
// otherwise the Chinese face (also for an empty face, the system's default for the
// GB2312 character set).
QString resolvedFace(std::string_view face);

bool isFamilyInstalled(const QString& family);

} // namespace tallyra::ui::qt
