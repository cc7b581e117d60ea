#include "tarlincmdline.h"

#include <climits>
#include <cstring>

namespace {

struct SwitchRow {
    const char* text;
    int parameters;
    unsigned bit;
    int firstNumber; // parameters from this one on are decimal numbers; 0: none are
};

const SwitchRow kRows[] = {
    {"-c", 4, CTarlinCmdLine::kPort, 2},         {"-f", 1, CTarlinCmdLine::kFile, 0},
    {"-cm", 0, CTarlinCmdLine::kChatMode, 0},    {"-t", 2, CTarlinCmdLine::kText, 0},
    {"-h", 0, CTarlinCmdLine::kHelp, 0},         {"/?", 0, CTarlinCmdLine::kHelp, 0},
    {"-r", 0, CTarlinCmdLine::kReset, 0},        {"-w", 1, CTarlinCmdLine::kWithout, 0},
    {"-ti", 2, CTarlinCmdLine::kInitialText, 0}, {"-io", 1, CTarlinCmdLine::kInputOutput, 0},
};
const int kRowCount = sizeof kRows / sizeof kRows[0];

const char* const kHelpTexts[kRowCount] = {
    // 1
    "Nastavení portu:\r"
    "    -c  NÁZEV_PORTU  PŘENOSOVÁ_RYCHLOST  DATOVÉ_BITY  PARITA\r"
    "        (PARITA: 0 - žádná, 1 - lichá, 2 - sudá, 3 - značka, 4 - mezera)\r"
    "    například: tarlin.exe -c COM1 38400 8 0",
    // 2
    "Soubor:\r"
    "    -f  JMÉNO_SOUBORU\r"
    "        (JMÉNO_SOUBORU: v relativním nebo absolutním tvaru)\r"
    "    například: -f \"c:\\Documents and Settings\\All Users\\Dokumenty\\test.mhx\"",
    // 3
    "Zobrazení dialogu 'Chat mode':\r"
    "    -cm",
    // 4
    "Text k odeslání:\r"
    "    -t TYP_TEXTU + CR + LF TEXT_K_ODESLANI\r"
    "        (TYP_TEXTU: n - běžný text, e - text obsahující 'escape sequence')\r"
    "        (CR: r - přidá na konec zprávy CR (\\r))\r"
    "        (LF: l - přidá na konec zprávy LF (\\n))\r"
    "    například: tarlin.exe -t el \"toto\\040je text\\x020k odeslani\\r\"",
    // 5
    "Zobrazení nápovědy:\r"
    "    -h",
    // 6
    "Zobrazení nápovědy:\r"
    "    /?",
    // 7
    "Vyslat RST po nahrání souboru do modulu:\r"
    "    -r",
    // 8
    "Spuštění aplikace bez vybraných částí nastavení:\r"
    "    -w  VYNECHANÁ_NASTAVENÍ\r"
    "        (VYNECHANÁ_NASTAVENÍ: c - bez nastavování parametrů portu, r - bez nutnosti "
    "restartovat, x - po provedení všech příkazů z příkazové řádky ukončit aplikaci\r"
    "    například: tarlin.exe -w rc",
    // 9
    "Vyslání textu na port před startovací sekvencí:\r"
    "    -ti TYP_TEXTU + CR + LF TEXT_K_ODESLANI\r"
    "        (TYP_TEXTU: n - běžný text, e - text obsahující 'escape sequence')\r"
    "        (CR: r - přidá na konec zprávy CR (\\r))\r"
    "        (LF: l - přidá na konec zprávy LF (\\n))\r"
    "    například: tarlin.exe -ti e \"\\x083\\x000\\x000\"",
    // 10
    "Nastavení vstupu a/nebo výstupu:\r"
    "    -io TYP_VSTUPU_VYSTUPU\r"
    "        (TYP_VSTUPU_VYSTUPU: x - nepodporovat ES a neformátovaný výstup, h - zobrazovat znaky "
    "HEXa, a - podporovat ANSII ES\r"
    "                             e - podporovat Vantor ES, o - nezobrazovat vysílané znaky - "
    "zakázat ECHO, n - zakázat automatický posun výpisu\r"
    "    například: tarlin.exe -io a\r"
    "\r"
    "    některá nastavení se vylučují, tj. pokud je uvedeno např. 'xa' použije se poslední "
    "nastavení neboli 'a', implicitní nastavení je 'a' neboli podpora ANSII ES",
};

const char kMessageStart[] = "Detekována chyba v příkazové řádce: Chybný počet parametrů u "
                             "přepínače.\r\rPoužívejte:\r\r";
const char kMessageEnd[] = "\r\rPro zobrazení celé nápovědy k příkazovému řádku zadejte "
                           "'tarlin.exe /?' \r\rNastavení z příkazové řádky bude ignorováno.";

// Digits only, and a value that fits an int: "38400x" is no baud rate.
bool IsDecimal(const char* text) {
    const size_t digits = std::strspn(text, "0123456789");
    if (digits == 0 || text[digits] != 0) return false;
    long long value = 0;
    for (const char* p = text; *p != 0 && value <= INT_MAX; ++p)
        value = value * 10 + (*p - '0');
    return value <= INT_MAX;
}

// The last row carrying the bit, as parameters are looked up; -1 when none does.
int LastRowOf(unsigned bit) {
    int found = -1;
    for (int row = 0; row < kRowCount; ++row)
        if (kRows[row].bit == bit) found = row;
    return found;
}

} // namespace

