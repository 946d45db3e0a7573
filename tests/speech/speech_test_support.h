// Test doubles of the speech tests: a voice that records what it is asked to say,
// and a temporary folder that stands in for the executable's folder.
#pragma once

#include "speech/speech_voice.h"
#include "storage/ini_file.h"
#include "storage/message_box.h"
#include "storage/paths.h"
#include "storage/settings.h"

#include <filesystem>
#include <optional>
#include <ostream>
#include <random>
#include <string>
#include <vector>

namespace tallyra {

// Readable failure messages for the boxes a test expected.
inline void PrintTo(const Message& message, std::ostream* out) {
    *out << "{\"" << message.title << "\", \"" << message.text << "\", 0x" << std::hex << message.flags << std::dec
         << "}";
}

namespace testing {

class FakeVoice : public SpeechVoice {
public:
    std::vector<std::string> listVoices() override {
        ++listCalls;
        return voices;
    }
    bool speakText(std::string_view text) override {
        spoken.emplace_back(text);
        return accepts;
    }

    std::vector<std::string> voices;
    bool accepts = true;
    std::vector<std::string> spoken; // every text offered, accepted or not
    int listCalls = 0;
};

class ProgramFolder {
public:
    ProgramFolder() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() / ("tallyra-speech-" + std::to_string(seed()));
        std::filesystem::create_directories(path_);
        overrideRunDirectory(path_);
        std::filesystem::create_directories(dataFolderPath());
    }
    ~ProgramFolder() {
        overrideRunDirectory({});
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    // Writes Voice; nothing leaves the settings file without the item.
    void setVoice(const std::optional<std::string>& value) {
        if (value) {
            writeIniItem(settingsFilePath(), kSettingsSection, kVoiceKey, *value);
        } else {
            writeIniItem(settingsFilePath(), kSettingsSection, kFirstKey, kFalse);
        }
    }

private:
    std::filesystem::path path_;
};

} // namespace testing
} // namespace tallyra
