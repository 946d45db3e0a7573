// The floating button's items in [Settings] of Config.conf, which older copies ignore:
// whether it shows, and where the teacher left it.
#pragma once

#include "storage/data_folder.h"

#include <string>
#include <string_view>

namespace tallyra::settings {

inline constexpr std::string_view kFloatButtonKey = "FloatButton";
inline constexpr std::string_view kFloatButtonPlaceKey = "FloatButtonPlace";

// FloatButton: shown only when exactly "True".
bool floatButton(const DataFolder& data);
[[nodiscard]] bool setFloatButton(const DataFolder& data, bool on);
// FloatButtonPlace: the place as ui/kit/float_place.h writes it; empty when never moved.
std::string floatButtonPlace(const DataFolder& data);
[[nodiscard]] bool setFloatButtonPlace(const DataFolder& data, std::string_view place);

} // namespace tallyra::settings
