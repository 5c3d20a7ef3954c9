// Temporary folders and whole files, for tests that must not depend on this machine's folders.
#pragma once
#include <string>

// A fresh folder under the system's temporary folder, removed with its contents.
class TempFolder {
public:
    explicit TempFolder(const char* tag = "lodestay");
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

private:
    std::string path_;
};

// Holds a file open without sharing while alive, as an editor or a backup program may: every
// other open of it fails, in this process as in any other.
class HeldFile {
public:
    explicit HeldFile(const std::string& path);
    ~HeldFile();
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool Held() const;

private:
    void* file_;
};

bool WriteTextFile(const std::string& path, const std::string& bytes);
std::string ReadTextFile(const std::string& path);

// Build paths arrive as host paths; Wine reaches them through drive Z:.
std::string WindowsPath(const std::string& path);
