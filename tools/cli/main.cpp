#include <cstdio>
#include <iostream>

#include "command.h"

namespace zt::cli {

std::map<std::string, Command>& commands() {
    static std::map<std::string, Command> all;
    return all;
}

Options::Options(const std::vector<std::string>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.rfind("--", 0) == 0) {
            const std::string name = a.substr(2);
            if (i + 1 < args.size() && args[i + 1].rfind("--", 0) != 0)
                m_values[name] = args[++i];
            else
                m_values[name] = "";
        } else {
            m_positional.push_back(a);
        }
    }
}

bool Options::has(const std::string& name) const {
    return m_values.count(name) != 0;
}

std::string Options::get(const std::string& name, const std::string& def) const {
    auto it = m_values.find(name);
    return it == m_values.end() ? def : it->second;
}

}  // namespace zt::cli

int main(int argc, char** argv) {
    using namespace zt::cli;
    if (argc < 2 || !commands().count(argv[1])) {
        std::cerr << "usage: zorvan-cli COMMAND ...\n";
        for (const auto& [name, cmd] : commands())
            std::cerr << "  zorvan-cli " << name << ' ' << cmd.usage << '\n';
        return 2;
    }
    std::vector<std::string> args(argv + 2, argv + argc);
    try {
        return commands()[argv[1]].run(args);
    } catch (const std::exception& e) {
        std::cerr << "zorvan-cli: " << e.what() << '\n';
        return 1;
    }
}
