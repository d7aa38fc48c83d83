// Linked into every Qt test of the Windows build. The program keeps its settings and notes in
// %APPDATA%, which Wine sets alike for every program of a prefix; each test points it at the
// folder of its own that the test runner gives it as XDG_CONFIG_HOME (a Unix path, seen through
// Wine's drive Z:), so that tests running side by side never share a settings file.

#include <string>

#include <windows.h>

namespace {

const bool kOwnApplicationData = [] {
    wchar_t own[32768];
    const DWORD length = ::GetEnvironmentVariableW(L"XDG_CONFIG_HOME", own, 32768);
    if (length == 0 || length >= 32768 || own[0] != L'/')
        return false;
    std::wstring folder = L"Z:" + std::wstring(own, length);
    for (wchar_t& c : folder)
        if (c == L'/')
            c = L'\\';
    return ::SetEnvironmentVariableW(L"APPDATA", folder.c_str()) != 0;
}();

} // namespace
