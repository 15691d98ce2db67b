#include "net/protocol/update_script.h"

#include "net/protocol/text_reply.h"

namespace zt::protocol {

std::string write_update_script(const std::vector<UpdateCommand>& commands) {
    std::string out;
    for (const auto& c : commands) out += c.command + '\t' + c.arg1 + '\t' + c.arg2 + '\n';
    return out;
}

std::vector<UpdateCommand> read_update_script(std::string_view body) {
    std::vector<UpdateCommand> out;
    for (const auto& line : split_reply_lines(body)) {
        if (line.empty()) continue;
        std::string fields[3];
        std::size_t start = 0;
        for (int i = 0; i < 3 && start <= line.size(); ++i) {
            const std::size_t tab = line.find('\t', start);
            fields[i] = line.substr(start, tab == std::string::npos ? tab : tab - start);
            if (tab == std::string::npos) break;
            start = tab + 1;
        }
        out.push_back({fields[0], fields[1], fields[2]});
    }
    return out;
}

}  // namespace zt::protocol
