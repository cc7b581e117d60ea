// Arbitrary command lines through the tokenizer and the program's switch table, against a
// plain model of both: the same parameters in the same order, the same validation row,
// presence and parameters of every switch, and "empty" only for a text of blanks.
#include "cmdline.h"
#include "fuzzcheck.h"
#include "tarlincmdline.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

struct Row {
    const char* text;
    int parameters;
    unsigned bit;
    int firstNumber;
};

const Row kRows[] = {
    {"-c", 4, 0x001, 2},  {"-f", 1, 0x002, 0},  {"-cm", 0, 0x004, 0}, {"-t", 2, 0x008, 0},
    {"-h", 0, 0x010, 0},  {"/?", 0, 0x010, 0},  {"-r", 0, 0x020, 0},  {"-w", 1, 0x040, 0},
    {"-ti", 2, 0x080, 0}, {"-io", 1, 0x100, 0},
};
const int kRowCount = 10;

// Parameters end at a space, or are enclosed in the first quote met; an unclosed or empty
// quote ends the list.
std::vector<std::string> Tokens(const std::string& text) {
    std::vector<std::string> tokens;
    size_t at = 0;
    while (at < text.size()) {
        const size_t next = text.find_first_of(" \"'", at);
        if (next == std::string::npos) {
            tokens.push_back(text.substr(at));
            break;
        }
        if (text[next] == ' ') {
            if (next > at) tokens.push_back(text.substr(at, next - at));
            at = next + 1;
            continue;
        }
        const size_t closing = text.find(text[next], next + 1);
        if (closing == std::string::npos || closing == next + 1) break;
        tokens.push_back(text.substr(next + 1, closing - next - 1));
        at = closing + 1;
    }
    return tokens;
}

int RowOf(const std::string& token) {
    for (int row = 0; row < kRowCount; ++row)
        if (token == kRows[row].text) return row;
    return -1;
}

bool IsDecimal(const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos) return false;
    const size_t first = text.find_first_not_of('0');
    const std::string digits = first == std::string::npos ? "0" : text.substr(first);
    return digits.size() < 10 || (digits.size() == 10 && digits <= "2147483647");
}

struct Model {
    int result = 0;
    bool parsed = false;
    unsigned presence = 0;
};

Model Validate(const std::vector<std::string>& tokens) {
    Model model;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const int row = RowOf(tokens[i]);
        if (row < 0) continue;
        if (kRows[row].parameters >= 2) {
            for (int n = 1; n <= kRows[row].parameters; ++n) {
                const size_t at = i + static_cast<size_t>(n);
                const bool number = kRows[row].firstNumber != 0 && n >= kRows[row].firstNumber;
                if (at >= tokens.size() || RowOf(tokens[at]) >= 0 ||
                    (number && !IsDecimal(tokens[at]))) {
                    model.result = row + 1;
                    return model;
                }
            }
            i += static_cast<size_t>(kRows[row].parameters);
        }
        model.presence |= kRows[row].bit;
    }
    model.parsed = true;
    return model;
}

const char* Parameter(const std::vector<std::string>& tokens, const Model& model, unsigned bit,
                      int n) {
    if (!model.parsed || (model.presence & bit) != bit || n < 1) return nullptr;
    int row = -1;
    for (int r = 0; r < kRowCount; ++r)
        if (kRows[r].bit == bit) row = r;
    if (row < 0 || n > kRows[row].parameters) return nullptr;
    for (size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i] != kRows[row].text) continue;
        const size_t at = i + static_cast<size_t>(n);
        return at < tokens.size() ? tokens[at].c_str() : nullptr;
    }
    return nullptr;
}

bool Same(const char* a, const char* b) {
    return (a == nullptr) == (b == nullptr) && (a == nullptr || std::strcmp(a, b) == 0);
}

void CheckTokenizer(const std::string& text, const std::vector<std::string>& tokens) {
    CCmdLine line;
    line.SetCommandLine(text.c_str());
    Check(line.GetNextParam() == 0, "no next parameter before the first");
    std::vector<std::string> seen;
    for (int ok = line.GetFirstParam(); ok == 1; ok = line.GetNextParam()) {
        Check(line.GetParam() != nullptr, "a found parameter is readable");
        seen.push_back(line.GetParam());
        Check(seen.size() <= text.size(), "no more parameters than characters");
    }
    Check(seen == tokens, "parameters as the model splits them");
    // Positions outside the text never make a parameter.
    Check(line.InitParam(-1) == 0 && line.InitParam(static_cast<int>(text.size()) + 2) == 0,
          "parameter end outside the text refused");
    line.SetCommandLine("");
    Check(line.GetParam() == nullptr && line.GetNextParam() == 0, "new text forgets the old");
}

void CheckSwitches(const std::string& text, const std::vector<std::string>& tokens) {
    const Model model = Validate(tokens);
    CTarlinCmdLine line;
    line.SetCommandLine(text.c_str());
    Check(line.Validate() == model.result, "validation row");
    Check(line.IsCommandLineEmpty() == (text.find_first_not_of(' ') == std::string::npos),
          "empty only for blanks");
    for (unsigned bit = 0; bit <= 0x1FF; ++bit) {
        bool single = false;
        for (const Row& row : kRows)
            single = single || row.bit == bit;
        const bool present = model.parsed && (model.presence & bit) == bit && single;
        Check(line.IsPresent(bit) == present, "presence");
        if (!single) continue;
        for (int n = 0; n <= 5; ++n)
            Check(Same(line.GetParameter(bit, n), Parameter(tokens, model, bit, n)), "parameter");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data),
                           strnlen(reinterpret_cast<const char*>(data), size));
    const std::vector<std::string> tokens = Tokens(text);
    CheckTokenizer(text, tokens);
    CheckSwitches(text, tokens);
    return 0;
}
