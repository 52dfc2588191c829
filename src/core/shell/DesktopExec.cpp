// Exec splitting and field-code expansion, without any shell.
#include "core/shell/DesktopExec.h"

#include "core/platform/PercentEncoding.h"

#include <cstdint>

namespace velmora::shell {

namespace {

struct Piece {
    char code = 0; // 0: literal text
    std::string text;
};
using Arg = std::vector<Piece>;

bool IsDeprecatedCode(char c) {
    return c == 'd' || c == 'D' || c == 'n' || c == 'N' || c == 'v' || c == 'm';
}
bool IsCode(char c) {
    return c == 'f' || c == 'F' || c == 'u' || c == 'U' || c == 'i' || c == 'c' || c == 'k';
}

void AddLiteral(Arg& arg, char c) {
    if (arg.empty() || arg.back().code != 0) arg.push_back({});
    arg.back().text += c;
}

std::vector<Arg> Tokenize(std::string_view exec) {
    std::vector<Arg> args;
    Arg current;
    bool inArg = false;
    auto finish = [&] {
        if (inArg) args.push_back(std::move(current));
        current.clear();
        inArg = false;
    };
    // A field code at exec[i] == '%'; returns the index of its last character.
    auto fieldCode = [&](std::size_t i) {
        if (i + 1 >= exec.size()) throw EDesktopExecError("A \"%\" ends the command.");
        char c = exec[i + 1];
        if (c == '%')
            AddLiteral(current, '%');
        else if (IsCode(c))
            current.push_back({c, {}});
        else if (!IsDeprecatedCode(c))
            throw EDesktopExecError(std::string("The command uses the unknown field code %") + c +
                                    ".");
        return i + 1;
    };
    for (std::size_t i = 0; i < exec.size(); ++i) {
        char c = exec[i];
        if (c == ' ' || c == '\t' || c == '\n') {
            finish();
            continue;
        }
        inArg = true;
        if (c == '"') {
            std::size_t j = i + 1;
            for (; j < exec.size() && exec[j] != '"'; ++j) {
                char q = exec[j];
                if (q == '\\' && j + 1 < exec.size()) {
                    char n = exec[j + 1];
                    if (n == '"' || n == '`' || n == '$' || n == '\\') {
                        AddLiteral(current, n);
                        ++j;
                        continue;
                    }
                }
                if (q == '%') {
                    j = fieldCode(j);
                    continue;
                }
                AddLiteral(current, q);
            }
            if (j >= exec.size()) throw EDesktopExecError("The command has an unclosed quote.");
            if (current.empty()) current.push_back({}); // "" is an empty argument
            i = j;
        } else if (c == '\'') {
            std::size_t end = exec.find('\'', i + 1);
            if (end == std::string_view::npos)
                throw EDesktopExecError("The command has an unclosed quote.");
            for (std::size_t j = i + 1; j < end; ++j)
                AddLiteral(current, exec[j]);
            if (current.empty()) current.push_back({});
            i = end;
        } else if (c == '\\' && i + 1 < exec.size()) {
            AddLiteral(current, exec[++i]);
        } else if (c == '%') {
            i = fieldCode(i);
        } else {
            AddLiteral(current, c);
        }
    }
    finish();
    return args;
}

std::string Join(const std::vector<std::string>& items) {
    std::string out;
    for (const std::string& s : items) {
        if (!out.empty()) out += ' ';
        out += s;
    }
    return out;
}

std::vector<std::string> Expand(const std::vector<Arg>& args, const ExecContext& ctx,
                                const std::vector<std::string>& files) {
    std::vector<std::string> uris;
    uris.reserve(files.size());
    for (const std::string& f : files)
        uris.push_back(FileUri(f));
    std::vector<std::string> out;
    for (const Arg& arg : args) {
        if (arg.empty()) continue; // only deprecated codes
        if (arg.size() == 1 && arg[0].code != 0) {
            switch (arg[0].code) {
            case 'F':
                out.insert(out.end(), files.begin(), files.end());
                continue;
            case 'U':
                out.insert(out.end(), uris.begin(), uris.end());
                continue;
            case 'f':
                if (!files.empty()) out.push_back(files.front());
                continue;
            case 'u':
                if (!uris.empty()) out.push_back(uris.front());
                continue;
            case 'i':
                if (!ctx.icon.empty()) {
                    out.emplace_back("--icon");
                    out.push_back(ctx.icon);
                }
                continue;
            default:
                break;
            }
        }
        std::string text;
        for (const Piece& p : arg) {
            switch (p.code) {
            case 0:
                text += p.text;
                break;
            case 'f':
                if (!files.empty()) text += files.front();
                break;
            case 'u':
                if (!uris.empty()) text += uris.front();
                break;
            case 'F':
                text += Join(files);
                break;
            case 'U':
                text += Join(uris);
                break;
            case 'i':
                text += ctx.icon;
                break;
            case 'c':
                text += ctx.name;
                break;
            case 'k':
                text += ctx.entryPath;
                break;
            default:
                break;
            }
        }
        out.push_back(std::move(text));
    }
    if (out.empty() || out.front().empty())
        throw EDesktopExecError("The command names no program.");
    return out;
}

} // namespace

std::vector<std::vector<std::string>> ExpandExec(std::string_view exec, const ExecContext& ctx) {
    std::vector<Arg> args = Tokenize(exec);
    // The program itself must be written out: a file to open is never run as the program.
    while (!args.empty() && args.front().empty())
        args.erase(args.begin());
    if (args.empty()) throw EDesktopExecError("The command names no program.");
    for (const Piece& p : args.front())
        if (p.code != 0) throw EDesktopExecError("The command names no program.");
    bool list = false;
    bool single = false;
    for (const Arg& arg : args)
        for (const Piece& p : arg) {
            list = list || p.code == 'F' || p.code == 'U';
            single = single || p.code == 'f' || p.code == 'u';
        }
    std::vector<std::vector<std::string>> commands;
    if (!list && single && ctx.files.size() > 1) {
        for (const std::string& file : ctx.files)
            commands.push_back(Expand(args, ctx, {file}));
    } else {
        commands.push_back(Expand(args, ctx, ctx.files));
    }
    return commands;
}

std::string QuoteExecArgument(std::string_view arg) {
    static constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`=%";
    bool plain = !arg.empty();
    for (char c : arg)
        plain = plain && kReserved.find(c) == std::string_view::npos;
    if (plain) return std::string(arg);
    std::string out = "\"";
    for (char c : arg) {
        if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
        if (c == '%')
            out += "%%"; // field codes are expanded inside quotes too
        else
            out += c;
    }
    out += '"';
    return out;
}

std::string FileUri(std::string_view path) {
    return "file://" + platform::PercentEncodePath(path);
}

} // namespace velmora::shell