CTarlinCmdLine::CTarlinCmdLine() = default;

CTarlinCmdLine::~CTarlinCmdLine() = default;

void CTarlinCmdLine::SetCommandLine(const char* text) {
    m_tokenizer.SetCommandLine(text);
    // Any argument counts, even one the tokenizer cannot read (a lone quote, "").
    m_empty = text == nullptr || text[std::strspn(text, " ")] == 0;
    m_parsed = 0;
    m_presence = 0;
}

int CTarlinCmdLine::FindRow(const char* parameter) {
    if (parameter == nullptr) return -1;
    for (int row = 0; row < kRowCount; ++row)
        if (std::strcmp(parameter, kRows[row].text) == 0) return row;
    return -1;
}

int CTarlinCmdLine::Validate() {
    m_parsed = 0;
    m_presence = 0;
    if (m_tokenizer.GetFirstParam() != 1) {
        m_parsed = 1;
        return 0;
    }
    do {
        const int row = FindRow(m_tokenizer.GetParam());
        if (row < 0) continue;
        if (kRows[row].parameters >= 2 && !ReadParameters(row)) {
            m_presence = 0;
            return row + 1;
        }
        m_presence |= kRows[row].bit;
    } while (m_tokenizer.GetNextParam() == 1);
    m_parsed = 1;
    return 0;
}

bool CTarlinCmdLine::ReadParameters(int row) {
    for (int n = 1; n <= kRows[row].parameters; ++n) {
        if (m_tokenizer.GetNextParam() != 1 || FindRow(m_tokenizer.GetParam()) >= 0) return false;
        const bool number = kRows[row].firstNumber != 0 && n >= kRows[row].firstNumber;
        if (number && !IsDecimal(m_tokenizer.GetParam())) return false;
    }
    return true;
}

bool CTarlinCmdLine::IsPresent(unsigned bit) const {
    return m_parsed == 1 && (m_presence & bit) == bit && LastRowOf(bit) >= 0;
}

const char* CTarlinCmdLine::GetParameter(unsigned bit, int n) {
    if (m_parsed != 1 || (m_presence & bit) != bit || n < 1) return nullptr;
    const int row = LastRowOf(bit);
    if (row < 0 || n > kRows[row].parameters) return nullptr;
    for (int ok = m_tokenizer.GetFirstParam(); ok == 1; ok = m_tokenizer.GetNextParam()) {
        if (std::strcmp(m_tokenizer.GetParam(), kRows[row].text) != 0) continue;
        for (int k = 0; k < n; ++k)
            if (m_tokenizer.GetNextParam() != 1) return nullptr;
        return m_tokenizer.GetParam();
    }
    return nullptr;
}

bool CTarlinCmdLine::HasLetter(unsigned bit, char letter) {
    const char* letters = GetParameter(bit, 1);
    return letters != nullptr && std::strchr(letters, letter) != nullptr;
}

const char* CTarlinCmdLine::GetSwitchText(unsigned bit) {
    for (const SwitchRow& row : kRows)
        if (row.bit == bit) return row.text;
    return "";
}

const char* CTarlinCmdLine::GetHelpText(int row) {
    return row >= 1 && row <= kRowCount ? kHelpTexts[row - 1] : "";
}

int CTarlinCmdLine::GetSwitchCount() {
    return kRowCount;
}

bool CTarlinCmdLine::FormatValidationMessage(int row, CDynString& out) {
    return out.InitBuffer(kMessageStart) == 1 && out.Append(GetHelpText(row)) == 1 &&
           out.Append(kMessageEnd) == 1;
}
