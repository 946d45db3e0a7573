// What the program says and when: the announcement of a settled student (the roll
// call's settle listener), the forms of it that each speech engine is given, and
// the start-up check that a voice is installed. announcePick and the check read the
// speech switch from the settings file at the moment they run.
#pragma once

#include "base/message_box.h"
#include "speech/speech_voice.h"
#include "storage/data_folder.h"

#include <string>
#include <string_view>

namespace tallyra {

inline constexpr std::string_view kNumberSuffix = "号";

inline constexpr Message kSpeakFailedNotice{"信息：", "转换失败！", kPlainOk};
inline constexpr Message kNoVoiceMessage{"未找到语音数据", "语音数据不存在，需要安装微软语音包！", kErrorOk};

// The spoken text: number, "号", name, without spaces.
std::string announcementText(std::string_view number, std::string_view name);

// The announcement for a voice that reads pinyin with tone numbers among Chinese
// characters (espeak-ng's cmn-latn-pinyin voice): a listed surname at the start of
// the name is replaced by its reading and a space ("07号zeng1 小明").
std::string pinyinAnnouncement(std::string_view number, std::string_view name);

// The announcement as SAPI 5 XML, to be spoken with SPF_IS_XML: number and name
// escaped, a listed surname at the start of the name inside a PRON tag with its
// reading in SAPI's Chinese phone set ("<PRON SYM=\"zeng 1\">曾</PRON>").
std::string sapiAnnouncementXml(std::string_view number, std::string_view name);

// When Voice is exactly "True", queues the announcement and returns at once. False
// when the voice refused it: the caller tells kSpeakFailedNotice; it is not retried.
[[nodiscard]] bool announcePick(SpeechVoice& voice, const DataFolder& data, const std::string& number,
                                const std::string& name);

// When Voice is exactly "True" and no voice is installed, shows kNoVoiceMessage.
// Changes nothing else: the switch stays on.
void checkVoicesAtStart(SpeechVoice& voice, MessageBoxes& boxes, const DataFolder& data);

} // namespace tallyra
