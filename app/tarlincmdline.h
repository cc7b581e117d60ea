// The program's command-line switches: presence, parameters, validation and help texts.
#pragma once

#include "cmdline.h"
#include "dynstring.h"

class CTarlinCmdLine {
public:
    // Presence bits of the switches; "-h" and "/?" share one.
    enum Switch : unsigned {
        kPort = 0x001,        // -c name baud bits parity
        kFile = 0x002,        // -f [file]
        kChatMode = 0x004,    // -cm
        kText = 0x008,        // -t letters text
        kHelp = 0x010,        // -h, /?
        kReset = 0x020,       // -r
        kWithout = 0x040,     // -w letters
        kInitialText = 0x080, // -ti letters text
        kInputOutput = 0x100, // -io letters
    };

    CTarlinCmdLine();
    virtual ~CTarlinCmdLine();

    void SetCommandLine(const char* text);
    // 0 when valid, else the row (1..10) of the first switch whose parameters are missing or,
    // for the port switch, are no decimal numbers where numbers belong.
    int Validate();
    bool IsPresent(unsigned bit) const;
    // The n-th parameter (from 1) after the switch; null when absent. The text stays valid
    // until the next query.
    const char* GetParameter(unsigned bit, int n);
    // No argument at all in the text (blanks do not count); says nothing about validity.
    bool IsCommandLineEmpty() const { return m_empty; }
    // True when the parameter of the switch holds the letter anywhere.
    bool HasLetter(unsigned bit, char letter);

    static const char* GetSwitchText(unsigned bit);
    static const char* GetHelpText(int row);
    static int GetSwitchCount();
    // The warning shown when Validate returned row.
    static bool FormatValidationMessage(int row, CDynString& out);

private:
    static int FindRow(const char* parameter);
    // Reads the parameters of a switch that takes two or more; false when one is missing,
    // is itself a switch or is not the number it must be.
    bool ReadParameters(int row);

    CCmdLine m_tokenizer;
    int m_parsed = 0;
    unsigned m_presence = 0;
    bool m_empty = true;
};
