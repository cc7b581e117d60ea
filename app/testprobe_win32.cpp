#include "testprobe_win32.h"

#include <cstdlib>
#include <cstring>

bool IsTestProbeEnabled() {
    const char* value = std::getenv("TARLIN_TEST_PROBE");
    return value != nullptr && std::strcmp(value, "1") == 0;
}

bool CTestProbeReport::SendTo(HWND requester, HWND from) const {
    if (requester == nullptr || !::IsWindow(requester)) return false;
    COPYDATASTRUCT copy{};
    copy.dwData = kTestProbeCommand;
    copy.cbData = static_cast<DWORD>(m_text.size());
    copy.lpData = const_cast<char*>(m_text.data());
    return ::SendMessageW(requester, WM_COPYDATA, reinterpret_cast<WPARAM>(from),
                          reinterpret_cast<LPARAM>(&copy)) != 0;
}
