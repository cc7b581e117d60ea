#include "mydata.h"

#include "platform.h"

#include <cstring>

namespace {

const int kMaxUserName = 260;

} // namespace

void* CMyData::m_hOskelInstanceDLL = nullptr;

CMyData::CMyData() = default;

CMyData::~CMyData() = default;

int CMyData::InitData() {
    CDynString directory;
    if (!oskel::ReadCurrentDirectory(directory) || directory.GetString() == nullptr) return 0;
    const int n = static_cast<int>(std::strlen(directory.GetString())) + 1;
    if (!m_path.InitBuffer(n + 2) || !m_path.SetStringAt(directory.GetString(), 0)) return 0;

    CDynString user;
    if (oskel::ReadUserName(user) && user.GetString() != nullptr) {
        const int s = static_cast<int>(std::strlen(user.GetString())) + 1;
        if (s > 1 && s < kMaxUserName && m_userName.InitBuffer(s + 2))
            m_userName.SetStringAt(user.GetString(), 0);
    }
    return SaveAppFileName();
}

int CMyData::TakeProgramParameter() {
    CDynString commandLine;
    if (!oskel::ReadProcessCommandLine(commandLine)) return 0;
    m_commandLine.SetCommandLine(commandLine.GetString());
    return m_commandLine.GetFirstParam() == 1 && m_commandLine.GetParam() != nullptr ? 1 : 0;
}

int CMyData::SaveAppFileName() {
    if (!TakeProgramParameter()) return 0;
    const char* program = m_commandLine.GetParam();
    const char* separator = std::strrchr(program, oskel::kPathSeparator);
    return m_appFileName.InitBuffer(separator != nullptr ? separator : program);
}

int CMyData::AlternativePath() {
    if (!TakeProgramParameter()) return 0;
    const char* program = m_commandLine.GetParam();
    const char* separator = std::strrchr(program, oskel::kPathSeparator);
    if (separator == nullptr) return 1;
    CDynString folder;
    if (!folder.SetString(program, static_cast<int>(separator - program))) return 0;
    return m_path.InitBuffer(folder.GetString());
}

void CMyData::SetInstanceDLL(void* instance) {
    if (m_hOskelInstanceDLL == nullptr) m_hOskelInstanceDLL = instance;
}

void* CMyData::GetInstanceDLL() {
    return m_hOskelInstanceDLL;
}
