// Settings files and what reading them must give, shared by the suites that check our
// reader and the platform's profile functions on the same files.
#pragma once

#include <string>
#include <vector>

namespace ini_cases {

struct Query {
    const char* section;
    const char* key;
    const char* expected; // null: absent
};

struct Case {
    const char* name;
    std::string content;
    std::vector<Query> queries;
};

template <size_t N> std::string Bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

inline std::vector<Case> All() {
    return {
        {"plain",
         "[LAST_SETTING]\r\nPortName=COM3\r\nEcho=false\r\n",
         {{"LAST_SETTING", "PortName", "COM3"},
          {"last_setting", "PORTNAME", "COM3"},
          {"LAST_SETTING", "Echo", "false"},
          {"LAST_SETTING", "Missing", nullptr},
          {"OTHER", "PortName", nullptr}}},
        {"blanks",
         "  [ Sec ]  \n  key  =  value with  spaces  \n\tTab\t=\tx\t\n",
         {{"Sec", "key", "value with  spaces"},
          {"Sec", "tab", "x"},
          {" Sec ", " key ", "value with  spaces"}}},
        {"quotes",
         "[s]\nq=\"quoted\"\nr='x'\nm=\"mixed'\none=\"\ninner=a\"b\"\n",
         {{"s", "q", "quoted"},
          {"s", "r", "x"},
          {"s", "m", "\"mixed'"},
          {"s", "one", "\""},
          {"s", "inner", "a\"b\""}}},
        {"empty values",
         "[s]\nk=\nlonely\nblank=   \n",
         {{"s", "k", nullptr}, {"s", "lonely", nullptr}, {"s", "blank", nullptr}}},
        {"first wins", "[s]\nk=1\nk=2\n[t]\nk=5\n", {{"s", "k", "1"}, {"t", "k", "5"}}},
        {"outside sections", "k=v\n[s]\nj=w\n", {{"s", "k", nullptr}, {"s", "j", "w"}}},
        {"line ends", "[s]\r\n\r\n\r\nk=v\r\n[t]\nk=w", {{"s", "k", "v"}, {"t", "k", "w"}}},
        {"equals in value", "[s]\nk = a=b\n=nokey\n", {{"s", "k", "a=b"}}},
        {"long value",
         "[s]\nk=" + std::string(3000, 'x') + "\n",
         {{"s", "k", nullptr}}}, // checked by length below
        {"garbage",
         Bytes("\x01\x02\n[s]\n\xff\xfe=zz\nk=\x80\x81v\n[\n]\nj=1\n"),
         {{"s", "k", "\x80\x81v"}}},
        {"empty file", "", {{"s", "k", nullptr}}},
    };
}

} // namespace ini_cases
