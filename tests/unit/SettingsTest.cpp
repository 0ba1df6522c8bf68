#include "Settings.h"
#include "SkinSupport.h"

#include <gtest/gtest.h>
#include <algorithm>
#include <cwctype>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

using namespace skintest;

namespace {

std::wstring ModuleDir() {
    CString strDir;
    GetModuleDir(strDir);
    return static_cast<LPCWSTR>(strDir);
}

std::wstring IniPath() {
    return ModuleDir() + L"Kovalt.ini";
}

void WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD cb = 0;
    WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &cb, nullptr);
    CloseHandle(h);
}

std::string ReadFileBytes(const std::wstring& path) {
    std::string out;
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE)
        return out;
    char buf[4096];
    DWORD cb = 0;
    while (ReadFile(h, buf, sizeof(buf), &cb, nullptr) && cb)
        out.append(buf, cb);
    CloseHandle(h);
    return out;
}

// The profile functions keep the last file they read: make them read ours afresh.
void ForgetCachedProfile() {
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, IniPath().c_str());
}

// Kovalt.ini beside this test program for the life of the object.
class IniFile {
  public:
    explicit IniFile(const std::string& bytes) {
        WriteFileBytes(IniPath(), bytes);
        ForgetCachedProfile();
    }
    IniFile(const IniFile&) = delete;
    ~IniFile() {
        DeleteFileW(IniPath().c_str());
        ForgetCachedProfile();
    }
};

std::string Utf16WithBom(const std::wstring& text) {
    std::string out = "\xFF\xFE";
    for (wchar_t ch : text) {
        out += static_cast<char>(ch & 0xFF);
        out += static_cast<char>(ch >> 8);
    }
    return out;
}

// Text in the system's ANSI code page; false when it cannot hold every character.
bool Ansi(const std::wstring& text, std::string* pOut) {
    BOOL bDefaulted = FALSE;
    int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, &bDefaulted);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &out[0], n, nullptr, &bDefaulted);
    out.resize(n - 1);
    *pOut = out;
    return !bDefaulted;
}

struct Settings {
    std::wstring gameName, fileName, params;
};

Settings ReadSettingsBesideUs() {
    CKovaltDlg dlg;
    GetModuleDir(dlg.m_strModuleDir);
    dlg.ReadSettings();
    return {static_cast<LPCWSTR>(dlg.m_strGameName), static_cast<LPCWSTR>(dlg.m_strFileName),
            static_cast<LPCWSTR>(dlg.m_strParams)};
}

std::string Narrow(const std::wstring& s) {
    int n =
        WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), nullptr, 0, nullptr, nullptr);
    std::string out(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& s) {
    int n = MultiByteToWideChar(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), nullptr, 0);
    std::wstring out(n, L'\0');
    MultiByteToWideChar(CP_UTF8, 0, s.c_str(), static_cast<int>(s.size()), &out[0], n);
    return out;
}

} // namespace

TEST(Settings, ModuleDirIsTheProgramsFolderWithATrailingBackslash) {
    std::wstring dir = ModuleDir();
    ASSERT_GT(dir.size(), 3u);
    EXPECT_EQ(L'\\', dir.back());
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW((dir + L"settings_tests.exe").c_str()));
    EXPECT_EQ(std::wstring::npos, dir.find(L"settings_tests.exe"));
    // It replaces what the string held.
    CString strDir = L"C:\\somewhere\\else\\";
    GetModuleDir(strDir);
    EXPECT_EQ(dir, static_cast<LPCWSTR>(strDir));
}

