#include "tarlindata.h"

#include "fileio.h"
#include "interpreter.h"
#include "settingsfolder.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

const char kLastSetting[] = "LAST_SETTING";

const char* Flag(int value) {
    return value == 1 ? "true" : "false";
}

// Decimal with leading digits taken (blanks and a sign allowed); false for a number that
// does not fit 32 bits, which no setting can mean.
bool ParseNumber(const char* text, int* value) {
    errno = 0;
    const long long number = std::strtoll(text, nullptr, 10);
    if (errno == ERANGE || number > INT_MAX || number < INT_MIN) return false;
    *value = static_cast<int>(number);
    return true;
}

int ToNumber(const char* text) {
    int value = 0;
    return ParseNumber(text, &value) ? value : 0;
}

} // namespace

CTarlinData::CTarlinData() {
    m_scratchPath.InitBuffer(260);
}

CTarlinData::~CTarlinData() {
    m_port.Close();
    m_moduleFile.Close();
    CloseSaveFile();
}

int CTarlinData::LocateSettingsFiles(const char* settingsFolder) {
    m_port.Open("COM1", 1);
    m_buffer.Init();
    const bool found = settingsFolder != nullptr ? m_scratchPath.InitBuffer(settingsFolder) == 1
                                                 : LocateSettingsFolder(m_scratchPath);
    if (!found) return 0;
    const bool main = m_mainFile.AttachInFolder(m_scratchPath.GetString(), "tarlin.ini");
    const bool chat = m_chatFile.AttachInFolder(m_scratchPath.GetString(), "chat.ini");
    return main && chat ? 1 : 0;
}

bool CTarlinData::WriteMainSetting(const char* section, const char* key, const char* text) {
    return m_mainFile.Write(section, key, text);
}

const char* CTarlinData::ReadMainSetting(const char* section, const char* key) {
    return m_mainFile.Read(section, key) ? m_mainFile.GetValue() : nullptr;
}

bool CTarlinData::WriteChatSetting(const char* section, const char* key, const char* text) {
    return m_chatFile.Write(section, key, text);
}

const char* CTarlinData::ReadChatSetting(const char* section, const char* key) {
    return m_chatFile.Read(section, key) ? m_chatFile.GetValue() : nullptr;
}

int CTarlinData::ReadChatNumber(const char* section, const char* key) {
    if (section == nullptr || key == nullptr) return -1;
    const char* value = ReadChatSetting(section, key);
    return value != nullptr ? ToNumber(value) : -2;
}

bool CTarlinData::ClearChatFile() {
    return m_chatFile.Truncate();
}

bool CTarlinData::WritePositionValue(const char* key, const char* text) {
    const char* user = GetUserNameA();
    return user != nullptr && user[0] != 0 && m_settingFile.Write(user, key, text);
}

int CTarlinData::ReadPositionValue(const char* key) {
    const char* user = GetUserNameA();
    if (user == nullptr || user[0] == 0 || !m_settingFile.Read(user, key)) return -1;
    return ToNumber(m_settingFile.GetValue());
}

bool CTarlinData::ExistsInFolder(const char* folder, const char* name) {
    return m_settingFile.Exists(folder, name);
}

bool CTarlinData::AttachSettingFile(const char* folder, const char* name) {
    return m_settingFile.AttachInFolder(folder, name);
}

bool CTarlinData::WriteFlag(const char* key, int value) {
    return m_mainFile.Write(kLastSetting, key, Flag(value));
}

bool CTarlinData::WriteNumber(const char* key, int value) {
    CDynString text;
    return text.Format("%d", value) && m_mainFile.Write(kLastSetting, key, text.GetString());
}

void CTarlinData::SaveLastSettings(bool portAndView) {
    if (portAndView) {
        WriteFlag("ChatMode", m_chatMode);
        m_mainFile.Write(kLastSetting, "PortName", m_port.GetPortName());
        WriteNumber("BaudRate", m_port.GetBaudRate());
        WriteNumber("ByteSize", m_port.GetByteSize());
        WriteNumber("Parity", m_port.GetParity());
        WriteNumber("ES", m_es);
        WriteFlag("HexOutput", m_hexOutput);
        WriteFlag("AutoScroll", m_autoScroll);
        WriteFlag("Echo", m_echo);
    }
    WriteFlag("AlwaysClear", m_alwaysClear);
    WriteFlag("AlwaysWithoutClear", m_alwaysWithoutClear);
}

bool CTarlinData::ReadIs(const char* key, const char* expected) {
    return m_mainFile.Read(kLastSetting, key) && std::strcmp(m_mainFile.GetValue(), expected) == 0;
}

bool CTarlinData::ReadNumber(const char* key, int* value) {
    return m_mainFile.Read(kLastSetting, key) && ParseNumber(m_mainFile.GetValue(), value);
}

void CTarlinData::LoadLastSettings(bool portAndView) {
    if (portAndView) LoadPortAndView();
    if (ReadIs("AlwaysClear", "true")) SetAlwaysClear();
    if (ReadIs("AlwaysWithoutClear", "true")) SetAlwaysWithoutClear();
}

