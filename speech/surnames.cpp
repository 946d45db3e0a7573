#include "speech/surnames.h"

#include <iterator>

namespace tallyra {
namespace {

// Readings as surnames from 《现代汉语词典》 (7th edition, 2016), the entries that
// name the reading "姓"; compound surnames from the same dictionary's entries for
// them. Left out on purpose: surnames read two ways in common use (乐 lè/yuè,
// 覃 qín/tán, 盖 gě/gài), and 单于, which is more often the surname 单 and the
// given name 于 than the compound surname.
constexpr SurnameReading kReadings[] = {
    // Compound surnames
    {"尉迟", "yu4 chi2"},
    {"万俟", "mo4 qi2"},
    {"长孙", "zhang3 sun1"},
    {"令狐", "ling2 hu2"},
    {"澹台", "tan2 tai2"},
    // One character
    {"曾", "zeng1"},
    {"单", "shan4"},
    {"仇", "qiu2"},
    {"查", "zha1"},
    {"翟", "zhai2"},
    {"解", "xie4"},
    {"区", "ou1"},
    {"朴", "piao2"},
    {"召", "shao4"},
    {"缪", "miao4"},
    {"繁", "po2"},
    {"员", "yun4"},
    {"种", "chong2"},
    {"秘", "bi4"},
    {"任", "ren2"},
    {"过", "guo1"},
    {"哈", "ha3"},
    {"折", "she2"},
    {"祭", "zhai4"},
    {"贲", "ben1"},
    {"洗", "xian3"},
    {"都", "du1"},
    {"薄", "bo2"},
    {"褚", "chu3"},
    {"应", "ying1"},
    {"燕", "yan1"},
    {"曲", "qu1"},
    {"重", "chong2"},
    {"於", "yu1"},
    {"粘", "nian2"},
};

} // namespace

std::span<const SurnameReading> surnameReadings() {
    return kReadings;
}

const SurnameReading* leadingSurname(std::string_view name) {
    const SurnameReading* found = nullptr;
    for (const SurnameReading& reading : kReadings)
        if (name.starts_with(reading.surname) && (!found || reading.surname.size() > found->surname.size()))
            found = &reading;
    return found;
}

} // namespace tallyra