TEST(Settings, ReadsKovaltIniBesideTheProgram) {
    const std::wstring longName(300, L'长');
    const std::string eol = "\r\n";
    const struct {
        const char* what;
        std::string bytes; // empty: no file at all
        Settings expected;
    } cases[] = {
        {"ANSI",
         "[main]\r\nGameName=Kovalt Online\r\nFileName=game.exe\r\nCanShu=-window -fps 60\r\n",
         {L"Kovalt Online", L"game.exe", L"-window -fps 60"}},
        {"UTF-16 with BOM, Chinese",
         Utf16WithBom(L"[main]\r\nGameName=翎川传奇\r\nFileName=游戏\\启动.exe\r\nCanShu=-服务器 一区\r\n"),
         {L"翎川传奇", L"游戏\\启动.exe", L"-服务器 一区"}},
        {"quoted values keep inner blanks and quotes",
         "[main]\r\nGameName=\"  Spaced  Name  \"\r\nFileName='bin\\game.exe'\r\nCanShu=\"-a \"x y\" "
         "-b\"\r\n",
         {L"  Spaced  Name  ", L"bin\\game.exe", L"-a \"x y\" -b"}},
        {"inner quotation marks only",
         "[main]\r\nCanShu=-name \"x y\" -z\r\n",
         {L"", L"", L"-name \"x y\" -z"}},
        {"blanks around values and keys",
         "[main]\r\n  GameName  =   Padded   \r\nFileName=\tgame.exe\t\r\n",
         {L"Padded", L"game.exe", L""}},
        {"names match without regard to case",
         "[MAIN]\r\ngamename=Upper\r\nFILENAME=G.EXE\r\ncanshu=-x\r\n",
         {L"Upper", L"G.EXE", L"-x"}},
        {"missing file", "", {L"", L"", L""}},
        {"missing section", "[other]\r\nGameName=Wrong\r\nFileName=wrong.exe\r\n", {L"", L"", L""}},
        {"missing keys", "[main]\r\nGameName=Only the name\r\n", {L"Only the name", L"", L""}},
        {"300 characters cut to 255",
         Utf16WithBom(L"[main]\r\nGameName=" + longName + L"\r\n"),
         {longName.substr(0, 255), L"", L""}},
        {"other sections ignored",
         "[before]\r\nGameName=Wrong1\r\n[main]\r\nGameName=Right\r\nOther=x\r\n[after]\r\nFileName=wrong."
         "exe\r\n",
         {L"Right", L"", L""}},
        {"junk bytes",
         std::string("\x01\x80\xFE\xFF\x00\x7F\xC3\x28\x9D\x00\x00\xAB\xCD\x10\x13", 15),
         {L"", L"", L""}},
        {"no final line break",
         "[main]\r\nFileName=game.exe\r\nGameName=Last line",
         {L"Last line", L"game.exe", L""}},
        {"Unix line breaks", "[main]\nGameName=Unix\nCanShu=-u\n", {L"Unix", L"", L"-u"}},
        {"very long lines",
         "[junk]\r\n" + std::string(70000, 'j') + "\r\n[main]\r\nGameName=" + std::string(70000, 'g') +
             "\r\nFileName=game.exe\r\n",
         {std::wstring(255, L'g'), L"game.exe", L""}},
        // Without the mark the file is ANSI text, cut up by the zero bytes: no settings, no crash.
        {"UTF-16 without byte-order mark",
         Utf16WithBom(L"[main]\r\nGameName=NoMark\r\n").substr(2),
         {L"", L"", L""}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::unique_ptr<IniFile> pIni;
        if (!c.bytes.empty())
            pIni = std::make_unique<IniFile>(c.bytes);
        else
            ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(IniPath().c_str()));
        Settings s = ReadSettingsBesideUs();
        EXPECT_EQ(Narrow(c.expected.gameName), Narrow(s.gameName));
        EXPECT_EQ(Narrow(c.expected.fileName), Narrow(s.fileName));
        EXPECT_EQ(Narrow(c.expected.params), Narrow(s.params));
    }
}

TEST(Settings, AnsiFileInTheSystemCodePage) {
    // A Chinese name where the code page holds one (936), accented Latin otherwise (1252).
    std::wstring name = L"翎川传奇";
    std::string bytes;
    if (!Ansi(name, &bytes)) {
        name = L"Café Müller";
        ASSERT_TRUE(Ansi(name, &bytes)) << "code page " << GetACP();
    }
    IniFile ini("[main]\r\nGameName=" + bytes + "\r\n");
    EXPECT_EQ(Narrow(name), Narrow(ReadSettingsBesideUs().gameName)) << "code page " << GetACP();
}

TEST(Settings, TheWindowReadsThemDuringInitialisation) {
    IniFile ini(Utf16WithBom(L"[main]\r\nGameName=翎川传奇\r\nFileName=game.exe\r\nCanShu=-x\r\n"));
    RunDialog([](CKovaltDlg& dlg) {
        EXPECT_EQ(ModuleDir(), static_cast<LPCWSTR>(dlg.m_strModuleDir));
        EXPECT_EQ(Narrow(L"翎川传奇"), Narrow(static_cast<LPCWSTR>(dlg.m_strGameName)));
        EXPECT_EQ(Narrow(L"game.exe"), Narrow(static_cast<LPCWSTR>(dlg.m_strFileName)));
        EXPECT_EQ(Narrow(L"-x"), Narrow(static_cast<LPCWSTR>(dlg.m_strParams)));
        dlg.PostMessage(WM_CLOSE);
    });
}

