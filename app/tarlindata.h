// The program's data object: owns the port, the screen buffer, the settings files, the
// command line, the send buffer and the module file, and holds the view options.
#pragma once

#include "comm.h"
#include "escape.h"
#include "inifile.h"
#include "myfile.h"
#include "mydata.h"
#include "stdbuffer.h"
#include "tarlincmdline.h"
#include "viewdata.h"

#include <cstdio>

class CTarlinData : public CMyData, public ITerminalViewData {
public:
    CTarlinData();
    ~CTarlinData() override;
    CTarlinData(const CTarlinData&) = delete;
    CTarlinData& operator=(const CTarlinData&) = delete;

    // Opens "COM1", initialises the screen buffer and attaches tarlin.ini and chat.ini in the
    // per-user folder (settingsFolder overrides that folder; for tests).
    int LocateSettingsFiles(const char* settingsFolder = nullptr);

    // Settings files.
    bool WriteMainSetting(const char* section, const char* key, const char* text);
    const char* ReadMainSetting(const char* section, const char* key);
    bool WriteChatSetting(const char* section, const char* key, const char* text);
    const char* ReadChatSetting(const char* section, const char* key);
    int ReadChatNumber(const char* section, const char* key);
    bool ClearChatFile();
    bool WritePositionValue(const char* key, const char* text);
    int ReadPositionValue(const char* key);
    bool ExistsInFolder(const char* folder, const char* name);
    bool AttachSettingFile(const char* folder, const char* name);
    void SaveLastSettings(bool portAndView);
    void LoadLastSettings(bool portAndView);

    // View options.
    int GetES() const { return m_es; }
    void SetES(int mode) { m_es = mode; }
    int GetHexOutput() const { return m_hexOutput; }
    void SetHexOutput(int on) { m_hexOutput = on; }
    int GetAutoScroll() const override { return m_autoScroll; }
    void SetAutoScroll(int on) { m_autoScroll = on; }
    int GetEcho() const { return m_echo; }
    void SetEcho(int on) { m_echo = on; }
    // ChatMode is 1 exactly while the chat window is open: the window toggles it when it opens
    // and when it closes, and SaveLastSettings stores it, so save before the window closes.
    int GetChatMode() const { return m_chatMode; }
    void ToggleChatMode() { m_chatMode = !m_chatMode; }
    // The last settings asked for chat mode ("ChatMode=true", loaded with the port-and-view
    // block): the main window opens the chat window at start. Loading never sets ChatMode.
    bool IsChatWantedAtStart() const { return m_chatWantedAtStart; }
    int GetAlwaysClear() const { return m_alwaysClear; }
    int GetAlwaysWithoutClear() const { return m_alwaysWithoutClear; }
    void SetAlwaysClear() { m_alwaysClear = 1, m_alwaysWithoutClear = 0; }
    void SetAlwaysWithoutClear() { m_alwaysClear = 0, m_alwaysWithoutClear = 1; }
    void SetAskAtDisconnect() { m_alwaysClear = 0, m_alwaysWithoutClear = 0; }

    // Saving the screen.
    bool IsSaveFileOpen() const { return m_saveFile != nullptr; }
    bool CreateSaveFile(const char* fileName);
    bool WriteScreenToSaveFile();
    void CloseSaveFile();

    // Port writes with echo into the screen buffer.
    int SendChar(char c);
    int SendText(const char* text);
    int SendData(const char* data, int count);

    // Command-line operations on the port.
    int ApplyPortSwitch();
    int SendTextSwitch() { return SendSwitchText(CTarlinCmdLine::kText); }
    int SendInitialTextSwitch() { return SendSwitchText(CTarlinCmdLine::kInitialText); }

