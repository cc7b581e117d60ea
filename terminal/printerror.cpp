#include "printerror.h"

namespace {

struct ErrorText {
    unsigned long code;
    const char* text;
};

// Common-dialog extended error codes: general, print-dialog, font-dialog and file-dialog groups.
const ErrorText kErrorTexts[] = {
    {1, "Špatná velikost struktůry!\t"},
    {2, "Chyba při inicializaci!\t"},
    {3, "Template nenalezen!\t"},
    {4, "HINSTANCE není platná!\t"},
    {5, "Řetězec nemohl být nahrán!\t"},
    {6, "Resource nemohly být nalezeny!\t"},
    {7, "Resource nemohly být nahrány!\t"},
    {8, "Resource nemohly být uzamčeny!\t"},
    {9, "Nepodařilo se naalokovat paměť!\t"},
    {10, "Nepodařilo se uzamknout paměť!\t"},
    {11, "Nemohla být nalezena hookovací funkce!\t"},
    {0x1002, "Chyba při kontrole WIN.INI !\t"},
    {0x1003, "hDevMode a/nebo hDevNames není platný!\t"},
    {0x1004, "Chyba při nahrání driveru!\t"},
    {0x1005, "Chyba při inicializaci DEVMODE !\t"},
    {0x1006, "Chyba inicializace !\t"},
    {0x1007, "Nebyla nalezena žádná tiskárna!\t"},
    {0x1008, "Výchozí tiskárna neexistuje!\t"},
    {0x1009, "DEVMODE a DEVNAMES ukazují na dvě různé tiskárny!\t"},
    {0x100A, "Chyba při vytváření informačního kontextu!\t"},
    {0x100B, "Tiskárna nebyla nalezena!\t"},
    {0x2001, "Font neexistuje!\t"},
    {0x3001, "Subclassing se nezdařil!\t"},
    {0x3002, "Špatné jméno souboru!\t"},
    {0x3003, "Buffer je příliš malý!\t"},
};

} // namespace

const char* PrinterErrorText(unsigned long code) {
    for (const ErrorText& entry : kErrorTexts)
        if (entry.code == code) return entry.text;
    return "Neznámá či jiná chyba!\t";
}

std::string PrinterErrorMessage(unsigned long code) {
    return std::string("Chyba při inicialici tiskárny:\n\n\t") + PrinterErrorText(code) +
           "\n\nTisk nemůže pokračovat.";
}