namespace {

// What the stand-in game wrote for each start.
struct GameRun {
    std::wstring exe, cwd, cmd;
};

class StandInGame {
  public:
    StandInGame() {
        wchar_t szTemp[MAX_PATH];
        GetTempPathW(MAX_PATH, szTemp);
        m_record =
            std::wstring(szTemp) + L"kovalt-standin-" + std::to_wstring(GetCurrentProcessId()) + L".txt";
        DeleteFileW(m_record.c_str());
        SetEnvironmentVariableW(L"KOVALT_STANDIN_RECORD", m_record.c_str());
    }
    StandInGame(const StandInGame&) = delete;
    ~StandInGame() {
        SetEnvironmentVariableW(L"KOVALT_STANDIN_RECORD", nullptr);
        DeleteFileW(m_record.c_str());
    }

    std::vector<GameRun> Runs() const {
        std::vector<GameRun> runs;
        std::istringstream in(ReadFileBytes(m_record));
        GameRun run;
        for (std::string line; std::getline(in, line);) {
            if (line == "--") {
                runs.push_back(run);
                run = GameRun();
            } else if (line.compare(0, 4, "exe=") == 0) {
                run.exe = Wide(line.substr(4));
            } else if (line.compare(0, 4, "cwd=") == 0) {
                run.cwd = Wide(line.substr(4));
            } else if (line.compare(0, 4, "cmd=") == 0) {
                run.cmd = Wide(line.substr(4));
            }
        }
        return runs;
    }

    // The game runs on its own: give it a while to write its record.
    std::vector<GameRun> WaitForRuns(size_t n) const {
        for (int i = 0; i < 200 && Runs().size() < n; ++i)
            Sleep(50);
        return Runs();
    }

  private:
    std::wstring m_record;
};

// The command line after the program's own name: what the game got as its parameters.
std::wstring ParamsOf(const std::wstring& cmd) {
    size_t end = cmd[0] == L'"' ? cmd.find(L'"', 1) + 1 : cmd.find(L' ');
    if (end == std::wstring::npos || end >= cmd.size())
        return L"";
    return cmd.substr(end + 1);
}

bool SamePath(std::wstring a, std::wstring b) {
    return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_EQUAL;
}

// A working folder of the launcher's that is not its own folder.
class ScopedCurrentDir {
  public:
    ScopedCurrentDir() {
        wchar_t sz[MAX_PATH];
        GetCurrentDirectoryW(MAX_PATH, sz);
        m_old = sz;
        GetTempPathW(MAX_PATH, sz);
        m_dir = std::wstring(sz) + L"kovalt work " + std::to_wstring(GetCurrentProcessId());
        CreateDirectoryW(m_dir.c_str(), nullptr);
        SetCurrentDirectoryW(m_dir.c_str());
    }
    ScopedCurrentDir(const ScopedCurrentDir&) = delete;
    ~ScopedCurrentDir() {
        SetCurrentDirectoryW(m_old.c_str());
        RemoveDirectoryW(m_dir.c_str());
    }
    const std::wstring& Dir() const { return m_dir; }

  private:
    std::wstring m_old, m_dir;
};

} // namespace

