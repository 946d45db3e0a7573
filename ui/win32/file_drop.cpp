#include "ui/win32/file_drop.h"

#include "platform/win32/system_library.h"
#include "platform/win32/text.h"

#include <commdlg.h>
#include <shellapi.h>

namespace tallyra::ui::win32 {

using tallyra::win32::systemFunction;

void acceptDroppedFiles(HWND window) {
    if (const auto accept = systemFunction<decltype(&DragAcceptFiles)>(L"shell32.dll", "DragAcceptFiles"))
        accept(window, TRUE);
}

std::optional<DroppedFile> takeDroppedFile(HDROP drop) {
    const auto queryFile = systemFunction<decltype(&DragQueryFileW)>(L"shell32.dll", "DragQueryFileW");
    const auto queryPoint = systemFunction<decltype(&DragQueryPoint)>(L"shell32.dll", "DragQueryPoint");
    const auto finish = systemFunction<decltype(&DragFinish)>(L"shell32.dll", "DragFinish");
    if (!queryFile || !queryPoint || !finish) return std::nullopt;
    std::optional<DroppedFile> file;
    const UINT length = queryFile(drop, 0, nullptr, 0);
    if (queryFile(drop, 0xFFFFFFFF, nullptr, 0) > 0 && length > 0) {
        std::wstring path(length + 1, L'\0');
        path.resize(queryFile(drop, 0, path.data(), length + 1));
        file = DroppedFile{};
        queryPoint(drop, &file->at);
        file->path = tallyra::win32::toUtf8(path);
    }
    finish(drop);
    return file;
}

std::optional<std::string> askOpenFileName(HWND owner, std::string_view title, std::string_view filterName,
                                           std::string_view patterns) {
    const auto getOpenFileName = systemFunction<decltype(&GetOpenFileNameW)>(L"comdlg32.dll", "GetOpenFileNameW");
    if (!getOpenFileName) return std::nullopt;
    // The filter is pairs of texts, each ended by a null, the whole by a second one.
    std::wstring filter = tallyra::win32::toWide(filterName);
    filter.append(1, L'\0').append(tallyra::win32::toWide(patterns)).append(2, L'\0');
    const std::wstring caption = tallyra::win32::toWide(title);
    std::wstring path(32768, L'\0');
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter.c_str();
    dialog.lpstrFile = path.data();
    dialog.nMaxFile = static_cast<DWORD>(path.size());
    dialog.lpstrTitle = caption.c_str();
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!getOpenFileName(&dialog)) return std::nullopt;
    path.resize(wcslen(path.c_str()));
    return tallyra::win32::toUtf8(path);
}

} // namespace tallyra::ui::win32
