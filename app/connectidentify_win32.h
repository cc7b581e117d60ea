// Connecting to the port and recognising the module behind it: the main window runs this
// procedure for every connect and upload command.
#pragma once

// The option letters: "c" skips the port-settings dialog, "r" the power cycle.
struct ConnectLetters {
    bool skipSettingsDialog = false;
    bool skipPowerCycle = false;
};
ConnectLetters ParseConnectLetters(const char* letters);

// Results besides a module's version index (>= 1).
enum ConnectResult : int {
    kConnectedWithoutModule = 0,
    kConnectBackToPortSettings = -50, // the user went back from the power cycle
    kConnectCancelled = -110,
};
