// The outside program of the benchmark's wait measurement: it stands for the framework tool and
// does nothing for a while, then ends with exit code 0. It sleeps TB_BENCH_CHILD_MS milliseconds
// (inherited from the benchmark through whoever starts it), 10 s when that is not set. It opens
// no window.
#include <windows.h>

#include <cwchar>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    wchar_t value[32] = L"";
    DWORD milliseconds = 10000;
    if (GetEnvironmentVariableW(L"TB_BENCH_CHILD_MS", value, 32) > 0)
        milliseconds = static_cast<DWORD>(std::wcstoul(value, nullptr, 10));
    Sleep(milliseconds);
    return 0;
}
