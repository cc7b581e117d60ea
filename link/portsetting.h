// The line parameters as the program stores, shows and passes them, and their text forms.
#pragma once

#include <cstdint>

class CDynString;

struct PortSetting {
    char portName[28]; // at most 27 characters, without a device prefix
    int32_t baudRate;
    int32_t byteSize; // 5 to 8
    int32_t parity;   // 0 to 4, the Win32 DCB parity values
};

// The baud rates offered for selection, in the order the lists show them.
const int kBaudRateCount = 27;
extern const int32_t kBaudRates[kBaudRateCount];
// The data-bit choices, as the lists show them.
const int kByteSizeCount = 4;
extern const char* const kByteSizeNames[kByteSizeCount];

// Display name of a parity code; "???" for a code outside 0-4 (taken as an unsigned byte,
// so the -4 of a closed port also shows "???").
const char* GetParityName(int32_t parity);

// "%s %d/%d/%s": port name, baud rate, data bits and parity name. Returns 1 or 0.
int FormatPortSetting(CDynString& out, const char* portName, int32_t baudRate, int32_t byteSize,
                      int32_t parity);
int FormatPortSetting(CDynString& out, const PortSetting& setting);
// The same followed by 39 blanks, so that a shorter text overwrites a longer one in the
// status bar.
int FormatPortSettingForStatusBar(CDynString& out, const PortSetting& setting);
