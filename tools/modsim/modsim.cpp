// Module simulator: plays a control module at the far end of a serial line, for the tests
// and for trying the program by hand. Talks to its line through a port of its own (plain
// POSIX calls), so that a fault of the program's port layer cannot hide at both ends.
//
//   modsim --port DEVICE [options]        (modsim --help lists them)
//
// After power-up it sends "\n\r", its version text and "\n\r". ESC is answered with ">".
// "HEXDWL\n\r" starts an upload: every line (up to a line feed) is recorded and
// acknowledged with 0x06; "RST\r" restarts the module. Otherwise it echoes, stays silent or
// streams a file. Commands appended to the control file, one a line: "power", "echo",
// "silent", "stream FILE", "prompt-delay MS", "send TEXT" (bytes as given, with \n, \r,
// \\ and \xHH), "quit".
// --ready FILE is created once the port is open; --stats FILE gets "sent N" (bytes written
// to the line) when it stops. --stream-rate 0 streams as fast as the line takes the bytes,
// and --stream-repeat plays the stream file again and again.
#include <sys/prctl.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "simport.h"

namespace {

using Clock = std::chrono::steady_clock;
using Ms = std::chrono::milliseconds;
using Us = std::chrono::microseconds;

const char kEsc = 27;
const char kAck = 6;
const char kUploadCommand[] = "HEXDWL\n\r";
const char kRestartCommand[] = "RST\r";

struct Options {
    std::string port;
    int baud = 9600;
    std::string versionIni;
    std::string versionKey = "1";
    std::string banner;
    std::string control;
    std::string record;
    std::string stream;
    std::string ready;
    std::string stats;
    std::string idle = "echo";
    int streamRate = 960; // bytes per second, 0 = as fast as the line takes them
    bool streamRepeat = false;
    int powerEvery = 0; // seconds, 0 = never
    bool powerOnDtr = false;
    bool powerAtStart = false;
    int promptDelay = 0;
    int ackDelay = 0;
    int paceBaud = 0; // acknowledge only after the line's wire time at this rate
    int maxLine = 0;  // an upload line also ends after this many bytes (0 = only at "\n")
    std::set<int> dropAck, doubleAck, garbageAck;
};

void Usage() {
    std::fputs(
        "usage: modsim --port DEVICE [--baud N] [--version-ini FILE [--version KEY] | --banner "
        "TEXT]\n"
        "              [--control FILE] [--record FILE] [--ready FILE] [--idle "
        "echo|silent|stream]\n"
        "              [--stream FILE] [--stream-rate BYTES_PER_S] [--stream-repeat]\n"
        "              [--stats FILE] [--power-at-start]\n"
        "              [--power-every S] [--power-on-dtr] [--prompt-delay MS]\n"
        "              [--ack-delay MS] [--pace-baud N] [--drop-ack L,..] [--double-ack L,..]\n"
        "              [--garbage-ack L,..] [--max-line N]\n",
        stderr);
    std::exit(2);
}

std::set<int> LineList(const char* text) {
    std::set<int> lines;
    std::stringstream in(text);
    std::string item;
    while (std::getline(in, item, ','))
        if (!item.empty()) lines.insert(std::atoi(item.c_str()));
    return lines;
}

// Options from MODSIM_OPTIONS (separated by blanks) go before the command line's, so that
// a program that starts simulators itself can be run against another kind of module.
std::vector<std::string> Arguments(int argc, char** argv) {
    std::vector<std::string> args;
    if (const char* extra = std::getenv("MODSIM_OPTIONS")) {
        std::stringstream in(extra);
        std::string word;
        while (in >> word)
            args.push_back(word);
    }
    args.insert(args.end(), argv + 1, argv + argc);
    return args;
}

Options Parse(const std::vector<std::string>& argv) {
    Options o;
    const size_t argc = argv.size();
    for (size_t i = 0; i < argc; i++) {
        std::string a = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) Usage();
            return argv[++i].c_str();
        };
        if (a == "--port")
            o.port = value();
        else if (a == "--baud")
            o.baud = std::atoi(value());
        else if (a == "--version-ini")
            o.versionIni = value();
        else if (a == "--version")
            o.versionKey = value();
        else if (a == "--banner")
            o.banner = value();
        else if (a == "--control")
            o.control = value();
        else if (a == "--record")
            o.record = value();
        else if (a == "--ready")
            o.ready = value();
        else if (a == "--idle")
            o.idle = value();
        else if (a == "--stream")
            o.stream = value();
        else if (a == "--stream-rate")
            o.streamRate = std::max(0, std::atoi(value()));
        else if (a == "--stream-repeat")
            o.streamRepeat = true;
        else if (a == "--stats")
            o.stats = value();
        else if (a == "--power-every")
            o.powerEvery = std::atoi(value());
        else if (a == "--power-on-dtr")
            o.powerOnDtr = true;
        else if (a == "--power-at-start")
            o.powerAtStart = true;
        else if (a == "--prompt-delay")
            o.promptDelay = std::atoi(value());
        else if (a == "--ack-delay")
            o.ackDelay = std::atoi(value());
        else if (a == "--pace-baud")
            o.paceBaud = std::atoi(value());
        else if (a == "--max-line")
            o.maxLine = std::atoi(value());
        else if (a == "--drop-ack")
            o.dropAck = LineList(value());
        else if (a == "--double-ack")
            o.doubleAck = LineList(value());
        else if (a == "--garbage-ack")
            o.garbageAck = LineList(value());
        else
            Usage();
    }
    if (o.port.empty()) Usage();
    return o;
}

