// The real program, started in a fresh folder and used from outside.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "gbk_literal.h"
#include "program_driver.h"
#include "product.h"
#include "resource.h"
#include "scratch_dir.h"
#include "text_conversion.h"

namespace {

std::string Entry(int i) {
    const std::string n = std::to_string(i);
    return Gbk(u8"词") + n + " [c" + n + "]" + Gbk(u8"解") + n + Gbk(u8"出处：书") + n +
           Gbk(u8"示例：无");
}

class ProgramTest : public ::testing::Test {
protected:
    void WriteDictionary(int count) {
        std::string file;
        for (int i = 0; i < count; ++i) file += Entry(i) + "\r\n";
        m_dir.Write(u8"成语.txt", file);
    }

    // What the stand-in browser has been handed so far.
    static std::string OpenedAddresses() {
        const char* log = std::getenv("QUENDRIL_URL_LOG");
        if (log == nullptr) return {};
        std::ifstream in(std::filesystem::path(e2e::HostPath(log)));
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    ScratchDir m_dir;
};

TEST_F(ProgramTest, BrowsesStopsAndIgnoresOkAndEnter) {
    WriteDictionary(3);
    e2e::ProgramDriver program(m_dir.Path());
    ASSERT_TRUE(program.WaitForMainWindow(true));

    const std::string start = program.Text(IDC_IDIOM);
    EXPECT_EQ(start.substr(0, 2), Gbk(u8"词"));
    const std::string n = start.substr(2);
    EXPECT_EQ(program.Text(IDC_PINYIN), " [c" + n + "]");
    EXPECT_EQ(program.Text(IDC_EXPLAIN), Gbk(u8"解") + n + Gbk(u8"\r\n\r\n出处：书") + n);

    for (int i = 0; i < 3; ++i) program.Click(IDC_NEXT);
    EXPECT_EQ(program.Text(IDC_IDIOM), Gbk(u8"词2"));
    for (int i = 0; i < 3; ++i) program.Click(IDC_PREV);
    EXPECT_EQ(program.Text(IDC_IDIOM), Gbk(u8"词1"));

    // Typed text stays through OK and Enter, and goes on the next click.
    program.SetText(IDC_IDIOM, L"自己写的");
    program.Click(IDOK);
    program.PressKey(VK_RETURN);
    program.Sync();
    EXPECT_EQ(program.Text(IDC_IDIOM), Gbk(u8"自己写的"));
    EXPECT_EQ(program.WaitForExit(0), -1) << "OK or Enter closed the program";
    program.Click(IDC_NEXT);
    EXPECT_EQ(program.Text(IDC_IDIOM), Gbk(u8"词2"));
}

// How often the home page was handed to the browser after `from` bytes.
std::size_t HomePageOpenings(const std::string& log, std::size_t from) {
    std::size_t count = 0;
    for (std::size_t at = log.find(QUENDRIL_HOME_PAGE, from); at != std::string::npos;
         at = log.find(QUENDRIL_HOME_PAGE, at + 1)) {
        ++count;
    }
    return count;
}

TEST_F(ProgramTest, EscapeAsksNoKeepsItYesLeavesAndOpensTheHomePageOnce) {
    WriteDictionary(5);
    const std::size_t openedBefore = OpenedAddresses().size();
    e2e::ProgramDriver program(m_dir.Path());
    ASSERT_TRUE(program.WaitForMainWindow(true));
    program.SetText(IDC_IDIOM, L"还没看完");

    program.PressKey(VK_ESCAPE);
    HWND box = program.WaitForWindow(L"确定");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(::GetWindow(box, GW_OWNER), program.Main());
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDNO, BN_CLICKED), 0);
    program.Sync();
    EXPECT_EQ(program.WaitForExit(300), -1) << "No closed the program";
    EXPECT_EQ(program.Text(IDC_IDIOM), Gbk(u8"还没看完"));

    program.PressKey(VK_ESCAPE);
    box = program.WaitForWindow(L"确定");
    ASSERT_NE(box, nullptr);
    // Up to here the browser may have had no address: No opens nothing.
    const std::size_t openedAfterNo = HomePageOpenings(OpenedAddresses(), openedBefore);
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
    EXPECT_EQ(program.WaitForExit(), 0);

