#include "shortcut.h"

#include "oskel_api.h"
#include "shortcut_icons.h"

#include <cstdarg>
#include <cstdio>

namespace {

const char kProgramTitle[] = "* Vantor * Tarlin *";
const char* const kParityNames[] = {"Žádná (NO)", "Lichá (ODD)", "Sudá (EVEN)", "Značka (MARK)",
                                    "Mezera (SPACE)"};

std::string Format(const char* format, ...) OSKEL_PRINTF(1, 2);
std::string Format(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(static_cast<size_t>(length > 0 ? length : 0) + 1, '\0');
    std::vsnprintf(&text[0], text.size(), format, again);
    va_end(again);
    text.resize(text.size() - 1);
    return text;
}

std::string PortDescription(const ShortcutPort& port) {
    return Format("%s\n\nPort: %s\nRychlost: %d\nDat. bity: %d\nParita: %s", kProgramTitle,
                  port.name.c_str(), port.baudRate, port.dataBits, ShortcutParityName(port.parity));
}

std::string FileArgument(const std::string& file) {
    return " -f \"" + file + "\"";
}

} // namespace

const char* ShortcutParityName(int code) {
    return code >= 0 && code <= 4 ? kParityNames[code] : kParityNames[0];
}

std::string ShortenedFileName(const std::string& path) {
    size_t count = 0;
    for (char c : path)
        count += c == '\\';
    if (count < 5) return path;
    const size_t second = path.find('\\', path.find('\\') + 1);
    const size_t secondLast = path.rfind('\\', path.rfind('\\') - 1);
    return path.substr(0, second + 1) + "..." + path.substr(secondLast);
}

// Each option counts only where it can apply: the file when one is loaded, the port setting
// when connected, "no connection dialog" only without a port setting.
std::string CurrentShortcutArguments(const CurrentShortcut& shortcut) {
    const unsigned options = shortcut.options;
    const bool port = (options & kShortcutPortSetting) && shortcut.connected;
    const bool file = (options & kShortcutLoadedFile) && !shortcut.file.empty();
    const bool noConnect =
        (options & kShortcutNoConnectDialog) && !(options & kShortcutPortSetting);
    const bool noPowerCycle = (options & kShortcutNoPowerCycle) != 0;
    std::string arguments;
    if (port)
        arguments += Format("-c %s %d %d %d ", shortcut.port.name.c_str(), shortcut.port.baudRate,
                            shortcut.port.dataBits, shortcut.port.parity);
    if (file) arguments += FileArgument(shortcut.file);
    if (options & kShortcutChatMode) arguments += " -cm";
    if (options & kShortcutHelp) arguments += " -h";
    if (options & kShortcutReset) arguments += " -r";
    if (noConnect || noPowerCycle)
        arguments += std::string(" -w ") + (noConnect ? "c" : "") + (noPowerCycle ? "r" : "");
    return arguments;
}

std::string CurrentShortcutDescription(const CurrentShortcut& shortcut) {
    if (!shortcut.connected) return kProgramTitle;
    std::string description = PortDescription(shortcut.port);
    if (!shortcut.file.empty()) description += "\n\nSoubor: " + ShortenedFileName(shortcut.file);
    return description;
}

std::string BuiltShortcutArguments(const BuiltShortcut& shortcut) {
    std::string arguments =
        Format("-c %s %d %d %d", shortcut.port.name.c_str(), shortcut.port.baudRate,
               shortcut.port.dataBits, shortcut.port.parity);
    const bool noFile = shortcut.upload == BuiltShortcut::kNoFile;
    if (shortcut.upload == BuiltShortcut::kThisFile) arguments += FileArgument(shortcut.file);
    if (noFile || shortcut.closeWhenDone)
        arguments +=
            std::string(" -w ") + (noFile ? "r" : "") + (shortcut.closeWhenDone ? "x" : "");
    if (shortcut.reset) arguments += " -r";
    if (shortcut.chatMode) arguments += " -cm";
    arguments += std::string(" -io a") + (shortcut.echo ? "" : "o") +
                 (shortcut.hexOutput ? "h" : "") + (shortcut.noAutoScroll ? "n" : "");
    return arguments;
}

std::string BuiltShortcutDescription(const BuiltShortcut& shortcut) {
    std::string description = PortDescription(shortcut.port);
    if (shortcut.upload == BuiltShortcut::kThisFile)
        description += "\n\nSoubor: " + ShortenedFileName(shortcut.file);
    return description;
}

bool CIconChoice::CanGoOn() const {
    return m_position < kShortcutIconCount - 1;
}

void CIconChoice::Back() {
    if (CanGoBack()) --m_position;
}

void CIconChoice::On() {
    if (CanGoOn()) ++m_position;
}

int CIconChoice::GetResourceId() const {
    return kShortcutIcons[m_position].resourceId;
}

int CIconChoice::GetIconIndex() const {
    return kShortcutIcons[m_position].iconIndex;
}

const char* CIconChoice::GetName() const {
    return kShortcutIcons[m_position].name;
}
