#include "pdfcheck_win32.h"

#include "codepage.h"

#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <iterator>

namespace pdfcheck {
namespace {

std::string WindowsPath(const std::string& linuxPath) {
    std::string path = "Z:" + linuxPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// Answers this thread's messages for about ms milliseconds.
void Pump(int ms) {
    const DWORD end = ::GetTickCount() + static_cast<DWORD>(ms);
    for (DWORD now = ::GetTickCount(); static_cast<int>(end - now) > 0; now = ::GetTickCount()) {
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, end - now, QS_ALLINPUT);
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
}

long long FileSize(const std::string& windowsPath) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(windowsPath.c_str(), GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// A file is complete once it exists and has stopped growing.
bool WaitForFile(const std::string& windowsPath, int seconds) {
    long long last = -1;
    for (int i = 0; i < seconds * 4; ++i) {
        Pump(250);
        const long long size = FileSize(windowsPath);
        if (size > 0 && size == last) return true;
        last = size;
    }
    return false;
}

std::string NewestPdf(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((WindowsPath(folder) + "\\*.pdf").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return std::string();
    std::string newest;
    FILETIME newestTime = {0, 0};
    do {
        if (::CompareFileTime(&found.ftLastWriteTime, &newestTime) > 0) {
            newestTime = found.ftLastWriteTime;
            newest = folder + "/" + found.cFileName;
        }
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return newest;
}

} // namespace

std::string OutputFolder() {
    const char* out = std::getenv("TARLIN_PDF_OUT");
    return out != nullptr ? out : "";
}

// The printer writes its file after the job has left the program.
std::string WaitForPdf(const std::string& folder, int seconds) {
    for (int i = 0; i < seconds * 4; ++i) {
        const std::string pdf = NewestPdf(folder);
        if (!pdf.empty()) return WaitForFile(WindowsPath(pdf), seconds) ? pdf : std::string();
        Pump(250);
    }
    return std::string();
}

// Wine cannot wait for a Linux program: its output file tells when it is done.
std::string PdfText(const std::string& pdf) {
    const std::string text = pdf + ".txt";
    ::DeleteFileA(WindowsPath(text).c_str());
    const std::string command = "/usr/bin/pdftotext " + pdf + " " + text;
    std::wstring line(command.begin(), command.end());
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!::CreateProcessW(L"Z:\\usr\\bin\\pdftotext", &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &process))
        return std::string();
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    if (!WaitForFile(WindowsPath(text), 30)) return std::string();
    std::ifstream in(WindowsPath(text), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::string Utf8(const char* cp1250) {
    char out[1024] = {};
    OskelCp1250ToUtf8(cp1250, out, sizeof out);
    return out;
}

} // namespace pdfcheck
