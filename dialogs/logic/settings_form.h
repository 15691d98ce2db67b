#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "net/http_exchange.h"
#include "storage/settings_general.h"

namespace zt {

// The settings dialog's rules that need no window: the description templates, the colours of
// "По умолчанию", the enabling of the proxy controls, the service host field and the
// connection test on the values being edited.

// "Выделять описание передач:": item 0 "Шаблоны:" and the eight templates (UTF-8).
const std::vector<std::string>& descr_template_captions();
// Puts the left and right texts of template `item` into the two fields; item 0 (and an index
// outside the list) changes nothing. Texts are CP1251 like the model.
void apply_descr_template(int item, PersonalSettings& personal);

// "По умолчанию" of the view page: the twelve colours and the default table font. The grey of
// "Фон выделения 1:" becomes 0xD9D9D9, not the first start's 0xE0E0E0.
void reset_view_defaults(ViewSettings& view);

// Which proxy controls can be used: "Использовать прокси-сервер" while the desktop's proxy is
// not taken, the server, port, user and password fields while the manual proxy is on.
struct ProxyControls final {
    bool proxy_box = true;
    bool fields = false;
    bool operator==(const ProxyControls&) const = default;
};
ProxyControls proxy_controls(const ProxySettings& proxy);
// "Брать настройки прокси из системы" ticked or unticked by the user: ticked clears the
// manual proxy and reads the desktop's proxy (`desktop`, the http_proxy value) into server and
// port; unticked leaves the fields as they are.
void set_from_browser(ProxySettings& proxy, bool on, std::optional<std::string_view> desktop);

// The service host field: trimmed; empty means the default host. Nothing when the text is not
// "host[:port]".
std::optional<std::string> service_host_field(std::string_view text);

// "Проверить": the connection test with the proxy and service being edited (not yet the live
// settings). `lines` gets the server's answer. The result says what the dialog reports.
enum class ServerTestResult {
    ok,              // "Проверка прошла успешно."
    wrong_answer,    // the server answered without "TEST OK"
    exchange_failed  // the exchange failed and has shown its own message (or was cancelled)
};
ServerTestResult run_server_test(net::ExchangeContext& ctx, const ProxySettings& proxy,
                                 const std::string& service, std::vector<std::string>& lines);

}  // namespace zt
