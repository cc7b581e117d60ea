#include "buffer_helpers.h"
#include "interpreter.h"
#include "keys.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

using terminal_test::Attr;
using terminal_test::Put;
using terminal_test::Row;
using terminal_test::Snapshot;
using terminal_test::Take;

namespace {

class InterpreterTest : public ::testing::Test {
protected:
    void SetUp() override {
        buffer = std::make_unique<CStdBuffer>();
        buffer->Init();
        interpreter = std::make_unique<CInterpreter>(*buffer);
    }
    void Feed(const std::string& bytes, int mode = kEscapeAnsi, int hex = 0) {
        interpreter->Interpret(bytes.data(), static_cast<int>(bytes.size()), mode, hex);
    }
    std::unique_ptr<CStdBuffer> buffer;
    std::unique_ptr<CInterpreter> interpreter;
};

TEST_F(InterpreterTest, FormFeedClearsOnlyInAnsiMode) {
    Feed("abc\f", kEscapeAnsi);
    EXPECT_EQ(Row(*buffer, 0), "");
    EXPECT_EQ(buffer->GetColumn(), 0);
    Feed("abc\f", kEscapeMaker);
    EXPECT_EQ(Row(*buffer, 0), "abc");
    EXPECT_EQ(buffer->GetColumn(), 4);
    Feed("\f", kEscapeNone);
    EXPECT_EQ(buffer->GetColumn(), 5);
}

TEST_F(InterpreterTest, EraseSequences) {
    Feed("one\r\ntwo\r\nthree\x1b[2;2H");
    EXPECT_EQ(buffer->GetRow(), 1);
    EXPECT_EQ(buffer->GetColumn(), 1);
    Feed("\x1b[1J");
    EXPECT_EQ(Row(*buffer, 0), "");
    EXPECT_EQ(Row(*buffer, 1), " wo");
    Feed("\x1b[J");
    EXPECT_EQ(Row(*buffer, 1), "");
    EXPECT_EQ(Row(*buffer, 2), "");
    Feed("abc\x1b[2;3H\x1b[0J");
    EXPECT_EQ(Row(*buffer, 1), " a");
    Feed("x\x1b[2J");
    EXPECT_EQ(Row(*buffer, 0), "");
    EXPECT_EQ(buffer->GetRow(), 0);
    Feed("abcdef\x1b[1;3H\x1b[5K");
    EXPECT_EQ(Row(*buffer, 0), "ab");
    Feed("\x1b[9J"); // unknown parameter: nothing
    EXPECT_EQ(Row(*buffer, 0), "ab");
}

TEST_F(InterpreterTest, SequencesSplitOrInterruptedStillWork) {
    Feed("text\x1b[2");
    EXPECT_TRUE(interpreter->InEscape());
    Feed("J");
    EXPECT_EQ(Row(*buffer, 0), "");
    EXPECT_FALSE(interpreter->InEscape());
    Feed("text\x1b\r[2J"); // the carriage return inside is dropped
    EXPECT_EQ(Row(*buffer, 0), "");
    Feed("ab\x1b[\x1b"
         "1;31mX"); // a second escape inside is ignored
    EXPECT_EQ(Row(*buffer, 0), "abX");
    EXPECT_EQ(Attr(*buffer, 0, 2), 0x71);
}

TEST_F(InterpreterTest, CursorSequencesCountFromOne) {
    Feed("\x1b[10;20H");
    EXPECT_EQ(buffer->GetRow(), 9);
    EXPECT_EQ(buffer->GetColumn(), 19);
    Feed("\x1b[3A");
    EXPECT_EQ(buffer->GetRow(), 7);
    Feed("\x1b[A\x1b[1A");
    EXPECT_EQ(buffer->GetRow(), 7);
    Feed("\x1b[4B\x1b[6C\x1b[11D");
    EXPECT_EQ(buffer->GetRow(), 10);
    EXPECT_EQ(buffer->GetColumn(), 14);
    Feed("\x1b[H\x1b[5H\x1b[0;0f\x1b[5001;1H\x1b[1;81f");
    EXPECT_EQ(buffer->GetRow(), 10);
    EXPECT_EQ(buffer->GetColumn(), 14);
    Feed("\x1b[5000;80f");
    EXPECT_EQ(buffer->GetRow(), 4999);
    EXPECT_EQ(buffer->GetColumn(), 79);
    Feed("\x1b[99999999H"); // absurd numbers are refused, not wrapped
    EXPECT_EQ(buffer->GetRow(), 4999);
}

TEST_F(InterpreterTest, AbandonedSequencesAreShownAsText) {
    Feed("\x1b[?25hX");
    EXPECT_EQ(Row(*buffer, 0), "[?25hX");
    Feed("\r\n\x1b(B");
    EXPECT_EQ(Row(*buffer, 1), "(B");
    Feed("\r\n\x1b[12345678"); // nine characters: still open
    EXPECT_TRUE(interpreter->InEscape());
    EXPECT_EQ(Row(*buffer, 2), "");
    Feed("9"); // the tenth is no final
    EXPECT_FALSE(interpreter->InEscape());
    EXPECT_EQ(Row(*buffer, 2), "[123456789");
    Feed("\r\n\x1b"
         "cab!"); // ESC c opens a sequence that the "!" abandons
    EXPECT_EQ(Row(*buffer, 3), "cab!");
    Feed("\r\n\x1b[1;2s\x1b[4l\x1b[=1h\x1b[p\x1b[u"); // consumed without effect
    EXPECT_EQ(Row(*buffer, 4), "");
    EXPECT_EQ(buffer->GetRow(), 4);
    Feed("\x1bK"); // a final right after the escape byte
    EXPECT_FALSE(interpreter->InEscape());
}

TEST_F(InterpreterTest, EscapeIsPlainInHexAndModeZero) {
    Feed("\x1b[2J", kEscapeAnsi, 1);
    EXPECT_EQ(Row(*buffer, 0).substr(0, 12), "1B 5B 32 4A ");
    EXPECT_EQ(Row(*buffer, 0).substr(48), "|  [2J");
    buffer->Clear();
    Feed("\x1b[1mA", kEscapeNone);
    EXPECT_EQ(Row(*buffer, 0), " [1mA");
    EXPECT_FALSE(interpreter->InEscape());
}

TEST_F(InterpreterTest, EchoIsSilverAndNotInterpreted) {
    buffer->SetAttribute(0x74);
    const unsigned char typed[] = {'A', 'B', '\r'};
    for (unsigned char c : typed)
        EchoToBuffer(*buffer, &c, 1, 0, true);
    EXPECT_EQ(Row(*buffer, 0), "AB");
    EXPECT_EQ(Attr(*buffer, 0, 0), 0x78);
    EXPECT_EQ(buffer->GetRow(), 1);
    EXPECT_EQ(buffer->GetColumn(), 0);
    EXPECT_EQ(buffer->GetAttribute(), 0x74);
    EchoToBuffer(*buffer, typed, 3, 0, false);
    EXPECT_EQ(buffer->GetRow(), 1);
    EXPECT_EQ(buffer->GetColumn(), 0);
    const unsigned char sequence[] = {27, '[', '2', 'J'};
    EchoToBuffer(*buffer, sequence, 4, 0, false);
    EXPECT_EQ(Row(*buffer, 1), " [2J");
    EchoToBuffer(*buffer, typed + 2, 1, 1, true); // hex display: the carriage return as 0D
    EXPECT_EQ(Row(*buffer, 1).substr(4, 2), "0D");
}

TEST(KeyTranslation, ByEscapeMode) {
    unsigned char out[3] = {};
    ASSERT_EQ(TranslateKeyRelease(kEscapeAnsi, kKeyUp, out), 3);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(out), 3), "\x1b[A");
    ASSERT_EQ(TranslateKeyRelease(kEscapeAnsi, kKeyLeft, out), 3);
    EXPECT_EQ(out[2], 'D');
    EXPECT_EQ(TranslateKeyRelease(kEscapeAnsi, kKeyShift, out), 0);
    const std::pair<int, int> maker[] = {
        {kKeyShift, 0x0F},     {kKeyControl, 0x7E},        {kKeyLeft, 0x13},   {kKeyUp, 0x05},
        {kKeyRight, 0x04},     {kKeyDown, 0x18},           {kKeyInsert, 0x16}, {kKeyDelete, 0x7F},
        {kKeyNumpadAdd, 0x2B}, {kKeyNumpadSubtract, 0x2D}, {kKeyF1, 0x81},     {kKeyF1 + 2, 0x83},
        {kKeyF5, 0x85},        {kKeyFullStop, 0x2E}};
    for (auto [key, byte] : maker) {
        ASSERT_EQ(TranslateKeyRelease(kEscapeMaker, key, out), 1) << key;
        EXPECT_EQ(out[0], byte) << key;
    }
    EXPECT_EQ(TranslateKeyRelease(kEscapeMaker, kKeyF5 + 1, out), 0);
    EXPECT_EQ(TranslateKeyRelease(kEscapeMaker, 'A', out), 0);
    EXPECT_EQ(TranslateKeyRelease(kEscapeNone, kKeyUp, out), 0);
}