void CTarlinData::LoadPortAndView() {
    if (ReadIs("ChatMode", "true")) m_chatWantedAtStart = true;
    LoadPort();
    int value = 0;
    // Only the modes there are: a stored number beyond them would leave the terminal in none.
    if (ReadNumber("ES", &value) && (value == kEscapeAnsi || value == kEscapeMaker)) m_es = value;
    if (ReadIs("HexOutput", "true")) m_hexOutput = 1;
    if (ReadIs("AutoScroll", "false")) m_autoScroll = 0;
    if (ReadIs("Echo", "false")) m_echo = 0;
}

// A stored name that cannot be opened (a pulled adapter, a damaged file) leaves the port that
// was open before it open, rather than none.
void CTarlinData::LoadPort() {
    if (m_mainFile.Read(kLastSetting, "PortName")) {
        CDynString previous(m_port.GetPortName());
        const bool wasOpen = m_port.IsOpen() == 1;
        if (m_port.Open(m_mainFile.GetValue(), 1) != 1 && wasOpen)
            m_port.Open(previous.GetString(), 1);
    }
    int value = 0;
    if (!m_port.IsOpen()) return;
    if (ReadNumber("BaudRate", &value) && value > 0) m_port.SetBaudRate(value);
    if (ReadNumber("ByteSize", &value) && value > 0) m_port.SetByteSize(value);
    if (ReadNumber("Parity", &value) && value > 0) m_port.SetParity(value);
}

bool CTarlinData::CreateSaveFile(const char* fileName) {
    CloseSaveFile();
    if (fileName == nullptr) return false;
    m_saveFile = OpenSharedFile(fileName, "wb");
    return m_saveFile != nullptr;
}

bool CTarlinData::WriteScreenToSaveFile() {
    if (m_saveFile == nullptr || !TruncateOpenFile(m_saveFile)) return false;
    const int last = m_buffer.GetUsedLines() < CStdBuffer::kLines - 1 ? m_buffer.GetUsedLines()
                                                                      : CStdBuffer::kLines - 1;
    const size_t length = CStdBuffer::kColumns + 1;
    for (int row = 0; row <= last; ++row)
        if (std::fwrite(m_buffer.GetLine(row), 1, length, m_saveFile) != length) return false;
    return std::fflush(m_saveFile) == 0;
}

void CTarlinData::CloseSaveFile() {
    if (m_saveFile != nullptr) std::fclose(m_saveFile);
    m_saveFile = nullptr;
}

int CTarlinData::Echo(const char* data, int count, bool crAsLineFeed) {
    EchoToBuffer(m_buffer, reinterpret_cast<const unsigned char*>(data), count, m_hexOutput,
                 crAsLineFeed);
    return 1;
}

int CTarlinData::SendChar(char c) {
    const int result = m_port.WriteChar(c);
    if (result == 1 && m_echo == 1) Echo(&c, 1, true);
    return result;
}

int CTarlinData::SendText(const char* text) {
    const int result = m_port.WriteString(text != nullptr ? text : "");
    if (result == 1 && m_echo == 1 && text != nullptr)
        Echo(text, static_cast<int>(std::strlen(text)), false);
    return result;
}

int CTarlinData::SendData(const char* data, int count) {
    if (data == nullptr) count = 0;
    const int result = m_port.WriteBuffer(data, count);
    if (result == 1 && m_echo == 1 && data != nullptr) Echo(data, count, false);
    return result;
}

uint32_t CTarlinData::GetReceivedCount(bool reset) {
    const uint32_t count = m_port.GetBytesReceived();
    if (reset) m_port.ResetBytesReceived();
    return count;
}

int CTarlinData::ApplyPortSwitch() {
    const char* given = m_commandLine.IsPresent(CTarlinCmdLine::kPort)
                            ? m_commandLine.GetParameter(CTarlinCmdLine::kPort, 1)
                            : nullptr;
    CDynString name(given != nullptr ? given : "COM1");
    if (m_port.Open(name.GetString(), 1) != 1) return 0;
    if (const char* baud = m_commandLine.GetParameter(CTarlinCmdLine::kPort, 2))
        m_port.SetBaudRate(ToNumber(baud));
    if (const char* bits = m_commandLine.GetParameter(CTarlinCmdLine::kPort, 3))
        m_port.SetByteSize(ToNumber(bits));
    if (const char* parity = m_commandLine.GetParameter(CTarlinCmdLine::kPort, 4))
        m_port.SetParity(ToNumber(parity));
    return 1;
}

int CTarlinData::SendSwitchText(unsigned bit) {
    if (!m_commandLine.IsPresent(bit)) return 0;
    const char* text = m_commandLine.GetParameter(bit, 2);
    if (text == nullptr) return -1;
    const int length = static_cast<int>(std::strlen(text));
    if (!m_sendBuffer.Reserve(length + 5) || !m_sendBuffer.SetText(text)) return -1;
    if (m_commandLine.GetParameter(bit, 1) == nullptr || m_port.IsOpen() != 1) return -1;
    if (m_commandLine.HasLetter(bit, 'e') && m_sendBuffer.Decode() != 0) return -2;
    if (m_commandLine.HasLetter(bit, 'r')) m_sendBuffer.AppendText("\r");
    if (m_commandLine.HasLetter(bit, 'l')) m_sendBuffer.AppendText("\n");
    return m_port.WriteBuffer(m_sendBuffer.GetData(), m_sendBuffer.GetLength()) == 1 ? 1 : -3;
}
