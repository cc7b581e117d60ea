// CDynString driven by a sequence of operations and compared after each with a plain model:
// the text, the capacity by the doubling rule, and every result code.
#include "dynstring.h"
#include "fuzzcheck.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace {

const size_t kOwnAppendLimit = 1 << 20;

class Input {
public:
    Input(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}
    bool Empty() const { return m_size == 0; }
    int Byte() {
        if (m_size == 0) return 0;
        --m_size;
        return *m_data++;
    }
    int Small() { return Byte() - 8; } // -8 ... 247: counts and positions, a few negative
    std::string Text() {
        std::string text;
        for (int n = Byte() % 48; n > 0 && m_size > 0; --n) {
            const char c = static_cast<char>(Byte());
            text += c == 0 ? ' ' : c;
        }
        return text;
    }

private:
    const uint8_t* m_data;
    size_t m_size;
};

// The string as the rules say it must be.
struct Model {
    bool buffer = false;
    int capacity = 0;
    std::string text;

    int Init(int n) {
        if (buffer && n < capacity) {
            text.clear();
            return 1;
        }
        buffer = false;
        capacity = 0;
        text.clear();
        if (n < 0) return 0;
        buffer = true;
        capacity = 2 * n;
        return 1;
    }
    int InitText(const std::string& t) {
        const int length = static_cast<int>(t.size());
        if (!Init(length > 16 ? length : 16)) return 0;
        text = t;
        return 1;
    }
};

