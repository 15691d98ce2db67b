#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace zt::cli {

// An option of a command, written --name; `value` says whether a value follows it.
struct Option {
    std::string name;
    bool value = true;
};

class Options;

// One sub-command of zorvan-cli. Each cmd_*.cpp registers itself with a static Registrar, so a
// new command is a new file. main() parses the arguments against `options` before `run`.
struct Command {
    std::string usage;  // one line: arguments and options
    std::vector<Option> options;
    std::function<int(const Options& opt)> run;
};

std::map<std::string, Command>& commands();

struct Registrar {
    Registrar(const std::string& name, Command command) { commands()[name] = std::move(command); }
};

// The parsed arguments of a command: its options (QCommandLineParser, --name value or
// --name=value, --flag) and the positional arguments in order. An option the command does
// not have, or a value missing after an option, throws std::invalid_argument.
class Options final {
public:
    Options(const std::string& command, const std::vector<Option>& options,
            const std::vector<std::string>& args);
    bool has(const std::string& name) const;
    std::string get(const std::string& name, const std::string& def = "") const;
    const std::vector<std::string>& positional() const { return m_positional; }

private:
    std::map<std::string, std::string> m_values;
    std::vector<std::string> m_positional;
};

}  // namespace zt::cli
