#pragma once
// A scratch directory of the test's own, and whole-file reads and writes.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace halcyra::test {

class ScratchDir {
public:
    ScratchDir()
    {
        // Unique across the test programs that may run at once.
        static const auto started = std::chrono::steady_clock::now().time_since_epoch().count();
        static int sequence = 0;
        path_ = std::filesystem::temp_directory_path() /
                ("halcyra-test-" + std::to_string(started) + "-" + std::to_string(sequence++));
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchDir()
    {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string File(const std::string& name) const { return (path_ / name).string(); }
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(path_))
            names.push_back(e.path().filename().string());
        return names;
    }

private:
    std::filesystem::path path_;
};

inline std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

} // namespace halcyra::test
