#pragma once

#include <array>
#include <functional>
#include <string>

#include "core/store.h"
#include "net/download_host.h"
#include "net/http_exchange.h"
#include "net/protocol/schedule_request.h"
#include "net/selection.h"
#include "storage/data_files.h"
#include "storage/settings.h"

namespace zt::net {

// The controls of the download dialogs that the protocol reads and sets; the dialogs show this
// model. Texts are CP1251.
struct DownloadControls final {
    int user_type = 0;   // ComboBoxUser: 0 "Бесплатный", 1 "Платный"
    std::string login;   // EditLogin
    bool anons = false;  // CheckBoxAnons "С анонсами"
    bool anons_visible = false;
    bool create_group = false;          // CheckBoxCreateGroup "Создавать группы"
    std::string caption;                // the selection dialog's caption
    std::array<std::string, 4> status;  // status panels 0..3
};

// How a schedule download ended.
enum class TvprogOutcome { exchange_failed, server_error, data_error, empty, applied };

// The conversation with the service: login check, package list, schedule download, the report
// of marks. One session serves one run of the download dialogs or one automatic download; it
// runs on the user-interface thread and touches the store only there.
// The path of the service's script on the server.
inline const std::string kScript = "/cgi-bin/soft.cgi";

class DownloadSession final {
public:
    DownloadSession(all_list& store, user_account& user, const Settings& settings,
                    ExchangeContext& exchange, DownloadHost& host);

    // mode 0 from the dialogs, 1 automatic.
    bool LoginCheck(int mode);
    bool GetPakets();
    TvprogOutcome GetTvprog(int mode);
    // The server's time line; a message when the clocks differ by more than 5 minutes. An
    // unreadable line skips the check.
    void CheckServerTime(const std::string& line);
    // Part C of the request: pending marks, added to each channel's pending report.
    std::vector<protocol::MarkReport> ReportMarks();
    void MarksReported();
    // Part A: all store channels (mode 1) or the selected offered channels (mode 0).
    std::vector<protocol::WantedChannel> WantedChannels(int mode) const;
    // Maintenance, saving the data files, then the windows' part.
    void AfterDownload();
    void ClearSelection() { selection.clear(); }

    DownloadControls controls;
    SelectionLists selection;
    std::int32_t paid_user = 0;
    // Where "now" in UTC comes from (tests set it).
    std::function<DateTime()> utc_now;

private:
    std::string login_fields() const;
    // A server error reply: its message (a server message) and true.
    bool server_error(const std::string& body);
    bool quiet(int mode) const;
    void message(MsgKind kind, const std::string& text);

    all_list& m_store;
    user_account& m_user;
    const Settings& m_settings;
    ExchangeContext& m_exchange;
    DownloadHost& m_host;
    // The level the downloaded days are held at: 1 once the login check showed an account
    // balance (a signed-in account), else 0.
    std::uint8_t m_days_full = 0;
};

}  // namespace zt::net
