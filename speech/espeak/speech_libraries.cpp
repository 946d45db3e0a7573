#include "speech/espeak/speech_libraries.h"

#include <dlfcn.h>

namespace tallyra::espeak {
namespace {

// Each name found in the library, or false.
class Opened {
public:
    explicit Opened(const char* soname) : handle_(dlopen(soname, RTLD_NOW | RTLD_LOCAL)) {}

    template <typename Function>
    Opened& find(Function& function, const char* name) {
        function = handle_ ? reinterpret_cast<Function>(dlsym(handle_, name)) : nullptr;
        complete_ = complete_ && function != nullptr;
        return *this;
    }
    bool complete() const { return handle_ && complete_; }

private:
    void* handle_; // never closed: espeak-ng cannot be loaded twice in one process
    bool complete_ = true;
};

void ignoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// ALSA's own error handler prints every failed look-up of a sound card on standard
// error; the voice reports a missing device itself, through the text it refuses.
void silenceAlsa() {
    using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_NOLOAD); // loaded with pcaudio, or not in use
    if (!alsa) return;
    using SetHandler = int (*)(ErrorHandler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
        set(ignoreAlsaError);
    dlclose(alsa); // only drops the reference taken above
}

} // namespace

const Synthesiser* synthesiser() {
    static const Synthesiser* const loaded = []() -> const Synthesiser* {
        static Synthesiser s{};
        Opened library("libespeak-ng.so.1");
        library.find(s.initializePath, "espeak_ng_InitializePath")
            .find(s.initialize, "espeak_ng_Initialize")
            .find(s.clearErrorContext, "espeak_ng_ClearErrorContext")
            .find(s.initializeOutput, "espeak_ng_InitializeOutput")
            .find(s.setSynthCallback, "espeak_SetSynthCallback")
            .find(s.sampleRate, "espeak_ng_GetSampleRate")
            .find(s.setVoiceByName, "espeak_ng_SetVoiceByName")
            .find(s.synthesize, "espeak_ng_Synthesize")
            .find(s.listVoices, "espeak_ListVoices")
            .find(s.currentVoice, "espeak_GetCurrentVoice")
            .find(s.textToPhonemes, "espeak_TextToPhonemes");
        return library.complete() ? &s : nullptr;
    }();
    return loaded;
}

const SoundOutput* soundOutput() {
    static const SoundOutput* const loaded = []() -> const SoundOutput* {
        static SoundOutput s{};
        Opened library("libpcaudio.so.0");
        library.find(s.createDevice, "create_audio_device_object")
            .find(s.open, "audio_object_open")
            .find(s.write, "audio_object_write")
            .find(s.drain, "audio_object_drain")
            .find(s.flush, "audio_object_flush")
            .find(s.close, "audio_object_close")
            .find(s.destroy, "audio_object_destroy");
        silenceAlsa();
        return library.complete() ? &s : nullptr;
    }();
    return loaded;
}

} // namespace tallyra::espeak
