#include "platform/system_error.h"

#include <windows.h>

#include "platform/ansi.h"
#include "platform/handles.h"

std::string SystemErrorText(uint32_t error) {
    wchar_t* allocated = nullptr;
    DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                      FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, reinterpret_cast<wchar_t*>(&allocated), 0, nullptr);
    UniqueLocalText text(allocated);
    if (length == 0 || !text) return {};
    std::wstring message(text.Get(), length);
    while (!message.empty() && (message.back() == L'\r' || message.back() == L'\n' || message.back() == L' '))
        message.pop_back();
    return ToAnsi(message);
}
