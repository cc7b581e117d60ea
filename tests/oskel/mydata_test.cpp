#include "mydata.h"
#include "process.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <sstream>
#include <string>

namespace {

namespace ts = testing_support;
namespace fs = std::filesystem;

#if defined(_WIN32)
const char kSep = '\\';
#else
const char kSep = '/';
#endif

std::map<std::string, std::string> Parse(const std::string& output) {
    std::map<std::string, std::string> values;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const auto eq = line.find('=');
        if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    return values;
}

// Runs the probe copied into a folder whose name has a space, from another folder.
class DataProbe : public ::testing::Test {
protected:
    void SetUp() override {
        root = ts::MakeTempFolder("tarlin data");
        programFolder = root + kSep + "Program Files";
        workFolder = root + kSep + "work";
        fs::create_directories(programFolder);
        fs::create_directories(workFolder);
        program = programFolder + kSep + DATA_PROBE;
        ASSERT_TRUE(ts::CopyFileTo(ts::OwnFolder() + DATA_PROBE, program));
#if defined(_WIN32)
        ASSERT_TRUE(
            ts::CopyFileTo(ts::OwnFolder() + "Oskel.dll", programFolder + kSep + "Oskel.dll"));
#endif
    }
    void TearDown() override {
        ts::RemoveTree(root);
    }

    std::map<std::string, std::string> Run(const std::string& first) {
        std::string output;
        EXPECT_EQ(ts::RunCapture(program, first, {}, workFolder, output), 0) << output;
        return Parse(output);
    }

    std::string root, programFolder, workFolder, program;
};

TEST_F(DataProbe, QuotedPathWithSpaces) {
    auto values = Run(program);
    EXPECT_EQ(values["init"], "1");
    EXPECT_EQ(fs::path(values["path"]), fs::canonical(workFolder));
    EXPECT_EQ(values["program"], std::string(1, kSep) + DATA_PROBE);
    EXPECT_EQ(values["alternative"], "1");
    EXPECT_EQ(values["folder"], programFolder);
    EXPECT_NE(values["user"], "<null>");
    EXPECT_FALSE(values["user"].empty());
#if defined(_WIN32)
    EXPECT_EQ(values["instance"], "set");
#endif
}

TEST_F(DataProbe, BareFileNameLeavesThePath) {
    auto values = Run(DATA_PROBE);
    EXPECT_EQ(values["init"], "1");
    EXPECT_EQ(values["program"], DATA_PROBE);
    EXPECT_EQ(values["alternative"], "1");
    EXPECT_EQ(values["folder"], values["path"]);
}

TEST(MyData, EmptyBeforeInitAndFirstInstanceWins) {
    CMyData data;
    EXPECT_EQ(data.GetPath(), nullptr);
    EXPECT_EQ(data.GetUserNameA(), nullptr);
    EXPECT_EQ(data.GetAppFileName(), nullptr);
    void* before = CMyData::GetInstanceDLL();
    int a = 0, b = 0;
    CMyData::SetInstanceDLL(&a);
    CMyData::SetInstanceDLL(&b);
    EXPECT_EQ(CMyData::GetInstanceDLL(), before != nullptr ? before : &a);
}

TEST(MyResourceObject, HoldsTheInstance) {
    int module = 0;
    CMyResourceObject holder(&module);
    EXPECT_EQ(holder.GetResourceInstance(), &module);
    holder.SetResourceInstance(nullptr);
    EXPECT_EQ(holder.GetResourceInstance(), nullptr);
    CMyObject::OutputDebugStringA("Okno je jiz vytvoreno.\n");
    CMyObject::OutputDebugStringA(nullptr);
}

} // namespace
