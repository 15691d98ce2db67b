#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace zt::cli {

// One sub-command of zorvan-cli. Each cmd_*.cpp registers itself with a static Registrar, so a
// new command is a new file.
struct Command {
    std::string usage;  // one line: arguments and options
    std::function<int(const std::vector<std::string>& args)> run;
};

std::map<std::string, Command>& commands();

struct Registrar {
    Registrar(const std::string& name, Command command) { commands()[name] = std::move(command); }
};

// Options of the form --name value or --flag, after the positional arguments.
class Options final {
public:
    explicit Options(const std::vector<std::string>& args);
    bool has(const std::string& name) const;
    std::string get(const std::string& name, const std::string& def = "") const;
    const std::vector<std::string>& positional() const { return m_positional; }

private:
    std::map<std::string, std::string> m_values;
    std::vector<std::string> m_positional;
};

}  // namespace zt::cli
