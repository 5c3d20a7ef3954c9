// A fresh temporary folder per test, removed with everything in it; whole files.
#pragma once
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

class TempDir {
public:
    TempDir() { if (mkdtemp(&path_[0]) == nullptr) std::abort(); }
    ~TempDir() { std::system(("rm -rf '" + path_ + "'").c_str()); }
    std::string File(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }

private:
    std::string path_ = "/tmp/lodestay-test-XXXXXX";
};

inline void WriteFile(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }

inline std::string ReadFile(const std::string& path)
{
    std::stringstream buffer;
    buffer << std::ifstream(path, std::ios::binary).rdbuf();
    return buffer.str();
}
