// createSpeechVoice for the backend chosen when the program was configured
// (TALLYRA_SPEECH_BACKEND in speech/CMakeLists.txt).
#include "speech/speech_voice.h"

#if defined(TALLYRA_SPEECH_SAPI)
#include "speech/sapi/sapi_voice.h"
#elif defined(TALLYRA_SPEECH_ESPEAK)
#include "speech/espeak/espeak_voice.h"
#else
#include "speech/silent_voice.h"
#endif

namespace tallyra {

std::unique_ptr<SpeechVoice> createSpeechVoice() {
#if defined(TALLYRA_SPEECH_SAPI)
    return std::make_unique<SapiVoice>();
#elif defined(TALLYRA_SPEECH_ESPEAK)
    return std::make_unique<EspeakVoice>();
#else
    return std::make_unique<SilentVoice>();
#endif
}

void destroySpeechVoice(std::unique_ptr<SpeechVoice>& voice) {
    voice.reset();
}

} // namespace tallyra