TEST(GameStart, StartsTheConfiguredFileWithItsParametersAsRead) {
    // A copy of the stand-in in a sub-folder with a blank in its name.
    const std::wstring subDir = ModuleDir() + L"game files";
    CreateDirectoryW(subDir.c_str(), nullptr);
    ASSERT_TRUE(CopyFileW((ModuleDir() + L"standin-game.exe").c_str(),
                          (subDir + L"\\standin-game.exe").c_str(), FALSE));

    const struct {
        const char* what;
        std::wstring ini;
        std::wstring exe;
        std::wstring params;
    } cases[] = {
        {"beside the launcher", L"FileName=standin-game.exe\r\nCanShu=-server 12 -window",
         L"standin-game.exe", L"-server 12 -window"},
        {"inner quotation marks kept", L"FileName=standin-game.exe\r\nCanShu=-name \"翎川 一区\" -x \"a b\"",
         L"standin-game.exe", L"-name \"翎川 一区\" -x \"a b\""},
        {"in a sub-folder", L"FileName=game files\\standin-game.exe\r\nCanShu=--sub",
         L"game files\\standin-game.exe", L"--sub"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        IniFile ini(Utf16WithBom(L"[main]\r\n" + c.ini + L"\r\n"));
        StandInGame game;
        ScopedCurrentDir cwd;
        CKovaltDlg dlg;
        GetModuleDir(dlg.m_strModuleDir);
        dlg.ReadSettings();
        dlg.StartGame();
        std::vector<GameRun> runs = game.WaitForRuns(1);
        ASSERT_EQ(1u, runs.size()) << "the game did not start";
        EXPECT_TRUE(SamePath(ModuleDir() + c.exe, runs[0].exe)) << Narrow(runs[0].exe);
        EXPECT_EQ(Narrow(c.params), Narrow(ParamsOf(runs[0].cmd))) << Narrow(runs[0].cmd);
        EXPECT_TRUE(SamePath(cwd.Dir(), runs[0].cwd))
            << "the game inherits the launcher's working folder, got " << Narrow(runs[0].cwd);
    }
    DeleteFileW((subDir + L"\\standin-game.exe").c_str());
    RemoveDirectoryW(subDir.c_str());
}

TEST(GameStart, TheLauncherStaysOpenAndStartsTheGameAgain) {
    IniFile ini("[main]\r\nGameName=Stand-in\r\nFileName=standin-game.exe\r\nCanShu=-again\r\n");
    StandInGame game;
    std::vector<GameRun> runs;
    bool bOpenAfterFirst = false, bOpenAfterSecond = false;
    RunDialog([&](CKovaltDlg& dlg) {
        dlg.StartGame();
        runs = game.WaitForRuns(1);
        bOpenAfterFirst = IsWindow(dlg.m_hWnd) && dlg.IsWindowVisible();
        dlg.StartGame();
        runs = game.WaitForRuns(2);
        bOpenAfterSecond = IsWindow(dlg.m_hWnd) && dlg.IsWindowVisible();
        dlg.PostMessage(WM_CLOSE);
    });
    EXPECT_TRUE(bOpenAfterFirst);
    EXPECT_TRUE(bOpenAfterSecond);
    ASSERT_EQ(2u, runs.size());
    for (const GameRun& run : runs)
        EXPECT_EQ("-again", Narrow(ParamsOf(run.cmd)));
}

namespace {

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam) {
    reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hWnd);
    return TRUE;
}

// A visible top-level window of another process, not in `before`, with this title.
HWND FindNewWindow(const std::vector<HWND>& before, const std::wstring& title) {
    std::vector<HWND> now;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&now));
    for (HWND hWnd : now) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hWnd, &pid);
        wchar_t sz[MAX_PATH] = L"";
        GetWindowTextW(hWnd, sz, MAX_PATH);
        if (pid != GetCurrentProcessId() && IsWindowVisible(hWnd) && title == sz &&
            std::find(before.begin(), before.end(), hWnd) == before.end())
            return hWnd;
    }
    return nullptr;
}

} // namespace

// With no settings the target is the launcher's folder itself: Wine's shell shows it in a folder
// window named after it. No game runs.
TEST(GameStart, WithoutSettingsTheShellOpensTheLaunchersFolder) {
    ASSERT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(IniPath().c_str()));
    std::wstring dir = ModuleDir();
    std::wstring folderName = dir.substr(0, dir.size() - 1);
    folderName = folderName.substr(folderName.rfind(L'\\') + 1);
    ASSERT_EQ(L"settings-run", folderName);

    StandInGame game;
    std::vector<HWND> before;
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&before));
    CKovaltDlg dlg;
    GetModuleDir(dlg.m_strModuleDir);
    dlg.ReadSettings();
    ASSERT_TRUE(dlg.m_strFileName.IsEmpty());
    dlg.StartGame();

    HWND hFolder = nullptr;
    for (int i = 0; i < 400 && !hFolder; ++i) {
        Sleep(50);
        hFolder = FindNewWindow(before, folderName);
    }
    ASSERT_NE(nullptr, hFolder) << "no folder window for " << Narrow(dir);
    // Close what we opened.
    PostMessageW(hFolder, WM_CLOSE, 0, 0);
    for (int i = 0; i < 200 && IsWindow(hFolder); ++i)
        Sleep(50);
    EXPECT_FALSE(IsWindow(hFolder));
    EXPECT_TRUE(game.Runs().empty());
}
