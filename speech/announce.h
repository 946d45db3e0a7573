// What the program says and when: the announcement of a settled student (the roll
// call's settle listener) and the start-up check that a voice is installed. Both
// read the speech switch from the settings file at the moment they run.
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

// When Voice is exactly "True", queues the announcement; a refusal shows
// kSpeakFailedNotice once and is not retried.
void announcePick(SpeechVoice& voice, MessageBoxes& boxes, const DataFolder& data, const std::string& number,
                  const std::string& name);

// When Voice is exactly "True" and no voice is installed, shows kNoVoiceMessage.
// Changes nothing else: the switch stays on.
void checkVoicesAtStart(SpeechVoice& voice, MessageBoxes& boxes, const DataFolder& data);

} // namespace tallyra