// The value of one key in the [VER] section of version.ini.
std::string VersionFromIni(const std::string& path, const std::string& key) {
    std::ifstream in(path);
    std::string line;
    bool inSection = false;
    while (std::getline(in, line)) {
        line.erase(line.find_last_not_of("\r\n \t") + 1);
        if (!line.empty() && line[0] == '[') {
            inSection = line == "[VER]";
            continue;
        }
        auto eq = line.find('=');
        if (inSection && eq != std::string::npos && line.substr(0, eq) == key)
            return line.substr(eq + 1);
    }
    return std::string();
}

// Control-file text to bytes: \n, \r, \\ and \xHH; anything else stands for itself.
std::string Unescape(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); i++) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        if (c == 'n')
            out += '\n';
        else if (c == 'r')
            out += '\r';
        else if (c == 'x' && i + 2 < text.size() &&
                 std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
                 std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else
            out += c;
    }
    return out;
}

class Module {
public:
    Module(SimPort& port, const Options& options) : m_port(port), m_o(options) {
        m_version = !m_o.banner.empty()       ? m_o.banner
                    : !m_o.versionIni.empty() ? VersionFromIni(m_o.versionIni, m_o.versionKey)
                                              : "MODSIM simulated module v1.0";
        if (!m_o.record.empty()) m_record.open(m_o.record, std::ios::binary | std::ios::trunc);
        m_idle = m_o.idle;
        m_promptDelay = m_o.promptDelay;
        if (m_idle == "stream") StartStream(m_o.stream);
    }

    void Run() {
        if (m_o.powerAtStart) PowerUp();
        auto nextPower = Clock::now() + std::chrono::seconds(m_o.powerEvery);
        while (!m_quit && !m_port.Gone()) {
            m_port.Wait(WaitUs(), StreamWaiting());
            char data[4096];
            const long count = m_port.Read(data, sizeof data);
            for (long i = 0; i < count; i++)
                Receive(data[i]);
            if (count < 0) return;
            SendDue();
            Stream();
            PollControl();
            WatchDtr();
            if (m_o.powerEvery > 0 && Clock::now() >= nextPower) {
                PowerUp();
                nextPower = Clock::now() + std::chrono::seconds(m_o.powerEvery);
            }
        }
    }

    unsigned long long Sent() const { return m_sent; }

private:
    enum class State { Idle, Upload };

    void Schedule(Us delay, std::string bytes) {
        auto due = Clock::now() + delay;
        if (!m_out.empty()) due = std::max(due, m_out.back().first);
        m_out.emplace_back(due, std::move(bytes));
    }

    void SendDue() {
        while (!m_out.empty() && m_out.front().first <= Clock::now()) {
            const std::string& bytes = m_out.front().second;
            if (m_port.WriteAll(bytes.data(), bytes.size())) m_sent += bytes.size();
            m_out.pop_front();
        }
    }

    // The control file is read every 20 ms; a stream at a given rate wakes at its own pace;
    // output is due to the microsecond (an ACK paced by a line's wire time).
    Us WaitUs() const {
        Us wait = StreamWaiting() && m_o.streamRate > 0 ? Ms(5) : Ms(20);
        if (!m_out.empty()) {
            const auto left = std::chrono::ceil<Us>(m_out.front().first - Clock::now());
            wait = std::min(wait, std::max(Us(0), left));
        }
        return wait;
    }

    void PowerUp() {
        m_state = State::Idle;
        m_tail.clear();
        m_out.clear();
        m_port.Purge();
        Schedule(Us(0), "\n\r" + m_version + "\n\r");
    }

    void Receive(char c) {
        m_tail.push_back(c);
        if (m_tail.size() > 16) m_tail.erase(0, m_tail.size() - 16);
        if (EndsWith(kRestartCommand)) {
            PowerUp();
            return;
        }
        if (m_state == State::Upload) {
            UploadByte(c);
            return;
        }
        if (EndsWith(kUploadCommand)) {
            m_state = State::Upload;
            m_line.clear();
            m_lineNumber = 0;
            return;
        }
        if (c == kEsc)
            Schedule(Ms(m_promptDelay), ">");
        else if (m_idle == "echo")
            Schedule(Us(0), std::string(1, c));
    }