    if (std::getenv("QUENDRIL_URL_LOG") == nullptr) {
        GTEST_SKIP() << "no stand-in browser to ask";
    }
    EXPECT_EQ(openedAfterNo, 0u);
    // Under Wine the stand-in is started by another process and may take a
    // moment; a second opening would follow the first.
    std::string opened;
    for (int i = 0; i < 100 && HomePageOpenings(opened, openedBefore) == 0; ++i) {
        ::Sleep(100);
        opened = OpenedAddresses();
    }
    ::Sleep(1000);
    EXPECT_EQ(HomePageOpenings(OpenedAddresses(), openedBefore), 1u) << opened;
}

TEST_F(ProgramTest, AboutOpensFromTheSystemMenuAndCloses) {
    WriteDictionary(5);
    e2e::ProgramDriver program(m_dir.Path());
    ASSERT_TRUE(program.WaitForMainWindow(true));
    const std::string shown = program.Text(IDC_IDIOM);

    for (UINT closeKey : {VK_ESCAPE, VK_RETURN}) {
        program.PostSysCommand(IDM_ABOUTBOX);
        HWND about = program.WaitForWindow(L"关于 Quendril成语学习软件");
        ASSERT_NE(about, nullptr);
        EXPECT_FALSE(::IsWindowEnabled(program.Main()));
        program.PressKey(closeKey);
        for (int i = 0; i < 200 && ::IsWindow(about); ++i) ::Sleep(20);
        EXPECT_FALSE(::IsWindow(about)) << "key " << closeKey;
        EXPECT_TRUE(::IsWindowEnabled(program.Main()));
    }
    EXPECT_EQ(program.Text(IDC_IDIOM), shown);
    EXPECT_EQ(program.WaitForExit(0), -1);
}

TEST_F(ProgramTest, MissingDictionaryShowsEmptyFields) {
    e2e::ProgramDriver program(m_dir.Path());
    ASSERT_TRUE(program.WaitForMainWindow(false));
    program.Click(IDC_NEXT);
    program.Click(IDC_PREV);
    EXPECT_EQ(program.Text(IDC_IDIOM) + program.Text(IDC_PINYIN) + program.Text(IDC_EXPLAIN), "");
    EXPECT_EQ(program.WaitForExit(0), -1);
}

// Every file of a folder with its size, time and bytes.
std::string Snapshot(const std::wstring& folder) {
    std::ostringstream listing;
    for (const auto& item : std::filesystem::recursive_directory_iterator(folder)) {
        listing << afx::WideToGbk(item.path().wstring());
        if (item.is_regular_file()) {
            std::ifstream in(item.path(), std::ios::binary);
            std::stringstream bytes;
            bytes << in.rdbuf();
            listing << ' ' << item.file_size() << ' '
                    << item.last_write_time().time_since_epoch().count() << ' '
                    << std::hash<std::string>{}(bytes.str());
        }
        listing << '\n';
    }
    return listing.str();
}

TEST_F(ProgramTest, WritesNothingInAReadOnlyWorkingFolder) {
    WriteDictionary(6);
    const std::wstring dictionary = (m_dir.Path() / L"成语.txt").wstring();
    ::SetFileAttributesW(dictionary.c_str(), FILE_ATTRIBUTE_READONLY);
    ::SetFileAttributesW(m_dir.Path().c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string before = Snapshot(m_dir.Path());

    {
        e2e::ProgramDriver program(m_dir.Path());
        ASSERT_TRUE(program.WaitForMainWindow(true));
        program.Click(IDC_NEXT);
        program.Click(IDC_PREV);
        program.PostSysCommand(IDM_ABOUTBOX);
        HWND about = program.WaitForWindow(L"关于 Quendril成语学习软件");
        ASSERT_NE(about, nullptr);
        program.PressKey(VK_ESCAPE);
        for (int i = 0; i < 200 && ::IsWindow(about); ++i) ::Sleep(20);
        program.PressKey(VK_ESCAPE);
        HWND box = program.WaitForWindow(L"确定");
        ASSERT_NE(box, nullptr);
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
        EXPECT_EQ(program.WaitForExit(), 0);
    }

    EXPECT_EQ(Snapshot(m_dir.Path()), before);
    ::SetFileAttributesW(m_dir.Path().c_str(), FILE_ATTRIBUTE_NORMAL);
    ::SetFileAttributesW(dictionary.c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
