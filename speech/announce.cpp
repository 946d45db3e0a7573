#include "speech/announce.h"

#include "speech/surnames.h"
#include "storage/settings.h"

namespace tallyra {
namespace {

// Text as XML character data or attribute value. Control characters that XML 1.0
// cannot carry become spaces, so a stray one in a roster never makes SAPI refuse
// the whole announcement.
void appendEscaped(std::string& xml, std::string_view text) {
    for (const char c : text) {
        switch (c) {
        case '&': xml += "&amp;"; break;
        case '<': xml += "&lt;"; break;
        case '>': xml += "&gt;"; break;
        case '"': xml += "&quot;"; break;
        case '\'': xml += "&apos;"; break;
        default:
            const bool control = static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r';
            xml += control ? ' ' : c;
        }
    }
}

// "yu4 chi2" in SAPI's Chinese phone set, where the tone is a symbol of its own: "yu 4 chi 2".
std::string sapiSymbols(std::string_view pinyin) {
    std::string symbols;
    for (const char c : pinyin) {
        if (c >= '1' && c <= '5') symbols += ' ';
        symbols += c;
    }
    return symbols;
}

} // namespace

bool SpeechVoice::speakAnnouncement(std::string_view number, std::string_view name) {
    return speakText(announcementText(number, name));
}

std::string announcementText(std::string_view number, std::string_view name) {
    std::string text;
    text.reserve(number.size() + kNumberSuffix.size() + name.size());
    text.append(number).append(kNumberSuffix).append(name);
    return text;
}

std::string pinyinAnnouncement(std::string_view number, std::string_view name) {
    const SurnameReading* surname = leadingSurname(name);
    if (!surname) return announcementText(number, name);
    std::string text(number);
    text.append(kNumberSuffix).append(surname->pinyin).append(" ").append(name.substr(surname->surname.size()));
    return text;
}

std::string sapiAnnouncementXml(std::string_view number, std::string_view name) {
    std::string xml;
    appendEscaped(xml, number);
    xml += kNumberSuffix;
    if (const SurnameReading* surname = leadingSurname(name)) {
        xml.append("<PRON SYM=\"").append(sapiSymbols(surname->pinyin)).append("\">");
        xml.append(surname->surname).append("</PRON>");
        name.remove_prefix(surname->surname.size());
    }
    appendEscaped(xml, name);
    return xml;
}

bool announcePick(SpeechVoice& voice, const DataFolder& data, const std::string& number, const std::string& name) {
    return !settings::voiceOn(data) || voice.speakAnnouncement(number, name);
}

void checkVoicesAtStart(SpeechVoice& voice, MessageBoxes& boxes, const DataFolder& data) {
    if (!settings::voiceOn(data)) return;
    if (voice.listVoices().empty()) boxes.showMessage(kNoVoiceMessage);
}

} // namespace tallyra
