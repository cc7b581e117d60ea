// The data object as the senders see it: port writes with echo, the cursor row and chat.ini.
#pragma once

#include "sendingdata.h"
#include "tarlindata.h"

class CTarlinSendingData : public ISendingData {
public:
    explicit CTarlinSendingData(CTarlinData* data = nullptr) : m_data(data) {}
    void Bind(CTarlinData* data) { m_data = data; }
    CTarlinData* GetData() const { return m_data; }

    bool IsConnected() override { return m_data != nullptr && m_data->IsPortOpen() == 1; }
    int SendData(const char* data, int count) override {
        return m_data != nullptr ? m_data->SendData(data, count) : CComm::kNotOpen;
    }
    int SendText(const char* text) override {
        return m_data != nullptr ? m_data->SendText(text) : CComm::kNotOpen;
    }
    int GetCursorRow() override { return m_data != nullptr ? m_data->GetCurrentLine() : 0; }

    const char* ReadChatSetting(const char* section, const char* key) override {
        return m_data != nullptr ? m_data->ReadChatSetting(section, key) : nullptr;
    }
    int ReadChatNumber(const char* section, const char* key) override {
        return m_data != nullptr ? m_data->ReadChatNumber(section, key) : -2;
    }
    bool WriteChatSetting(const char* section, const char* key, const char* text) override {
        return m_data != nullptr && m_data->WriteChatSetting(section, key, text);
    }
    bool ClearChatFile() override { return m_data != nullptr && m_data->ClearChatFile(); }

private:
    CTarlinData* m_data;
};
