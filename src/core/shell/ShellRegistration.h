// "Shell Register": the per-user files that put "Velmora" on file managers' context menus.
#pragma once

#include <string>
#include <vector>

namespace velmora::shell {

struct RegistrationFile {
    std::string path;
    std::string content;
    unsigned mode = 0644;
};

class ShellRegistration {
public:
    // program: the absolute path of the running program. dataHome and configHome: the user's
    // XDG_DATA_HOME and XDG_CONFIG_HOME.
    ShellRegistration(std::string program, std::string dataHome, std::string configHome);
    static ShellRegistration ForEnvironment(std::string program);

    // Every file with its content: a desktop entry per argument form (files: "velmora FILE",
    // folders: "velmora FOLDER -x"), service menus, file-manager actions and scripts.
    std::vector<RegistrationFile> Files() const;

    struct Outcome {
        std::vector<std::string> written; // created or changed
        std::vector<std::string> foreign; // a file of someone else stands at our name: kept
    };
    // Writes each file whose content or mode differs. Raises platform::Exception "Failed to
    // open %s for writing." with the first file that cannot be written.
    Outcome Register() const;
    // Removes the files that carry our mark; anything else, also at our names, stays.
    std::vector<std::string> Unregister() const;

    // The mark every file we write carries.
    static constexpr const char* kMark = "X-Velmora-Shell-Register";

private:
    std::string program_, dataHome_, configHome_;
};

// A word for a POSIX shell script: in single quotes, a quote inside as '\''.
std::string ShellQuote(std::string_view word);

} // namespace velmora::shell
