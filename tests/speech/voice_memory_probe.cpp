// What the program's voice costs in memory, measured from outside:
//   /usr/bin/time -v tallyra_voice_memory_probe none    (everything linked, no voice)
//   /usr/bin/time -v tallyra_voice_memory_probe voice   (the voice created and released)
//   /usr/bin/time -v tallyra_voice_memory_probe speak   (and one announcement spoken)
#include "speech/speech_voice.h"

#include <chrono>
#include <cstdio>
#include <string_view>
#include <thread>

int main(int argc, char** argv) {
    const std::string_view mode = argc > 1 ? argv[1] : "voice";
    if (mode == "none") return 0;
    auto voice = tallyra::createSpeechVoice();
    std::printf("%zu voices\n", voice->listVoices().size());
    if (mode == "speak") {
        voice->speakText("07号张三");
        std::this_thread::sleep_for(std::chrono::seconds(3)); // long enough to speak it
    }
    tallyra::destroySpeechVoice(voice);
    return 0;
}
