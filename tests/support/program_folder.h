// A temporary folder that stands in for the executable's folder during a test,
// with helpers that write the settings and roster files as the program leaves them.
#pragma once

#include "storage/data_folder.h"
#include "storage/ini_file.h"
#include "storage/roster.h"
#include "storage/settings.h"
#include "tests/support/file_paths.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <random>
#include <string>

namespace tallyra::testing {

class ProgramFolder {
public:
    ProgramFolder() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("tallyra-" + std::to_string(seed()) + "-" + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~ProgramFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ProgramFolder(const ProgramFolder&) = delete;
    ProgramFolder& operator=(const ProgramFolder&) = delete;

    // A settings file as the first run leaves it, with these classes and current class.
    void prepare(std::string_view classList, std::string_view current, std::string_view voice = "False") {
        std::filesystem::create_directories(path_ / "Data");
        EXPECT_TRUE(writeIniItem(data().settingsFile(), kSettingsSection, kFirstKey, kFalse));
        EXPECT_TRUE(writeIniItem(data().settingsFile(), kSettingsSection, kVoiceKey, voice));
        EXPECT_TRUE(writeIniItem(data().settingsFile(), kClassSection, kClassNameKey, classList));
        if (!current.empty()) {
            EXPECT_TRUE(writeIniItem(data().settingsFile(), kClassSection, kDefaultKey, current));
        }
    }

    // Writes Voice; nothing leaves the settings file without the item.
    void setVoice(const std::optional<std::string>& value) {
        std::filesystem::create_directories(path_ / "Data");
        if (value) {
            EXPECT_TRUE(writeIniItem(data().settingsFile(), kSettingsSection, kVoiceKey, *value));
        } else {
            EXPECT_TRUE(writeIniItem(data().settingsFile(), kSettingsSection, kFirstKey, kFalse));
        }
    }

    void addRoster(std::string_view className, const ClassRoster& roster) {
        std::filesystem::create_directories(path_ / "Data");
        EXPECT_TRUE(writeRoster(data(), className, roster));
    }

    const std::filesystem::path& path() const { return path_; }
    // The Data folder of a program started here.
    DataFolder data() const { return DataFolder(toFilePath(path_ / "Data")); }

private:
    std::filesystem::path path_;
};

} // namespace tallyra::testing
