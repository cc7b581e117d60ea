#include "portsetting.h"

#include "dynstring.h"

const int32_t kBaudRates[kBaudRateCount] = {
    110,    300,    600,    1200,   2400,   4800,    9600,    14400,   19200,
    38400,  56000,  57600,  62500,  76800,  115200,  128000,  192000,  230400,
    256000, 384000, 460800, 512000, 921600, 1000000, 1024000, 1843200, 3000000};

const char* const kByteSizeNames[kByteSizeCount] = {"5", "6", "7", "8"};

namespace {

const char* const kParityNames[] = {"Žádná (NO)", "Lichá (ODD)", "Sudá (EVEN)", "Značka (MARK)",
                                    "Mezera (SPACE)"};
const char kSettingFormat[] = "%s %d/%d/%s";
const char kStatusBarFormat[] = "%s %d/%d/%s                                       ";
static_assert(sizeof kStatusBarFormat - 1 == 50, "the status-bar form is 50 characters");

} // namespace

const char* GetParityName(int32_t parity) {
    unsigned char code = static_cast<unsigned char>(parity);
    return code < 5 ? kParityNames[code] : "???";
}

int FormatPortSetting(CDynString& out, const char* portName, int32_t baudRate, int32_t byteSize,
                      int32_t parity) {
    return out.Format(kSettingFormat, portName ? portName : "", static_cast<int>(baudRate),
                      static_cast<int>(byteSize), GetParityName(parity)) > 0
               ? 1
               : 0;
}

int FormatPortSetting(CDynString& out, const PortSetting& setting) {
    return FormatPortSetting(out, setting.portName, setting.baudRate, setting.byteSize,
                             setting.parity);
}

int FormatPortSettingForStatusBar(CDynString& out, const PortSetting& setting) {
    return out.Format(kStatusBarFormat, setting.portName, static_cast<int>(setting.baudRate),
                      static_cast<int>(setting.byteSize), GetParityName(setting.parity)) > 0
               ? 1
               : 0;
}
