// The show tap on Windows, as a library loaded into the program before it
// starts (win32_tap_launcher does that): it points the program's own
// imports of timeGetTime, Sleep and SwapBuffers at the tap, by rewriting
// the executable's import address table, and ends the program with an
// Escape key message posted to its window, which reaches it through its
// message queue like a real key press.
#include "show_tap.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

namespace {

using TSwapBuffers = BOOL(WINAPI*)(HDC);
using TSleep = VOID(WINAPI*)(DWORD);
using TTimeGetTime = DWORD(WINAPI*)();
TSwapBuffers realSwapBuffers = nullptr;
TSleep realSleep = Sleep;
TTimeGetTime realTimeGetTime = nullptr;

DWORD WINAPI TapTimeGetTime() { return vesk::tap::Clock(); }

// On the fixed clock the program's paced frames never wait; the C runtime's
// own yields still do.
VOID WINAPI TapSleep(DWORD milliseconds) { realSleep(vesk::tap::SkipSleeps() ? 0 : milliseconds); }

void PressEscape(HWND window) {
    PostMessageA(window, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
    PostMessageA(window, WM_KEYUP, VK_ESCAPE, 0xC0010001);
}

BOOL WINAPI TapSwapBuffers(HDC deviceContext) {
    vesk::tap::BeforeSwap();
    const BOOL swapped = realSwapBuffers(deviceContext);
    if (vesk::tap::AfterSwap()) PressEscape(WindowFromDC(deviceContext));
    return swapped;
}

template <typename T>
T* At(BYTE* base, DWORD offset) {
    return reinterpret_cast<T*>(base + offset);
}

// Replaces the address the executable calls for `library`!`name`; returns
// the address it called before, or null when it imports no such function.
void* Redirect(const char* library, const char* name, void* to) {
    BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
    const auto* headers = At<IMAGE_NT_HEADERS>(base, At<IMAGE_DOS_HEADER>(base, 0)->e_lfanew);
    const IMAGE_DATA_DIRECTORY& imports = headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    for (auto* entry = At<IMAGE_IMPORT_DESCRIPTOR>(base, imports.VirtualAddress); entry->Name; ++entry) {
        if (lstrcmpiA(At<char>(base, entry->Name), library) != 0) continue;
        auto* names = At<IMAGE_THUNK_DATA>(base, entry->OriginalFirstThunk);
        auto* addresses = At<IMAGE_THUNK_DATA>(base, entry->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++addresses) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) continue;
            if (std::strcmp(At<IMAGE_IMPORT_BY_NAME>(base, names->u1.AddressOfData)->Name, name) != 0) continue;
            DWORD protection = 0;
            VirtualProtect(&addresses->u1.Function, sizeof(void*), PAGE_READWRITE, &protection);
            void* before = reinterpret_cast<void*>(addresses->u1.Function);
            addresses->u1.Function = reinterpret_cast<ULONG_PTR>(to);
            VirtualProtect(&addresses->u1.Function, sizeof(void*), protection, &protection);
            return before;
        }
    }
    return nullptr;
}

template <typename T>
T Function(void* address) {
    return reinterpret_cast<T>(reinterpret_cast<void (*)()>(address));
}

}  // namespace

namespace vesk::tap {

std::uint64_t WallMs() {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const std::uint64_t ticks = (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    return (ticks - 116444736000000000ull) / 10000;  // 100 ns ticks since 1601
}

std::uint32_t ProgramClock() { return realTimeGetTime(); }

double ProcessorSeconds() {
    FILETIME created{}, exited{}, kernel{}, user{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](FILETIME time) {
        return static_cast<double>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

}  // namespace vesk::tap

BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH || !vesk::tap::Active()) return TRUE;
    if (void* sleep = Redirect("kernel32.dll", "Sleep", reinterpret_cast<void*>(TapSleep)))
        realSleep = Function<TSleep>(sleep);
    realTimeGetTime =
        Function<TTimeGetTime>(Redirect("winmm.dll", "timeGetTime", reinterpret_cast<void*>(TapTimeGetTime)));
    realSwapBuffers =
        Function<TSwapBuffers>(Redirect("gdi32.dll", "SwapBuffers", reinterpret_cast<void*>(TapSwapBuffers)));
    return realSwapBuffers && realTimeGetTime ? TRUE : FALSE;
}
