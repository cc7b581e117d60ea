// Bytes sent when a key is released, by the terminal's escape mode. Key codes are the
// Windows virtual-key values, which the view forwards unchanged.
#pragma once

enum TerminalKey {
    kKeyShift = 0x10,
    kKeyControl = 0x11,
    kKeyLeft = 0x25,
    kKeyUp = 0x26,
    kKeyRight = 0x27,
    kKeyDown = 0x28,
    kKeyInsert = 0x2D,
    kKeyDelete = 0x2E,
    kKeyNumpadAdd = 0x6B,
    kKeyNumpadSubtract = 0x6D,
    kKeyF1 = 0x70,
    kKeyF5 = 0x74,
    kKeyFullStop = 0xBE,
};

// Fills out (room for 3) and returns the count: 0 nothing to send, 1 one byte (sent with
// SendChar), 3 an ANSI cursor sequence (sent with SendData).
int TranslateKeyRelease(int escapeMode, int virtualKey, unsigned char out[3]);
