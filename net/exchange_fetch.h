#pragma once

#include <string>

#include "net/download_host.h"
#include "net/http_exchange.h"
#include "net/self_update.h"

namespace zt::net {

// The self-update's GET exchanges through HttpExchange on the service's script path. With a
// host, each exchange shows the connection window, whose "Отмена" ends it.
class ExchangeFetch final : public ServiceFetch {
public:
    ExchangeFetch(ExchangeContext& ctx, std::string script_path, DownloadHost* host = nullptr)
        : m_ctx(ctx), m_path(std::move(script_path)), m_host(host) {}

    std::optional<std::string> get(const std::string& query) override {
        if (m_host) m_host->show_connection_window();
        clear_cancel(m_ctx.net_cancel);
        std::string body;
        // The script and the program files alike: a file may be large.
        const bool ok = HttpExchange(m_ctx, m_path, query, false, {}, body, CallSize::large);
        if (m_host) m_host->hide_connection_window();
        if (!ok) return std::nullopt;
        return body;
    }

private:
    ExchangeContext& m_ctx;
    std::string m_path;
    DownloadHost* m_host;
};

}  // namespace zt::net