// A received stream that exercises every path of the interpreter.
std::string MixedStream() {
    const char* pieces[] = {"Modul TX-200 verze 1.4",
                            "\r\n",
                            "\x1b[1;31m",
                            "chyba",
                            "\x1b[0m",
                            "\x1b[5;10H",
                            "\x1b[K",
                            "\x1b[2A",
                            "\x1b[J",
                            "\x1b[?25h",
                            "\x1b(B",
                            "\x1b[123456789012",
                            "\x1b\r[3C",
                            "\xC4\xDA\xB3",
                            "\x07\x08\t",
                            "\xE9\xE8",
                            "\x1b[7m",
                            "\x1b[44m",
                            "\x1b[1J",
                            "\x1b[12;70f",
                            "\x1b"
                            "E",
                            "\x1b[B",
                            "> ",
                            "\n",
                            "\x1b",
                            "[",
                            "2",
                            "\x1b[3;3s",
                            "\x1b[=h"};
    const int count = sizeof pieces / sizeof pieces[0];
    std::string stream;
    unsigned seed = 12345;
    while (stream.size() < 4600) {
        seed = seed * 1103515245u + 12345u;
        stream += pieces[(seed >> 16) % count];
        if ((seed >> 8) % 97 == 0) stream += "\f";
    }
    return stream;
}

