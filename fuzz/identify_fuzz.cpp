// Received text against arbitrary version lists: a recognised module is one whose version
// stands in the text (or is its record), an exact record wins over a longer text, nothing is
// recognised without a match, and feeding the text in chunks, as the port delivers it,
// recognises a module whenever the whole text does.
#include "codepage.h"
#include "fuzzcheck.h"
#include "identify.h"
#include "versionlist.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

class ListOf : public IVersionList {
public:
    explicit ListOf(const std::vector<std::string>& versions) : m_versions(versions) {}
    const char* ReadVersion(int key) override {
        return key >= 1 && key <= static_cast<int>(m_versions.size())
                   ? m_versions[static_cast<size_t>(key) - 1].c_str()
                   : nullptr;
    }

private:
    const std::vector<std::string>& m_versions;
};

std::string Lower(std::string text) {
    OskelCp1250LowerBuffer(&text[0], static_cast<int>(text.size()));
    return text;
}

std::string WithoutLineEnds(const std::string& text) {
    const size_t end = text.find_last_not_of("\r\n");
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

struct Expectation {
    std::vector<bool> matches, exact;
    bool any = false;
};

Expectation Expect(const CVersionTable& table, const std::string& received) {
    Expectation e;
    const std::string lower = Lower(received);
    const size_t start = lower.find("\n\r");
    const std::string record = start == std::string::npos ? "" : lower.substr(start + 2);
    for (int key = 1; key <= table.GetCount(); ++key) {
        const std::string& version = table.GetLower(key);
        const bool exact =
            start != std::string::npos && (version == record || version == WithoutLineEnds(record));
        const bool found = start != std::string::npos && lower.find(version) != std::string::npos;
        e.matches.push_back(exact || found);
        e.exact.push_back(exact);
        e.any = e.any || exact || found;
    }
    return e;
}

void CheckWhole(const CVersionTable& table, const std::string& received) {
    CDynString text(received.c_str());
    const int32_t result = Identify(&table, text);
    if (received.size() < static_cast<size_t>(kIdentifyMinLength)) {
        Check(result == kIdentifyTooShort, "short text is not evaluated");
        return;
    }
    if (received.find("\n\r") == std::string::npos) {
        Check(result == kIdentifyNoRecord, "no record without \\n\\r");
        return;
    }
    const Expectation e = Expect(table, received);
    if (!e.any) {
        Check(result == kIdentifyUnknown || result == kIdentifyIncomplete, "no match, no module");
        return;
    }
    Check(result >= 1 && result <= table.GetCount(), "a match gives its key");
    const size_t k = static_cast<size_t>(result) - 1;
    Check(e.matches[k], "the recognised version matches");
    Check(std::strcmp(text.GetString(), table.GetWritten(result).c_str()) == 0,
          "the text becomes the version as written");
    bool anyExact = false;
    size_t longest = 0;
    for (size_t i = 0; i < e.matches.size(); ++i) {
        anyExact = anyExact || e.exact[i];
        if (e.matches[i] && (e.exact[i] || !anyExact))
            longest = std::max(longest, table.GetLower(static_cast<int>(i) + 1).size());
    }
    Check(!anyExact || e.exact[k], "an exact record wins");
    if (!anyExact) Check(table.GetLower(result).size() == longest, "the longest match wins");
}

// The identification thread's way: append each chunk, evaluate, stop at a module.
void CheckChunked(const CVersionTable& table, const std::string& received, unsigned seed) {
    CDynString text;
    int32_t result = kIdentifyTooShort;
    for (size_t at = 0; at < received.size() && result < 1;) {
        seed = seed * 1103515245u + 12345u;
        size_t piece = 1 + (seed >> 16) % 300;
        piece = std::min(piece, received.size() - at);
        text.Append(received.substr(at, piece).c_str());
        at += piece;
        result = Identify(&table, text);
        const int length = text.GetString() ? static_cast<int>(std::strlen(text.GetString())) : 0;
        if (result < 1)
            Check(length <= 2 * table.GetLongest() + 1 + kIdentifyKeptText + 300 + 2 ||
                      std::strstr(text.GetString(), "\n\r") == text.GetString(),
                  "received text stays bounded");
    }
    if (received.size() >= static_cast<size_t>(kIdentifyMinLength) &&
        received.find("\n\r") != std::string::npos) {
        const Expectation e = Expect(table, received);
        bool found = false;
        for (int key = 1; key <= table.GetCount(); ++key)
            found = found || (e.matches[static_cast<size_t>(key) - 1] &&
                              !e.exact[static_cast<size_t>(key) - 1]);
        if (found) Check(result >= 1, "chunks recognise what the whole text does");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int count = data[0] % 8;
    const unsigned seed = data[1];
    // Versions separated by 0xFF; a version holds no line break, as a settings line cannot.
    std::vector<std::string> versions;
    size_t at = 2;
    for (int i = 0; i < count && at < size; ++i) {
        std::string version;
        while (at < size && data[at] != 0xFF) {
            const char c = static_cast<char>(data[at++]);
            if (c != '\n' && c != '\r' && c != 0) version += c;
        }
        ++at;
        versions.push_back(version);
    }
    std::string received;
    for (; at < size; ++at)
        received += data[at] == 0 ? ' ' : static_cast<char>(data[at]);
    ListOf list(versions);
    const CVersionTable table(list);
    CheckWhole(table, received);
    CheckChunked(table, received, seed);
    return 0;
}