    // Port forwards.
    int IsPortOpen() const { return m_port.IsOpen(); }
    int OpenPort(const char* name) { return m_port.Open(name, 1); }
    int ReopenPort() { return m_port.Reopen(1); }
    void ClosePort() { m_port.Close(); }
    void ResetPort() { m_port.Purge(); }
    CComm& GetPort() { return m_port; }
    const char* GetPortName() const { return m_port.GetPortName(); }
    int GetBaudRate() const { return m_port.GetBaudRate(); }
    int SetBaudRate(int value) { return m_port.SetBaudRate(value); }
    int GetByteSize() const { return m_port.GetByteSize(); }
    int SetByteSize(int value) { return m_port.SetByteSize(value); }
    int GetParity() const { return m_port.GetParity(); }
    int SetParity(int value) { return m_port.SetParity(value); }
    int DisableLineControl() { return m_port.DisableLineControl(); }
    int SetRts(bool on) { return on ? m_port.SetRts() : m_port.ClearRts(); }
    int SetDtr(bool on) { return on ? m_port.SetDtr() : m_port.ClearDtr(); }
    int SetTxd(bool on) { return on ? m_port.SetBreak() : m_port.ClearBreak(); }
    int GetModemStatus(int32_t* cts, int32_t* rlsd, int32_t* dsr) {
        return m_port.GetModemStatus(cts, rlsd, dsr);
    }

    // Screen buffer forwards.
    int AddChar(unsigned char c) { return m_buffer.PutChar(c, true, m_hexOutput); }
    int ClearScreen() { return m_buffer.Clear(); }
    void SetAttribute(uint8_t attribute) { m_buffer.SetAttribute(attribute); }
    uint8_t GetAttribute() const { return m_buffer.GetAttribute(); }
    CStdBuffer& GetBuffer() override { return m_buffer; }
    int GetCurrentLine() const { return m_buffer.GetRow(); }
    uint32_t GetReceivedCount(bool reset);

    // Command-line forwards.
    void SetCommandLine(const char* text) { m_commandLine.SetCommandLine(text); }
    int ValidateCommandLine() { return m_commandLine.Validate(); }
    bool IsCommandLineEmpty() const { return m_commandLine.IsCommandLineEmpty(); }
    bool IsPresent(unsigned bit) const { return m_commandLine.IsPresent(bit); }
    const char* GetParameter(unsigned bit, int n) { return m_commandLine.GetParameter(bit, n); }
    CTarlinCmdLine& GetCommandLine() { return m_commandLine; }

    // Module-file forwards.
    bool IsModuleFileOpen() const { return m_moduleFile.IsOpen(); }
    const char* GetModuleFileName() const { return m_moduleFile.GetFileName(); }
    void CloseModuleFile() { m_moduleFile.Close(); }
    CMyFile& GetModuleFile() { return m_moduleFile; }
    int OpenModuleFile(const char* path, const char* mode = "rt") {
        return m_moduleFile.Open(path, mode);
    }

    CEscape& GetSendBuffer() { return m_sendBuffer; }

private:
    int SendSwitchText(unsigned bit);
    int Echo(const char* data, int count, bool crAsLineFeed);
    bool WriteFlag(const char* key, int value);
    bool WriteNumber(const char* key, int value);
    bool ReadIs(const char* key, const char* expected);
    bool ReadNumber(const char* key, int* value);
    void LoadPortAndView();
    void LoadPort();

    CComm m_port;
    int m_chatMode = 0;
    CStdBuffer m_buffer;
    CMyIniFile m_settingFile;
    CMyIniFile m_mainFile;
    CMyIniFile m_chatFile;
    CTarlinCmdLine m_commandLine;
    CEscape m_sendBuffer;
    CMyFile m_moduleFile;
    int m_es = 1;
    int m_hexOutput = 0;
    int m_autoScroll = 1;
    FILE* m_saveFile = nullptr;
    int m_echo = 1;
    CDynString m_scratchPath;
    int m_alwaysClear = 0;
    int m_alwaysWithoutClear = 0;
    bool m_chatWantedAtStart = false;
};
