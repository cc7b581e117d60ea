#include "identify.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "codepage.h"
#include "inifile.h"

namespace {

const char kSection[] = "VER";
const char kRecordStart[] = "\n\r";

// The value of key k, or an empty text when it is missing or empty (both end the list).
std::string ReadVersion(CMyIniFile& versions, int k) {
    char key[16];
    std::snprintf(key, sizeof key, "%d", k);
    if (!versions.Read(kSection, key)) return std::string();
    const char* value = versions.GetValue();
    return value ? std::string(value) : std::string();
}

void Lower(std::string& text) {
    OskelCp1250LowerBuffer(&text[0], static_cast<int>(text.size()));
}

} // namespace

CIdentifyState::CIdentifyState() : m_text(kInitialCapacity), m_abort(0) {}

int CIdentifyState::Length() const {
    return static_cast<int>(std::strlen(GetText()));
}

void CIdentifyState::Clear() {
    m_text.InitBuffer(kInitialCapacity);
}

void CIdentifyState::Append(const char* chunk) {
    m_text.Append(chunk);
}

CIdentifyState& CIdentifyState::Process() {
    static CIdentifyState state;
    return state;
}

int32_t Identify(CMyIniFile* versions, CDynString& text) {
    if (versions == nullptr) return kIdentifyNoRecord;
    char* received = text.GetString();
    const int length = received ? static_cast<int>(std::strlen(received)) : 0;
    if (length < kIdentifyMinLength) return kIdentifyTooShort;
    OskelCp1250LowerBuffer(received, length);
    const char* start = std::strstr(received, kRecordStart);
    if (start == nullptr) return kIdentifyNoRecord;
    const std::string record(start + 2);

    int32_t result = kIdentifyUnknown;
    for (int k = 1;; ++k) {
        const std::string written = ReadVersion(*versions, k);
        if (written.empty()) return result;
        std::string version = written;
        Lower(version);
        if (version == record || std::strstr(received, version.c_str()) != nullptr) {
            text.SetString(written.c_str(), static_cast<int>(written.size()));
            return k;
        }
        // The record may be the beginning of this version, with the rest still to come.
        if (version.find(record) != std::string::npos) result = kIdentifyIncomplete;
    }
}

int32_t Identify(CMyIniFile* versions) {
    return Identify(versions, CIdentifyState::Process().Text());
}
