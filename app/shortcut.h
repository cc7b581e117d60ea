// What a shortcut to the program holds beside its target: the command line it starts the
// program with, and its description. Both ways of making one (from the current connection, and
// the builder) compose them here.
#pragma once

#include <string>

// The options of the current shortcut, as the save dialog's boxes set them.
enum : unsigned {
    kShortcutLoadedFile = 0x01,      // -f with the loaded file
    kShortcutPortSetting = 0x02,     // -c with the current port setting
    kShortcutNoConnectDialog = 0x04, // -w c
    kShortcutNoPowerCycle = 0x08,    // -w r
    kShortcutReset = 0x10,           // -r
    kShortcutHelp = 0x20,            // -h
    kShortcutChatMode = 0x40,        // -cm
    kShortcutDefaultOptions = kShortcutLoadedFile | kShortcutPortSetting,
};

struct ShortcutPort {
    std::string name;
    int baudRate = 0;
    int dataBits = 0;
    int parity = 0; // 0-4
};

// The current connection and file, and the options chosen for them.
struct CurrentShortcut {
    bool connected = false;
    ShortcutPort port;
    std::string file; // empty when no module file is loaded
    unsigned options = kShortcutDefaultOptions;
};

// The builder's choices.
struct BuiltShortcut {
    enum Upload { kNoFile, kChooseAtStart, kThisFile };
    ShortcutPort port;
    Upload upload = kChooseAtStart;
    std::string file;
    bool reset = false;
    bool closeWhenDone = false;
    bool chatMode = false;
    bool echo = true;
    bool hexOutput = false;
    bool noAutoScroll = false;
};

std::string CurrentShortcutArguments(const CurrentShortcut& shortcut);
std::string CurrentShortcutDescription(const CurrentShortcut& shortcut);
std::string BuiltShortcutArguments(const BuiltShortcut& shortcut);
std::string BuiltShortcutDescription(const BuiltShortcut& shortcut);

// A long path is shown as its start up to the second backslash, "...", and its last folder
// and file: C:\A\B\C\D\F.MHX becomes C:\A\...\D\F.MHX.
std::string ShortenedFileName(const std::string& path);
// The parity's name; codes outside 0-4 get the first name.
const char* ShortcutParityName(int code);

// The icon the next shortcut gets: a position in the icon table, kept while the program runs.
class CIconChoice {
public:
    int GetPosition() const { return m_position; }
    bool CanGoBack() const { return m_position > 0; }
    bool CanGoOn() const;
    void Back();
    void On();
    // The resource shown in the dialog, the icon's index in the program file, its name.
    int GetResourceId() const;
    int GetIconIndex() const;
    const char* GetName() const;

private:
    int m_position = 0;
};
