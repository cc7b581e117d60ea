// Prints what the application data finds for this process, one "key=value" line each.
#include "codepage.h"
#include "mydata.h"

#include <cstdio>
#include <vector>

namespace {

void Print(const char* key, const char* value) {
    if (value == nullptr) {
        std::printf("%s=<null>\n", key);
        return;
    }
    const int size = OskelCp1250ToUtf8(value, nullptr, 0);
    if (size <= 0) {
        std::printf("%s=<unconvertible>\n", key);
        return;
    }
    std::vector<char> utf8(static_cast<size_t>(size));
    OskelCp1250ToUtf8(value, utf8.data(), size);
    std::printf("%s=%s\n", key, utf8.data());
}

} // namespace

int main() {
    dummy();
    CMyData data;
    std::printf("init=%d\n", data.InitData());
    Print("path", data.GetPath());
    Print("user", data.GetUserNameA());
    Print("program", data.GetAppFileName());
    std::printf("alternative=%d\n", data.AlternativePath());
    Print("folder", data.GetPath());
    std::printf("instance=%s\n", CMyData::GetInstanceDLL() != nullptr ? "set" : "none");
    return 0;
}