Snapshot Replay(CStdBuffer& buffer, const std::string& stream, size_t chunk, int mode, int hex) {
    buffer.Init();
    CInterpreter interpreter(buffer);
    for (size_t at = 0; at < stream.size(); at += chunk)
        interpreter.Interpret(stream.data() + at,
                              static_cast<int>(std::min(chunk, stream.size() - at)), mode, hex);
    return Take(buffer, 200);
}

TEST(InterpreterChunks, EveryChunkSizeGivesTheSameScreen) {
    const std::string stream = MixedStream();
    auto buffer = std::make_unique<CStdBuffer>();
    const Snapshot whole = Replay(*buffer, stream, stream.size(), kEscapeAnsi, 0);
    ASSERT_GT(whole.used, 5);
    for (size_t chunk = 1; chunk <= 4096; ++chunk)
        ASSERT_TRUE(Replay(*buffer, stream, chunk, kEscapeAnsi, 0) == whole) << chunk;
    for (int mode : {kEscapeNone, kEscapeMaker})
        for (int hex : {0, 1}) {
            const Snapshot one = Replay(*buffer, stream, stream.size(), mode, hex);
            for (size_t chunk : {1, 2, 3, 5, 64, 4095})
                EXPECT_TRUE(Replay(*buffer, stream, chunk, mode, hex) == one)
                    << mode << " " << hex << " " << chunk;
        }
}

// The read thread may hand bytes over one by one or a chunk at a time, and the display
// options may change between stretches: the screen must not depend on either.
TEST(InterpreterChunks, ByteByByteAndOptionChangesGiveTheSameScreen) {
    const std::string stream = MixedStream();
    const int options[][2] = {{kEscapeAnsi, 0}, {kEscapeMaker, 0}, {kEscapeNone, 0},
                              {kEscapeAnsi, 1}, {kEscapeAnsi, 0},  {kEscapeNone, 1}};
    const size_t stretch = stream.size() / 6 + 1;
    auto chunked = std::make_unique<CStdBuffer>();
    auto bytewise = std::make_unique<CStdBuffer>();
    chunked->Init();
    bytewise->Init();
    CInterpreter byChunk(*chunked);
    CInterpreter byByte(*bytewise);
    for (size_t k = 0; k * stretch < stream.size(); ++k) {
        const std::string part = stream.substr(k * stretch, stretch);
        const auto [mode, hex] = options[k];
        byChunk.Interpret(part.data(), static_cast<int>(part.size()), mode, hex);
        for (char c : part)
            byByte.InterpretByte(static_cast<unsigned char>(c), mode, hex);
        ASSERT_TRUE(Take(*chunked) == Take(*bytewise)) << k;
        ASSERT_EQ(chunked->IsChanged(true), bytewise->IsChanged(true)) << k;
        ASSERT_EQ(byChunk.InEscape(), byByte.InEscape()) << k;
        ASSERT_STREQ(byChunk.GetSequence(), byByte.GetSequence()) << k;
    }
}

