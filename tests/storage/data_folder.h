// Test support for the storage tests: a fresh run directory per test (with the
// program pointed at it), raw file access, and a message-box double.
#pragma once

#include "base/message_box.h"
#include "storage/data_folder.h"
#include "storage/platform/file_system.h"
#include "tests/support/file_paths.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace tallyra::testing {

inline std::string readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeBytes(const std::filesystem::path& file, std::string_view bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Each test gets its own run directory; the Data folder is created unless a test says otherwise.
class DataFolderTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        root_ = std::filesystem::temp_directory_path() /
                ("tallyra-test-" + std::to_string(seed()) + "-" + std::to_string(seed()));
        ASSERT_TRUE(std::filesystem::create_directories(root_));
        if (createDataFolder_) std::filesystem::create_directory(root_ / "Data");
    }

    void TearDown() override {
        platform::setBeforeReplaceHook(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
    }

    TestPath data() const { return root_ / "Data"; }
    // A file of the Data folder named in UTF-8 (a plain narrow string would be read in the ANSI code page on Windows).
    TestPath data(std::string_view file) const { return data() / pathFromUtf8(file); }
    TestPath config() const { return root_ / "Data" / "Config.conf"; }
    DataFolder dataFolder() const { return DataFolder(toFilePath(root_ / "Data")); }

    std::filesystem::path root_;
    bool createDataFolder_ = true;
};

// Records every box and answers with the scripted replies (then OK).
class RecordingBoxes : public MessageBoxes {
public:
    MessageAnswer showMessage(const Message& message) override {
        shown.push_back(message);
        if (replies.empty()) return MessageAnswer::Ok;
        const MessageAnswer reply = replies.front();
        replies.erase(replies.begin());
        return reply;
    }
    std::vector<Message> shown;
    std::vector<MessageAnswer> replies;
};

} // namespace tallyra::testing
