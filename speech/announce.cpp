#include "speech/announce.h"

#include "storage/ini_file.h"
#include "storage/paths.h"
#include "storage/settings.h"

namespace tallyra {
namespace {

bool speechSwitchedOn() {
    return settings::voiceOn();
}

} // namespace

std::string announcementText(std::string_view number, std::string_view name) {
    std::string text;
    text.reserve(number.size() + kNumberSuffix.size() + name.size());
    text.append(number).append(kNumberSuffix).append(name);
    return text;
}

void announcePick(SpeechVoice& voice, MessageBoxes& boxes, const std::string& number, const std::string& name) {
    if (!speechSwitchedOn()) return;
    if (!voice.speakText(announcementText(number, name))) boxes.showMessage(kSpeakFailedNotice);
}

void checkVoicesAtStart(SpeechVoice& voice, MessageBoxes& boxes) {
    if (!speechSwitchedOn()) return;
    if (voice.listVoices().empty()) boxes.showMessage(kNoVoiceMessage);
}

} // namespace tallyra
