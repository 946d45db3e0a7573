#include "platform/win32/com.h"

#include "platform/win32/system_library.h"

namespace tallyra::win32 {
namespace {

struct Ole32 {
    decltype(&CoInitialize) initialize = nullptr;
    decltype(&CoUninitialize) uninitialize = nullptr;
    decltype(&CoCreateInstance) createInstance = nullptr;
    decltype(&CoTaskMemFree) free = nullptr;
};

// Looked up once, by whichever thread comes first (the voice has a thread of its
// own). The program is built without thread-safe local statics, so the system's
// one-time initialisation guards the lookup.
BOOL CALLBACK lookUpOle32(INIT_ONCE*, void* parameter, void**) {
    auto& functions = *static_cast<Ole32*>(parameter);
    functions.initialize = systemFunction<decltype(&CoInitialize)>(L"ole32.dll", "CoInitialize");
    functions.uninitialize = systemFunction<decltype(&CoUninitialize)>(L"ole32.dll", "CoUninitialize");
    functions.createInstance = systemFunction<decltype(&CoCreateInstance)>(L"ole32.dll", "CoCreateInstance");
    functions.free = systemFunction<decltype(&CoTaskMemFree)>(L"ole32.dll", "CoTaskMemFree");
    return TRUE;
}

const Ole32& ole32() {
    static INIT_ONCE once = INIT_ONCE_STATIC_INIT;
    static Ole32 functions;
    InitOnceExecuteOnce(&once, lookUpOle32, &functions, nullptr);
    return functions;
}

} // namespace

HRESULT createComObject(REFCLSID objectClass, DWORD context, REFIID interfaceId, void** object) {
    *object = nullptr;
    const auto create = ole32().createInstance;
    return create ? create(objectClass, nullptr, context, interfaceId, object) : CO_E_NOTINITIALIZED;
}

ScopedComInit::ScopedComInit()
    : result_(ole32().initialize ? ole32().initialize(nullptr) : CO_E_NOTINITIALIZED) {}

ScopedComInit::~ScopedComInit() {
    if (SUCCEEDED(result_) && ole32().uninitialize) ole32().uninitialize();
}

void freeComMemory(void* memory) {
    if (memory && ole32().free) ole32().free(memory);
}

void CoTaskMemString::reset() {
    freeComMemory(std::exchange(text_, nullptr));
}

} // namespace tallyra::win32
