// The SAPI voice in the Windows build. These tests run under Wine, whose SpVoice
// object has no voice: the voice must be created, asked and released cleanly and
// take the no-voice paths. On Windows with a voice they check that nothing fails.
#include "speech/announce.h"
#include "speech/sapi/sapi_voice.h"

#include "speech_test_support.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace tallyra {
namespace {

bool runningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

class RecordingBoxes : public MessageBoxes {
public:
    MessageAnswer showMessage(const Message& message) override {
        shown.push_back(message);
        return MessageAnswer::Ok;
    }
    std::vector<Message> shown;
};

TEST(SapiVoiceTest, StartCheckAndAnnouncementsTakeTheNoVoicePathsUnderWine) {
    testing::ProgramFolder folder;
    folder.setVoice("True");
    // A window to receive the voice's notifications, as the main window's hidden label does.
    const HWND receiver = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    RecordingBoxes boxes;
    {
        SapiVoice voice;
        voice.setReceiver(reinterpret_cast<NativeWindow>(receiver));
        checkVoicesAtStart(voice, boxes, folder.data());
        const bool listed = !voice.listVoices().empty();
        for (const auto& [number, name] : {std::pair{"07", "张三"}, std::pair{"12", "李四"}})
            if (!announcePick(voice, folder.data(), number, name)) boxes.showMessage(kSpeakFailedNotice);
        std::vector<Message> expected;
        if (!listed) expected.push_back(kNoVoiceMessage);
        if (runningUnderWine()) {
            // Wine registers a "Wine Default Voice" token without a description (one
            // empty entry), but its SpVoice cannot speak: every announcement fails.
            expected.insert(expected.end(), {kSpeakFailedNotice, kSpeakFailedNotice});
            EXPECT_EQ(boxes.shown, expected);
        } else if (listed) {
            EXPECT_TRUE(boxes.shown.empty());
        }
        // Notifications arrive through the message queue while speech runs.
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&message);
    }
    if (receiver) DestroyWindow(receiver);
}

} // namespace
} // namespace tallyra
