#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/progress.h"
#include "net/protocol/update_script.h"

namespace zt::net {

// The self-update: the server's script of file commands run against the program folder.

// The page of the version history on the service's site.
inline constexpr const char* kVersionHistoryPath = "/cgi-bin/page.cgi?func=vers";

// One GET exchange with the service (the application's HttpExchange with its connection
// window). Returns the body, inflated when it came compressed, or nothing after the exchange
// has shown its own message.
class ServiceFetch {
public:
    virtual ~ServiceFetch() = default;
    virtual std::optional<std::string> get(const std::string& query) = 0;
};

struct UpdateContext final {
    std::string exe_dir;  // the program folder, ending in '/'
    UserInterface& ui;
    ServiceFetch& fetch;
};

// The program file on this platform; a downloaded one must be an ELF executable and is made
// runnable.
inline constexpr const char* kProgramFile = "zorvan_tv";

// The four commands; each shows its message and returns false on failure. A name, path,
// folder or mask that would reach outside the program folder is refused with a message.
bool UpdateGet(const UpdateContext& ctx, const std::string& name, const std::string& folder);
bool UpdateSize(const UpdateContext& ctx, const std::string& path, const std::string& size_text);
bool UpdateRename(const UpdateContext& ctx, const std::string& from, const std::string& to);
// Deletes every file (never a folder) matching the mask. Failures to delete are ignored; a
// refused mask or folder fails.
bool UpdateDelete(const UpdateContext& ctx, const std::string& mask, const std::string& folder);

// Runs the commands in order and stops at the first that fails. Unknown commands (names are
// compared exactly) do nothing.
bool RunUpdateScript(const UpdateContext& ctx, const std::vector<protocol::UpdateCommand>& script);

enum class SelfUpdateResult { exchange_failed, server_error, script_failed, done };

// The whole update: `save_all` writes the data files and the settings first; then the script
// is fetched and run; the failure or success message follows. On success the user is asked
// whether to open the version history; `open_history` is called on "Да". The caller ends the
// application afterwards in every case.
SelfUpdateResult SelfUpdate(const UpdateContext& ctx, const std::function<void()>& save_all,
                            const std::function<void()>& open_history);

}  // namespace zt::net