    void UploadByte(char c) {
        m_line.push_back(c);
        const bool full = m_o.maxLine > 0 && m_line.size() >= static_cast<size_t>(m_o.maxLine);
        if (c != '\n' && !full) return;
        ++m_lineNumber;
        if (m_record.is_open()) {
            m_record << m_line;
            m_record.flush();
        }
        Us delay = Ms(m_o.ackDelay);
        if (m_o.paceBaud > 0) // ten bits a byte on the wire
            delay += Us(static_cast<long long>(m_line.size()) * 10 * 1000000 / m_o.paceBaud);
        m_line.clear();
        if (m_o.dropAck.count(m_lineNumber)) return;
        std::string ack(1, m_o.garbageAck.count(m_lineNumber) ? '?' : kAck);
        if (m_o.doubleAck.count(m_lineNumber)) ack += ack;
        Schedule(delay, ack);
    }

    bool EndsWith(const char* text) const {
        size_t n = std::strlen(text);
        return m_tail.size() >= n && m_tail.compare(m_tail.size() - n, n, text) == 0;
    }

    void StartStream(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        m_stream.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        m_streamAt = 0;
        m_streamStart = Clock::now();
        m_idle = "stream";
    }

    bool StreamWaiting() const { return m_idle == "stream" && m_streamAt < m_stream.size(); }

    // At a rate, what is due by now is written whole; at rate 0 whatever the line takes.
    void Stream() {
        if (!StreamWaiting()) return;
        if (m_o.streamRate == 0) {
            const long n =
                m_port.WriteSome(m_stream.data() + m_streamAt, m_stream.size() - m_streamAt);
            if (n > 0) {
                m_streamAt += static_cast<size_t>(n);
                m_sent += static_cast<size_t>(n);
            }
        } else {
            auto elapsed = std::chrono::duration_cast<Ms>(Clock::now() - m_streamStart).count();
            size_t due = std::min(m_stream.size(), static_cast<size_t>(elapsed) *
                                                       static_cast<size_t>(m_o.streamRate) / 1000);
            if (due > m_streamAt && m_port.WriteAll(m_stream.data() + m_streamAt, due - m_streamAt))
                m_sent += due - m_streamAt;
            m_streamAt = std::max(m_streamAt, due);
        }
        if (m_o.streamRepeat && !m_stream.empty() && m_streamAt >= m_stream.size()) {
            m_streamAt = 0;
            m_streamStart = Clock::now();
        }
    }

    void PollControl() {
        if (m_o.control.empty()) return;
        std::ifstream in(m_o.control, std::ios::binary);
        if (!in) return;
        in.seekg(static_cast<std::streamoff>(m_controlAt));
        std::string line;
        while (std::getline(in, line)) {
            if (in.eof()) break; // an unfinished line waits for its line feed
            m_controlAt += line.size() + 1;
            Command(line);
        }
    }

    void Command(const std::string& line) {
        if (line == "power")
            PowerUp();
        else if (line == "quit")
            m_quit = true;
        else if (line == "echo" || line == "silent")
            m_idle = line;
        else if (line.rfind("stream ", 0) == 0)
            StartStream(line.substr(7));
        else if (line.rfind("prompt-delay ", 0) == 0)
            m_promptDelay = std::atoi(line.c_str() + 13);
        else if (line.rfind("send ", 0) == 0)
            Schedule(Us(0), Unescape(line.substr(5)));
    }

    // Our DSR is the other end's DTR: a rising DTR there powers the module up.
    void WatchDtr() {
        if (!m_o.powerOnDtr) return;
        bool dsr = false;
        if (!m_port.Dsr(dsr)) return;
        if (dsr && !m_dsr) PowerUp();
        m_dsr = dsr;
    }

    SimPort& m_port;
    const Options& m_o;
    std::string m_version;
    std::ofstream m_record;
    std::string m_idle;
    int m_promptDelay = 0;
    State m_state = State::Idle;
    std::string m_tail;
    std::string m_line;
    int m_lineNumber = 0;
    std::deque<std::pair<Clock::time_point, std::string>> m_out;
    std::string m_stream;
    size_t m_streamAt = 0;
    Clock::time_point m_streamStart;
    size_t m_controlAt = 0;
    bool m_dsr = true;
    bool m_quit = false;
    unsigned long long m_sent = 0;
};

} // namespace

int main(int argc, char** argv) {
    Options options = Parse(Arguments(argc, argv));
    // A module answers when its time comes, not up to the 50 us a timer may be late by.
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    SimPort port;
    if (!port.Open(options.port, options.baud)) {
        std::fprintf(stderr, "modsim: cannot open %s at %d baud: %s\n", options.port.c_str(),
                     options.baud, port.Error().c_str());
        return 1;
    }
    Module module(port, options);
    // Tells whoever started us that the port is ours (written data is no longer purged).
    if (!options.ready.empty()) std::ofstream(options.ready) << "ready\n";
    module.Run();
    if (!options.stats.empty()) std::ofstream(options.stats) << "sent " << module.Sent() << "\n";
    return 0;
}
