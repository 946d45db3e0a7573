// espeak-ng and pcaudio, opened when the voice is first used rather than at start:
// with them come PulseAudio, ALSA and a dozen codec libraries, about 1.5 MB of
// memory that a program with speech off never needs.
#pragma once

#include <espeak-ng/espeak_ng.h>
#include <espeak-ng/speak_lib.h>
#include <pcaudiolib/audio.h>

namespace tallyra::espeak {

struct Synthesiser {
    decltype(&espeak_ng_InitializePath) initializePath;
    decltype(&espeak_ng_Initialize) initialize;
    decltype(&espeak_ng_ClearErrorContext) clearErrorContext;
    decltype(&espeak_ng_InitializeOutput) initializeOutput;
    decltype(&espeak_SetSynthCallback) setSynthCallback;
    decltype(&espeak_ng_GetSampleRate) sampleRate;
    decltype(&espeak_ng_SetVoiceByName) setVoiceByName;
    decltype(&espeak_ng_Synthesize) synthesize;
    decltype(&espeak_ListVoices) listVoices;
    decltype(&espeak_GetCurrentVoice) currentVoice;
    decltype(&espeak_TextToPhonemes) textToPhonemes;
};

struct SoundOutput {
    decltype(&create_audio_device_object) createDevice;
    decltype(&audio_object_open) open;
    decltype(&audio_object_write) write;
    decltype(&audio_object_drain) drain;
    decltype(&audio_object_flush) flush;
    decltype(&audio_object_close) close;
    decltype(&audio_object_destroy) destroy;
};

// Opened at the first call and kept for the process; null when the library or one
// of its functions is missing (the program then has no voice).
const Synthesiser* synthesiser();
const SoundOutput* soundOutput();

} // namespace tallyra::espeak