bool IsWhite(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

void Compare(const CDynString& s, const Model& m) {
    Check((s.GetString() != nullptr) == m.buffer, "buffer present");
    Check(s.GetCapacity() == m.capacity, "capacity by the doubling rule");
    if (m.buffer) {
        Check(std::strlen(s.GetString()) <= static_cast<size_t>(s.GetCapacity()),
              "text inside the capacity");
        Check(s.GetString() == m.text, "text");
    }
    Check(s.IsEmpty() == m.text.empty(), "empty");
}

int FindIndex(CDynString& s, char c, int start, bool reverse) {
    const char* hit = reverse ? s.FindCharReverse(c, start) : s.FindChar(c, start);
    return hit == nullptr ? -1 : static_cast<int>(hit - s.GetString());
}

int ModelFind(const Model& m, char c, int start, bool reverse) {
    if (!m.buffer || start < 0 || static_cast<int>(m.text.size()) < start) return -1;
    if (c == 0) return static_cast<int>(m.text.size());
    const size_t at = reverse ? m.text.rfind(c) : m.text.find(c, static_cast<size_t>(start));
    if (at == std::string::npos || static_cast<int>(at) < start) return -1;
    return static_cast<int>(at);
}

int ModelReplace(Model& m, const std::string& find, const std::string& repl, int start) {
    if (!m.buffer) return -1;
    const int len = static_cast<int>(m.text.size());
    if (start < 0 || start >= len) return -2;
    if (find.empty()) return 0;
    const size_t pos = m.text.find(find, static_cast<size_t>(start));
    if (pos == std::string::npos) return 0;
    const int r = static_cast<int>(repl.size());
    if (len + r - static_cast<int>(find.size()) >= m.capacity) m.capacity = 2 * (len + r);
    m.text.replace(pos, find.size(), repl);
    return 1;
}

int ModelTrimLeft(Model& m) {
    if (!m.buffer) return 0;
    size_t first = 0;
    while (first < m.text.size() && IsWhite(m.text[first]))
        ++first;
    if (first < m.text.size()) m.text.erase(0, first);
    return 1;
}

int ModelTrimRight(Model& m) {
    if (!m.buffer) return 0;
    while (!m.text.empty() && IsWhite(m.text.back()))
        m.text.pop_back();
    return 1;
}

int ModelFormat(Model& m, const std::string& formatted, int formatLength) {
    if (!m.buffer) m.Init(2 * formatLength > 16 ? 2 * formatLength : 16);
    while (static_cast<int>(formatted.size()) > m.capacity)
        m.capacity = 4 * m.capacity + 2;
    m.text = formatted;
    return 1;
}

void Step(Input& in, CDynString& s, Model& m) {
    const int op = in.Byte() % 16;
    switch (op) {
    case 0: {
        const int n = in.Small();
        Check(s.InitBuffer(n) == m.Init(n), "InitBuffer(n)");
        break;
    }
    case 1: {
        const std::string t = in.Text();
        Check(s.InitBuffer(t.c_str()) == m.InitText(t), "InitBuffer(text)");
        break;
    }
    case 2: {
        const std::string t = in.Text();
        const int count = in.Small() % 50;
        int expected = 0;
        if (count >= 0 && static_cast<int>(t.size()) >= count) {
            expected = m.Init(count);
            m.text = t.substr(0, static_cast<size_t>(count));
        }
        Check(s.SetString(t.c_str(), count) == expected, "SetString");
        break;
    }
    case 3: {
        const std::string t = in.Text();
        const int pos = in.Small();
        int expected = 0;
        if (m.buffer && pos >= 0 && pos + static_cast<int>(t.size()) <= m.capacity) {
            expected = 1;
            if (pos > static_cast<int>(m.text.size())) {
                // What stands between the old end and pos is not fixed: take it as it is.
                Check(s.SetStringAt(t.c_str(), pos) == 1, "SetStringAt past the end");
                m.text = s.GetString();
                Check(m.text.size() <= static_cast<size_t>(pos) + t.size(), "SetStringAt end");
                return;
            }
            m.text = m.text.substr(0, static_cast<size_t>(pos)) + t;
        }
        Check(s.SetStringAt(t.c_str(), pos) == expected, "SetStringAt");
        break;
    }
    case 4: {
        const std::string t = in.Text();
        int expected = 1;
        if (!m.buffer) {
            expected = m.InitText(t);
        } else {
            const int total = static_cast<int>(m.text.size() + t.size());
            if (total > m.capacity) m.capacity = 2 * total;
            m.text += t;
        }
        Check(s.Append(t.c_str()) == expected, "Append");
        break;
    }
    case 5:
    case 6: {
        const char c = static_cast<char>(in.Byte());
        const int start = in.Small();
        Check(FindIndex(s, c, start, op == 6) == ModelFind(m, c, start, op == 6), "FindChar");
        break;
    }
    case 7: {
        const char from = static_cast<char>(in.Byte()), to = static_cast<char>(in.Byte() | 1);
        int expected = -1;
        if (m.buffer) {
            const size_t at = from == 0 ? std::string::npos : m.text.find(from);
            expected = at == std::string::npos ? 0 : 1;
            if (expected == 1) m.text[at] = to;
        }
        Check(s.ReplaceChar(from, to) == expected, "ReplaceChar");
        break;
    }
    case 8: {
        const std::string find = in.Text(), repl = in.Text();
        const int start = in.Small();
        Check(s.Replace(find.c_str(), repl.c_str(), start) == ModelReplace(m, find, repl, start),
              "Replace");
        break;
    }
    case 9: Check(s.TrimLeft() == ModelTrimLeft(m), "TrimLeft"); break;
    case 10: Check(s.TrimRight() == ModelTrimRight(m), "TrimRight"); break;
    case 11: {
        const int right = ModelTrimRight(m), left = ModelTrimLeft(m);
        Check(s.Trim() == (right == 1 && left == 1 ? 1 : 0), "Trim");
        break;
    }
    case 12: {
        const std::string t = in.Text();
        const int number = in.Small();
        const std::string formatted = "<" + t + ":" + std::to_string(number) + ">";
        Check(s.Format("<%s:%d>", t.c_str(), number) == ModelFormat(m, formatted, 7), "Format");
        break;
    }
    case 13:
        s.FreeBuffer();
        m = Model();
        break;
    case 14: {
        // Sources inside the string's own buffer.
        if (!m.buffer) break;
        const int from = in.Byte() % (static_cast<int>(m.text.size()) + 1);
        const std::string tail = m.text.substr(static_cast<size_t>(from));
        // Appending its own text doubles the string: a few dozen steps would ask for more
        // memory than there is, where Append rightly fails.
        if ((in.Byte() & 1) && m.text.size() < kOwnAppendLimit) {
            Check(s.Append(s.GetString() + from) == 1, "Append own text");
            const int total = static_cast<int>(m.text.size() + tail.size());
            if (total > m.capacity) m.capacity = 2 * total;
            m.text += tail;
        } else {
            Check(s.InitBuffer(s.GetString() + from) == m.InitText(tail), "InitBuffer own text");
        }
        break;
    }
    default: {
        if (!m.buffer) break;
        const int from = in.Byte() % (static_cast<int>(m.text.size()) + 1);
        const int count = static_cast<int>(m.text.size()) - from;
        const std::string part = m.text.substr(static_cast<size_t>(from));
        Check(s.SetString(s.GetString() + from, count) == m.Init(count), "SetString own text");
        m.text = part;
        break;
    }
    }
    Compare(s, m);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Input in(data, size);
    CDynString s;
    Model m;
    Compare(s, m);
    for (int steps = 0; !in.Empty() && steps < 200; ++steps)
        Step(in, s, m);
    return 0;
}
