#include "dialogs/logic/settings_form.h"

#include <array>

#include "core/cp1251.h"
#include "net/desktop_proxy.h"
#include "net/host_port.h"

namespace zt {

namespace {

struct DescrTemplate final {
    const char* caption;
    const char* left;
    const char* right;
};

const std::array<DescrTemplate, 8> kTemplates{{
    {"Название (Описание)", " (", ")"},
    {"Название. Описание", ". ", ""},
    {"Название - Описание", " - ", ""},
    {"Название: Описание", ": ", ""},
    {"Название [Описание]", " [", "]"},
    {"Название /Описание/", " /", "/"},
    {"Название \"Описание\"", " \"", "\""},
    {"Название <Описание>", " <", ">"},
}};

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

}  // namespace

const std::vector<std::string>& descr_template_captions() {
    static const std::vector<std::string> captions = [] {
        std::vector<std::string> out{"Шаблоны:"};
        for (const auto& t : kTemplates) out.emplace_back(t.caption);
        return out;
    }();
    return captions;
}

void apply_descr_template(int item, PersonalSettings& personal) {
    if (item < 1 || item > int(kTemplates.size())) return;
    const DescrTemplate& t = kTemplates[std::size_t(item - 1)];
    personal.descr_left = to_cp1251(t.left);
    personal.descr_right = to_cp1251(t.right);
}

void reset_view_defaults(ViewSettings& view) {
    ViewSettings d;
    d.select1 = 0xD9D9D9;
    view = d;
}

ProxyControls proxy_controls(const ProxySettings& proxy) {
    return {!proxy.from_browser, !proxy.from_browser && proxy.use_proxy};
}

void set_from_browser(ProxySettings& proxy, bool on, std::optional<std::string_view> desktop) {
    proxy.from_browser = on;
    if (!on) return;
    proxy.use_proxy = false;
    net::ReadIeProxy(proxy, desktop);
}

std::optional<std::string> service_host_field(std::string_view text) {
    const std::string_view t = trimmed(text);
    if (t.empty()) return std::string(ServiceSettings::default_host);
    if (!parse_host_port(t)) return std::nullopt;
    return std::string(t);
}

ServerTestResult run_server_test(net::ExchangeContext& ctx, const ProxySettings& proxy,
                                 const std::string& service, std::vector<std::string>& lines) {
    ctx.service = service;
    ctx.proxy = proxy;
    lines.clear();
    if (net::ServerTest(ctx, &lines)) return ServerTestResult::ok;
    // An exchange that failed has reported why, or was cancelled; only an answer without the
    // test line is the dialog's own error.
    if (!ctx.last_error.empty() || net::cancel_requested(ctx.net_cancel))
        return ServerTestResult::exchange_failed;
    return ServerTestResult::wrong_answer;
}

}  // namespace zt
