#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Ambrell.exe, built beside the test program.
std::string AmbrellPath();

bool FileExists(const std::string& path);
// The whole file; empty when it cannot be read.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);

// The music resource of a module, found the way Ambrell finds it.
std::string MusicResource(HMODULE hModule);

// Top-level and message-only windows owned by a process.
std::vector<HWND> WindowsOf(DWORD pid);

// A new empty folder under this process's temporary folder, removed with everything in it.
class TempFolder {
  public:
    // minLength pads the folder's path (without a trailing backslash) with nested folders to
    // exactly that many characters.
    explicit TempFolder(size_t minLength = 0);
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_strPath; }
    std::string MusicFile() const { return m_strPath + "\\playmp3_background.mp3"; }
    bool IsEmpty() const;

  private:
    std::string m_strRoot;
    std::string m_strPath;
};

// Points TMP and TEMP at a folder for this process and the processes it starts.
class ScopedTempVars {
  public:
    explicit ScopedTempVars(const std::string& folder);
    ~ScopedTempVars();
    ScopedTempVars(const ScopedTempVars&) = delete;
    ScopedTempVars& operator=(const ScopedTempVars&) = delete;

  private:
    struct Saved {
        const char* name;
        bool set;
        std::string value;
    };
    std::vector<Saved> m_saved;
};

// A running Ambrell.exe; a test that fails early leaves none behind.
class AmbrellProcess {
  public:
    AmbrellProcess();
    ~AmbrellProcess();
    AmbrellProcess(const AmbrellProcess&) = delete;
    AmbrellProcess& operator=(const AmbrellProcess&) = delete;

    bool Started() const { return m_pi.hProcess != nullptr; }
    DWORD Id() const { return m_pi.dwProcessId; }
    // Waits (bounded) until it first waits for messages. Under Wine that can happen inside the
    // multimedia start-up, before it reaches its own loop.
    bool WaitUntilIdle();
    bool IsRunning() const;
    // Posts WM_QUIT with the code to its thread; false unless it exits within the bound.
    bool Quit(WPARAM code, DWORD& exitCode);

  private:
    PROCESS_INFORMATION m_pi = {};
};
