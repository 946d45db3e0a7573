#include "storage/platform/failure_hooks.h"

#include "storage/platform/append.h"
#include "storage/platform/file_system.h"

namespace tallyra::platform {

FileHooks& fileHooks() {
    static FileHooks hooks;
    return hooks;
}

void setReadFailureHook(FailureHook hook) {
    fileHooks().read = std::move(hook);
}

void setReplaceFailureHook(FailureHook hook) {
    fileHooks().replace = std::move(hook);
}

void setDeleteFailureHook(FailureHook hook) {
    fileHooks().remove = std::move(hook);
}

void setAppendFailureHook(FailureHook hook) {
    fileHooks().append = std::move(hook);
}

void setBeforeReplaceHook(std::function<void()> hook) {
    fileHooks().beforeReplace = std::move(hook);
}

} // namespace tallyra::platform
