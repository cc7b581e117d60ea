// What the senders (chat line, clipboard, file content) need of the program's data object:
// port writes with echo, the cursor row to scroll to, and the chat history file.
#pragma once

class ISendingData {
public:
    virtual ~ISendingData() = default;

    virtual bool IsConnected() = 0;
    // Port writes that echo what was written into the terminal; 1 on success.
    virtual int SendData(const char* data, int count) = 0;
    virtual int SendText(const char* text) = 0;
    // The terminal's cursor row, for the request that shows it after a send.
    virtual int GetCursorRow() = 0;

    // chat.ini.
    virtual const char* ReadChatSetting(const char* section, const char* key) = 0;
    // -1 for a missing argument, -2 for an absent value, else the decimal value.
    virtual int ReadChatNumber(const char* section, const char* key) = 0;
    virtual bool WriteChatSetting(const char* section, const char* key, const char* text) = 0;
    virtual bool ClearChatFile() = 0;
};
