#include "speech/announce.h"

#include "storage/settings.h"

namespace tallyra {

std::string announcementText(std::string_view number, std::string_view name) {
    std::string text;
    text.reserve(number.size() + kNumberSuffix.size() + name.size());
    text.append(number).append(kNumberSuffix).append(name);
    return text;
}

void announcePick(SpeechVoice& voice, MessageBoxes& boxes, const DataFolder& data, const std::string& number,
                  const std::string& name) {
    if (!settings::voiceOn(data)) return;
    if (!voice.speakText(announcementText(number, name))) boxes.showMessage(kSpeakFailedNotice);
}

void checkVoicesAtStart(SpeechVoice& voice, MessageBoxes& boxes, const DataFolder& data) {
    if (!settings::voiceOn(data)) return;
    if (voice.listVoices().empty()) boxes.showMessage(kNoVoiceMessage);
}

} // namespace tallyra
