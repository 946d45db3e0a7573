#include "speech/sapi/sapi_voice.h"

#include "platform/win32/com.h"
#include "platform/win32/scoped.h"
#include "platform/win32/text.h"
#include "platform/win32/window_object.h"
#include "speech/announce.h"
#include "speech/voice_choice.h"

#include <windows.h>

#include <sapi.h>
#include <sperror.h>
#include <wrl/client.h>

#include <optional>
#include <string>

namespace tallyra {

using Microsoft::WRL::ComPtr;
using win32::CoTaskMemString;
using win32::createComObject;
using win32::freeComMemory;
using win32::ScopedComInit;
using win32::ScopedHandle;
using win32::toUtf8;
using win32::toWide;

// The voice's own thread: a message-only window that runs the GUI thread's calls.
class SpeechThread final : public win32::WindowObject {
public:
    explicit SpeechThread(SapiVoiceState& state) : state_(state) {}
    bool create();

private:
    std::optional<LRESULT> onMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::shared_ptr<const void> keepAlive() const override { return nullptr; }

    SapiVoiceState& state_;
};

struct SapiVoiceState {
    // Shared: written by the voice's thread before `ready` is set, read after.
    ScopedHandle ready{CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    ScopedHandle thread;
    HWND requests = nullptr; // the thread's window; null when the thread could not run calls

    // The voice's thread alone.
    ComPtr<ISpVoice> voice;
    HWND receiver = nullptr; // told of the start and end of speaking
};

namespace {

// {96749377-3391-11D2-9EE3-00C04F797396}
constexpr CLSID kSpVoiceClass{0x96749377, 0x3391, 0x11D2, {0x9E, 0xE3, 0x00, 0xC0, 0x4F, 0x79, 0x73, 0x96}};
// {6C44DF74-72B9-4992-A1EC-EF996E0422D4}
constexpr IID kSpVoiceInterface{0x6C44DF74, 0x72B9, 0x4992, {0xA1, 0xEC, 0xEF, 0x99, 0x6E, 0x04, 0x22, 0xD4}};
// {A910187F-0C7A-45AC-92CC-59EDAFB77B53}
constexpr CLSID kTokenCategoryClass{0xA910187F, 0x0C7A, 0x45AC, {0x92, 0xCC, 0x59, 0xED, 0xAF, 0xB7, 0x7B, 0x53}};

constexpr wchar_t kVoiceCategory[] = L"HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Speech\\Voices";

// Start and end of input stream (event ids 1 and 2) with the two flag-check bits,
// for the notifications and the event queue alike.
constexpr ULONGLONG kEventInterest = (ULONGLONG{0x00000002} << 32) | 0x40000006;

constexpr UINT kSpeechEventMessage = 0x8075;

// Calls from the GUI thread, sent to the voice's thread.
constexpr UINT kListRequest = WM_APP + 1;  // lParam: std::vector<std::string>*; 1 when listed
constexpr UINT kSpeakRequest = WM_APP + 2; // wParam: receiver, lParam: const SpeakRequest*; 1 when queued
constexpr UINT kStopRequest = WM_APP + 3;  // releases the voice and ends the thread
constexpr wchar_t kSpeechThreadClass[] = L"TallyraSpeech";

struct SpeakRequest {
    std::wstring text;
    DWORD flags;
};

// The user's interface language; GetUserDefaultUILanguage is looked up by name,
// with GetUserDefaultLangID where it is missing or answers 0.
LANGID interfaceLanguage() {
    if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
        if (FARPROC proc = GetProcAddress(kernel, "GetUserDefaultUILanguage")) {
            // Through void(*)(): the one function type GCC lets any other be cast from.
            const auto getLanguage = reinterpret_cast<LANGID(WINAPI*)()>(reinterpret_cast<void (*)()>(proc));
            if (const LANGID language = getLanguage()) return language;
        }
    }
    return GetUserDefaultLangID();
}

// A language as SAPI names its description values: lower-case hexadecimal
// without leading zeros ("804", "409").
std::wstring hexName(LANGID language) {
    constexpr wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring name;
    unsigned value = language;
    do {
        name.insert(name.begin(), kDigits[value % 16]);
        value /= 16;
    } while (value != 0);
    return name;
}

// The token's description in the interface language, else its default value;
// empty when neither can be read.
std::string tokenDescription(ISpObjectToken& token, LANGID language) {
    CoTaskMemString value;
    HRESULT result = token.GetStringValue(hexName(language).c_str(), value.put());
    if (result == SPERR_NOT_FOUND) result = token.GetStringValue(nullptr, value.put());
    if (FAILED(result) || !value.get()) return {};
    return toUtf8(value.get());
}

// Calls visit with every voice token and its description, in the enumerator's
// order, until visit returns false. False when the voices cannot be enumerated.
template <typename Visit> bool forEachVoice(Visit visit) {
    ComPtr<ISpObjectTokenCategory> category;
    if (FAILED(createComObject(kTokenCategoryClass, CLSCTX_ALL, IID_PPV_ARGS(&category)))) return false;
    if (FAILED(category->SetId(kVoiceCategory, FALSE))) return false;
    ComPtr<IEnumSpObjectTokens> tokens;
    if (FAILED(category->EnumTokens(L"", L"", tokens.GetAddressOf())) || !tokens) return false;
    const LANGID language = interfaceLanguage();
    for (;;) {
        ComPtr<ISpObjectToken> token;
        if (tokens->Next(1, token.GetAddressOf(), nullptr) != S_OK || !token) break;
        if (!visit(*token.Get(), tokenDescription(*token.Get(), language))) break;
    }
    return true;
}

// Frees what an event's lParam carries, as SAPI's own helper does.
void clearEvent(SPEVENT& event) {
    switch (event.elParamType) {
    case SPET_LPARAM_IS_POINTER:
    case SPET_LPARAM_IS_STRING:
        freeComMemory(reinterpret_cast<void*>(event.lParam));
        break;
    case SPET_LPARAM_IS_TOKEN:
    case SPET_LPARAM_IS_OBJECT:
        if (event.lParam) reinterpret_cast<IUnknown*>(event.lParam)->Release();
        break;
    default:
        break;
    }
    event = SPEVENT{};
}

// SAPI calls this through the voice thread's message queue whenever the voice signals.
void __stdcall onVoiceNotification(WPARAM, LPARAM context) {
    auto* state = reinterpret_cast<SapiVoiceState*>(context);
    if (!state || !state->voice || !state->receiver) return;
    SPEVENT event{};
    while (state->voice->GetEvents(1, &event, nullptr) == S_OK) {
        const WPARAM id = event.eEventId;
        clearEvent(event);
        SendMessageW(state->receiver, kSpeechEventMessage, id, 0);
    }
}

// The voice as it is created: SetInterest, the notification routine (which SAPI then
// calls on this thread), and the first voice whose description names Chinese;
// otherwise the default stays.
void createVoice(SapiVoiceState& state) {
    if (FAILED(createComObject(kSpVoiceClass, CLSCTX_ALL, kSpVoiceInterface,
                               reinterpret_cast<void**>(state.voice.ReleaseAndGetAddressOf())))) {
        state.voice.Reset();
        return;
    }
    state.voice->SetInterest(kEventInterest, kEventInterest);
    state.voice->SetNotifyCallbackFunction(&onVoiceNotification, 0, reinterpret_cast<LPARAM>(&state));
    forEachVoice([&](ISpObjectToken& token, const std::string& description) {
        if (!namesChinese(description)) return true;
        state.voice->SetVoice(&token);
        return false;
    });
}

void releaseVoice(SapiVoiceState& state) {
    // SAPI may still be speaking: no notification may reach the record after this.
    if (state.voice) state.voice->SetNotifySink(nullptr);
    state.voice.Reset();
}

DWORD WINAPI runSpeechThread(void* parameter) {
    SapiVoiceState& state = *static_cast<SapiVoiceState*>(parameter);
    {
        const ScopedComInit com; // this thread's own apartment, where the voice lives
        createVoice(state);
        SpeechThread requests(state);
        if (requests.create()) state.requests = requests.hwnd();
        SetEvent(state.ready.get());
        MSG message;
        while (requests.hwnd() && GetMessageW(&message, nullptr, 0, 0) > 0)
            DispatchMessageW(&message);
        releaseVoice(state); // when the window could not be made
    }
    return 0;
}

// Waits for an event while still answering the messages that other threads send
// this one: the voice's thread tells the receiver of speech events with SendMessage.
void waitAnswering(HANDLE event) {
    while (MsgWaitForMultipleObjects(1, &event, FALSE, INFINITE, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1) {
        MSG message;
        PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

} // namespace

bool SpeechThread::create() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    return registerWindowClass(windowClass(instance, kSpeechThreadClass)) &&
           createWindow(0, kSpeechThreadClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance);
}

std::optional<LRESULT> SpeechThread::onMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case kListRequest: {
        auto& descriptions = *reinterpret_cast<std::vector<std::string>*>(lParam);
        if (!state_.voice) return 0;
        return forEachVoice([&](ISpObjectToken&, const std::string& description) {
            descriptions.push_back(description);
            return true;
        });
    }
    case kSpeakRequest: {
        if (!state_.voice) return 0;
        state_.receiver = reinterpret_cast<HWND>(wParam);
        const auto& request = *reinterpret_cast<const SpeakRequest*>(lParam);
        return SUCCEEDED(state_.voice->Speak(request.text.c_str(), request.flags, nullptr));
    }
    case kStopRequest:
        releaseVoice(state_);
        DestroyWindow(hwnd_);
        PostQuitMessage(0);
        return 0;
    default:
        return std::nullopt;
    }
}

SapiVoice::SapiVoice() : state_(std::make_unique<SapiVoiceState>()) {
    // The voice is made on a thread of its own while the program builds its windows:
    // COM, SAPI and the choice of voice take about 5 ms under Wine. Every call below
    // waits for it first.
    if (state_->ready) state_->thread.reset(CreateThread(nullptr, 0, runSpeechThread, state_.get(), 0, nullptr));
}

SapiVoice::~SapiVoice() {
    if (HWND requests = readyRequests()) SendMessageW(requests, kStopRequest, 0, 0);
    if (state_->thread) waitAnswering(state_->thread.get());
}

HWND SapiVoice::readyRequests() const {
    if (!state_->thread) return nullptr;
    waitAnswering(state_->ready.get());
    return state_->requests;
}

std::vector<std::string> SapiVoice::listVoices() {
    std::vector<std::string> descriptions;
    const HWND requests = readyRequests();
    if (!requests || !SendMessageW(requests, kListRequest, 0, reinterpret_cast<LPARAM>(&descriptions)))
        descriptions.clear();
    return descriptions;
}

// Plain text is never taken for XML, even when it starts with "<" (SAPI's default guesses).
bool SapiVoice::speakText(std::string_view text) {
    return speak(text, SPF_ASYNC | SPF_IS_NOT_XML);
}

bool SapiVoice::speakAnnouncement(std::string_view number, std::string_view name) {
    return speak(sapiAnnouncementXml(number, name), SPF_ASYNC | SPF_IS_XML);
}

bool SapiVoice::speak(std::string_view text, unsigned long flags) {
    const HWND requests = readyRequests();
    if (!requests) return false;
    const SpeakRequest request{toWide(text), flags};
    return SendMessageW(requests, kSpeakRequest, reinterpret_cast<WPARAM>(receiver()),
                        reinterpret_cast<LPARAM>(&request)) != 0;
}

} // namespace tallyra
