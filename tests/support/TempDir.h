// A real temporary directory for a test, removed with everything in it afterwards.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace velmora::test {

class TempDir {
public:
    // base: where to create it; the system's temporary folder when empty.
    explicit TempDir(const std::string& base = {}) {
        std::string tmpl =
            ((base.empty() ? std::filesystem::temp_directory_path() : std::filesystem::path(base)) /
             "velmora-test-XXXXXX")
                .string();
        char* p = ::mkdtemp(tmpl.data());
        if (!p) std::abort();
        path_ = p;
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // path + "/" : the form the workspace keeps its listed directory in.
    std::string Slash() const { return path_ + "/"; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

    void Write(const std::string& name, const std::string& content = "x") const {
        std::ofstream(path_ + "/" + name, std::ios::binary) << content;
    }
    std::string Read(const std::string& name) const {
        std::ifstream f(path_ + "/" + name, std::ios::binary);
        return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    }
    bool Exists(const std::string& name) const {
        std::error_code ec;
        return std::filesystem::exists(std::filesystem::symlink_status(path_ + "/" + name, ec));
    }

private:
    std::string path_;
};

} // namespace velmora::test