// Random streams at the end of the buffer (so that it scrolls), in every escape mode with
// the hex display on and off, with typed echoes between received stretches: byte-by-byte
// feeding (single bytes take their own short way into the buffer) must match chunked
// feeding, mark and changed flag included.
TEST(InterpreterChunks, RandomStreamsWithEchoesByteByByteOrChunked) {
    const char* pieces[] = {"\x1b[",      "\x1b[0m", "\x1b[1;33;41m",
                            "\x1b[7m",    "\x1b[K",  "\x1b[2J",
                            "\x1b[1J",    "\x1b[J",  "\x1b[4998;75H",
                            "\x1b[3;70H", "\x1b[2A", "\x1b[9C",
                            "\x1b[4D",    "\r\n",    "\n",
                            "\r",         "\b",      "\f",
                            "\t\xB3\xC4"};
    for (unsigned seed : {1u, 2u, 3u}) {
        std::mt19937 random(seed);
        auto chunked = std::make_unique<CStdBuffer>();
        auto bytewise = std::make_unique<CStdBuffer>();
        CInterpreter byChunk(*chunked);
        CInterpreter byByte(*bytewise);
        for (CStdBuffer* b : {chunked.get(), bytewise.get()}) {
            b->Init();
            b->GoTo(CStdBuffer::kLines - 3, 0);
        }
        for (int k = 0; k < 300; ++k) {
            std::string part;
            while (part.size() < 200) {
                const unsigned kind = random() % 6;
                if (kind < 3)
                    part.append(1 + random() % 90, static_cast<char>('a' + random() % 26));
                else if (kind < 5)
                    part += pieces[random() % (sizeof pieces / sizeof pieces[0])];
                else
                    part += static_cast<char>(random());
            }
            const int mode = static_cast<int>(random() % 3);
            const int hex = random() % 5 == 0 ? 1 : 0;
            for (size_t at = 0; at < part.size();) {
                const size_t n = std::min<size_t>(1 + random() % 150, part.size() - at);
                byChunk.Interpret(part.data() + at, static_cast<int>(n), mode, hex);
                at += n;
            }
            for (char c : part)
                byByte.InterpretByte(static_cast<unsigned char>(c), mode, hex);
            if (k % 7 == 0) {
                const bool typed = random() % 2 == 0;
                const auto* echo = reinterpret_cast<const unsigned char*>(part.data());
                EchoToBuffer(*chunked, echo, 20, hex, typed);
                EchoToBuffer(*bytewise, echo, 20, hex, typed);
            }
            ASSERT_EQ(chunked->IsChanged(true), bytewise->IsChanged(true)) << seed << " " << k;
            ASSERT_EQ(chunked->GetRow(), bytewise->GetRow()) << seed << " " << k;
            ASSERT_EQ(chunked->GetColumn(), bytewise->GetColumn()) << seed << " " << k;
            ASSERT_EQ(byChunk.InEscape(), byByte.InEscape()) << seed << " " << k;
        }
        EXPECT_TRUE(Take(*chunked) == Take(*bytewise)) << seed;
    }
}

TEST_F(InterpreterTest, OnlyWritesSetTheChangedFlag) {
    Feed("text\x1b[5;5H");
    EXPECT_EQ(buffer->IsChanged(true), 1);
    Feed("\x1b[1;31m\x1b[s\x1b[12"); // colours, an ignored final, an open sequence
    EXPECT_EQ(buffer->IsChanged(true), 0);
    Feed(";1H");
    EXPECT_EQ(buffer->IsChanged(true), 1);
    EXPECT_EQ(buffer->GetColumn(), 0);
    // A chunk that writes, scrolls and clears leaves one mark, on the cursor.
    Feed(std::string(6000, '\n') + "ab\fcd\x1b[3;7H" + std::string(100, 'x'));
    int marked = 0;
    for (int r = 0; r < CStdBuffer::kLines; ++r)
        for (int c = 0; c < CStdBuffer::kColumns; ++c)
            marked += buffer->GetLineAttributes(r)[c] == 0x07;
    EXPECT_EQ(marked, 1);
    EXPECT_EQ(Attr(*buffer, 3, 26), 0x70);
    EXPECT_EQ(buffer->GetLineAttributes(3)[26], 0x07);
}

} // namespace
