#pragma once

#include <map>
#include <string>
#include <vector>

namespace zt::server {

// The options of one subcommand: "--name value" pairs and bare "--flag"s.
class Options final {
public:
    // Throws std::invalid_argument for an unknown option or a missing value.
    Options(const std::vector<std::string>& args, const std::vector<std::string>& with_value,
            const std::vector<std::string>& flags);
    bool has(const std::string& name) const { return m_values.count(name) != 0; }
    std::string get(const std::string& name, const std::string& def = {}) const;
    // Throws std::invalid_argument when the option is missing.
    std::string need(const std::string& name) const;

private:
    std::map<std::string, std::string> m_values;
};

int cmd_serve(const std::vector<std::string>& args);
int cmd_ingest(const std::vector<std::string>& args);
int cmd_account(const std::vector<std::string>& args);
int cmd_release(const std::vector<std::string>& args);
// Several guides merged into one schedule (source_commands.cpp).
int cmd_source(const std::vector<std::string>& args);
int cmd_channel(const std::vector<std::string>& args);
int cmd_grab(const std::vector<std::string>& args);

}  // namespace zt::server
