// Starts a program with the show tap inside it, on Windows:
//
//   vesk_tap_launcher TAP.dll PROGRAM.exe
//
// The program is made suspended, the tap library is loaded into it by a
// thread of its own, and only then does the program start; its standard
// handles are this launcher's. Ends with the program's exit code, or 2 when
// the tap could not be put in place.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

int Refuse(const char* what, PROCESS_INFORMATION* started = nullptr) {
    std::fprintf(stderr, "vesk_tap_launcher: %s (error %lu)\n", what, GetLastError());
    if (started) TerminateProcess(started->hProcess, 2);
    return 2;
}

// Loads the library into the process through a thread that runs
// LoadLibraryW there (kernel32 lies at the same address in every process).
bool LoadInto(HANDLE process, const std::wstring& library) {
    const SIZE_T bytes = (library.size() + 1) * sizeof(wchar_t);
    void* remote = VirtualAllocEx(process, nullptr, bytes, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!remote || !WriteProcessMemory(process, remote, library.c_str(), bytes, nullptr)) return false;
    auto* loadLibrary = reinterpret_cast<LPTHREAD_START_ROUTINE>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "LoadLibraryW")));
    HANDLE thread = CreateRemoteThread(process, nullptr, 0, loadLibrary, remote, 0, nullptr);
    if (!thread) return false;
    WaitForSingleObject(thread, INFINITE);
    DWORD loaded = 0;
    GetExitCodeThread(thread, &loaded);
    CloseHandle(thread);
    return loaded != 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: vesk_tap_launcher TAP.dll PROGRAM.exe\n");
        return 2;
    }
    wchar_t library[MAX_PATH];
    if (!GetFullPathNameW(argv[1], MAX_PATH, library, nullptr)) return Refuse("the tap library has no full path");
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION started{};
    std::wstring commandLine = L"\"" + std::wstring(argv[2]) + L"\"";
    if (!CreateProcessW(argv[2], commandLine.data(), nullptr, nullptr, TRUE, CREATE_SUSPENDED, nullptr, nullptr,
                        &startup, &started))
        return Refuse("the program did not start");
    if (!LoadInto(started.hProcess, library)) return Refuse("the tap did not load into the program", &started);
    ResumeThread(started.hThread);
    WaitForSingleObject(started.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(started.hProcess, &status);
    return static_cast<int>(status);
}
