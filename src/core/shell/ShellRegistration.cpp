// Writing and removing the shell registration files.
#include "core/shell/ShellRegistration.h"

#include "core/platform/Error.h"
#include "core/shell/DesktopEntry.h"
#include "core/shell/DesktopExec.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::shell {

namespace {

constexpr const char* kAudioTypes =
    "audio/mpeg;audio/x-ms-wma;audio/flac;audio/ogg;audio/x-vorbis+ogg;audio/x-opus+ogg;"
    "audio/mp4;audio/x-m4a;audio/x-wav;audio/x-aiff;audio/x-ape;audio/x-musepack;";

std::string ReadAll(const std::string& path, bool& exists) {
    std::ifstream in(path, std::ios::binary);
    exists = static_cast<bool>(in);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool MakeDirs(const std::string& dir) {
    if (dir.empty()) return true;
    struct stat st {};
    if (::stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    auto slash = dir.find_last_of('/');
    if (slash != std::string::npos && slash > 0 && !MakeDirs(dir.substr(0, slash))) return false;
    return ::mkdir(dir.c_str(), 0755) == 0 || errno == EEXIST;
}

// Writes through a temporary file in the same folder, so a reader never sees half a file.
bool WriteFile(const RegistrationFile& f) {
    auto slash = f.path.find_last_of('/');
    if (!MakeDirs(f.path.substr(0, slash))) return false;
    std::string tmp = f.path + ".velmora-new";
    int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const char* p = f.content.data();
    std::size_t left = f.content.size();
    bool ok = true;
    while (ok && left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) {
            p += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    ok = ::fchmod(fd, f.mode) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (ok && ::rename(tmp.c_str(), f.path.c_str()) == 0) return true;
    ::unlink(tmp.c_str());
    return false;
}

} // namespace

ShellRegistration::ShellRegistration(std::string program, std::string dataHome,
                                     std::string configHome)
    : program_(std::move(program)), dataHome_(std::move(dataHome)),
      configHome_(std::move(configHome)) {}

ShellRegistration ShellRegistration::ForEnvironment(std::string program) {
    const char* home = std::getenv("HOME");
    std::string homeDir = home ? home : "";
    const char* data = std::getenv("XDG_DATA_HOME");
    const char* config = std::getenv("XDG_CONFIG_HOME");
    return {std::move(program), data && *data ? data : homeDir + "/.local/share",
            config && *config ? config : homeDir + "/.config"};
}

std::string ShellQuote(std::string_view word) {
    std::string out = "'";
    for (char c : word) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    out += '\'';
    return out;
}

std::vector<RegistrationFile> ShellRegistration::Files() const {
    // Desktop-format files take the program as one Exec argument, value-escaped on top.
    const std::string exec = EscapeDesktopValue(QuoteExecArgument(program_));
    const std::string mark = std::string(kMark) + "=true\n";
    std::vector<RegistrationFile> files;

    const std::string apps = dataHome_ + "/applications/";
    files.push_back({apps + "velmora.desktop",
                     "[Desktop Entry]\n"
                     "Type=Application\n"
                     "Name=Velmora\n"
                     "GenericName=Batch File Renamer\n"
                     "Comment=Rename many files at once by editing their names as text\n"
                     "Icon=velmora\n"
                     "Exec=" +
                         exec +
                         " %f\n"
                         "Terminal=false\n"
                         "Categories=Utility;FileTools;\n"
                         "MimeType=" +
                         std::string(kAudioTypes) + "\n" + mark,
                     0644});
    files.push_back({apps + "velmora-folder.desktop",
                     "[Desktop Entry]\n"
                     "Type=Application\n"
                     "Name=Velmora\n"
                     "Comment=Rename the files of this folder\n"
                     "Icon=velmora\n"
                     "Exec=" +
                         exec +
                         " %f -x\n"
                         "Terminal=false\n"
                         "NoDisplay=true\n"
                         "MimeType=inode/directory;\n" +
                         mark,
                     0644});

    // Service menus of the KDE file manager; it insists on the executable bit.
    const std::string kio = dataHome_ + "/kio/servicemenus/";
    auto serviceMenu = [&](const std::string& mime, const std::string& args) {
        return "[Desktop Entry]\n"
               "Type=Service\n"
               "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
               "MimeType=" +
               mime +
               "\n"
               "Actions=velmora;\n" +
               mark +
               "\n[Desktop Action velmora]\n"
               "Name=Velmora\n"
               "Icon=velmora\n"
               "Exec=" +
               exec + " " + args + "\n";
    };
    files.push_back(
        {kio + "velmora-folder.desktop", serviceMenu("inode/directory;", "%f -x"), 0755});
    files.push_back({kio + "velmora-file.desktop", serviceMenu("all/allfiles;", "%f"), 0755});

    // Cinnamon's file manager: its own action files, paths quoted by it.
    const std::string nemo = dataHome_ + "/nemo/actions/";
    auto nemoAction = [&](const std::string& extensions, const std::string& args) {
        return "[Nemo Action]\n"
               "Name=Velmora\n"
               "Comment=Rename files with Velmora\n"
               "Icon-Name=velmora\n"
               "Exec=" +
               exec + " " + args +
               "\n"
               "Selection=s\n"
               "Extensions=" +
               extensions +
               "\n"
               "Quote=double\n" +
               mark;
    };
    files.push_back({nemo + "velmora-folder.nemo_action", nemoAction("dir;", "%F -x"), 0644});
    files.push_back({nemo + "velmora-file.nemo_action", nemoAction("nodirs;", "%F"), 0644});

    // File-manager actions (LXDE, LXQt): one entry, a profile per argument form.
    files.push_back({dataHome_ + "/file-manager/actions/velmora.desktop",
                     "[Desktop Entry]\n"
                     "Type=Action\n"
                     "Name=Velmora\n"
                     "Icon=velmora\n"
                     "Profiles=folder;file;\n" +
                         mark +
                         "\n[X-Action-Profile folder]\n"
                         "MimeTypes=inode/directory;\n"
                         "SelectionCount==1\n"
                         "Exec=" +
                         exec +
                         " %f -x\n"
                         "\n[X-Action-Profile file]\n"
                         "MimeTypes=all/allfiles;\n"
                         "SelectionCount==1\n"
                         "Exec=" +
                         exec + " %f\n",
                     0644});

    // GNOME's and MATE's file managers run scripts from a folder; the same script serves both.
    const std::string script =
        "#!/bin/sh\n"
        "# " +
        std::string(kMark) +
        ": written by Velmora's Shell Register, removed by Shell "
        "Unregister.\n"
        "# Opens Velmora on the selected folder (every file, extensions excluded) or file.\n"
        "prog=" +
        ShellQuote(program_) +
        "\n"
        "[ $# -ge 1 ] || exec \"$prog\"\n"
        "case $1 in /*) target=$1 ;; *) target=$PWD/$1 ;; esac\n"
        "if [ -d \"$target\" ]; then exec \"$prog\" \"$target\" -x; fi\n"
        "exec \"$prog\" \"$target\"\n";
    files.push_back({dataHome_ + "/nautilus/scripts/Velmora", script, 0755});
    files.push_back({configHome_ + "/caja/scripts/Velmora", script, 0755});
    return files;
}

ShellRegistration::Outcome ShellRegistration::Register() const {
    Outcome outcome;
    for (const RegistrationFile& f : Files()) {
        bool exists = false;
        std::string current = ReadAll(f.path, exists);
        if (exists && current.find(kMark) == std::string::npos) {
            outcome.foreign.push_back(f.path);
            continue;
        }
        struct stat st {};
        if (exists && current == f.content && ::stat(f.path.c_str(), &st) == 0 &&
            (st.st_mode & 07777) == f.mode)
            continue;
        if (!WriteFile(f))
            throw platform::Exception(platform::Format("Failed to open %s for writing.", {f.path}));
        outcome.written.push_back(f.path);
    }
    return outcome;
}

std::vector<std::string> ShellRegistration::Unregister() const {
    std::vector<std::string> removed;
    for (const RegistrationFile& f : Files()) {
        bool exists = false;
        std::string current = ReadAll(f.path, exists);
        if (!exists || current.find(kMark) == std::string::npos) continue;
        if (::unlink(f.path.c_str()) == 0) removed.push_back(f.path);
    }
    return removed;
}

} // namespace velmora::shell
