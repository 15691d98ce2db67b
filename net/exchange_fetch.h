#pragma once

#include <string>

#include "net/http_exchange.h"
#include "net/self_update.h"

namespace zt::net {

// The self-update's GET exchanges through HttpExchange on the service's script path.
class ExchangeFetch final : public ServiceFetch {
public:
    ExchangeFetch(ExchangeContext& ctx, std::string script_path)
        : m_ctx(ctx), m_path(std::move(script_path)) {}

    std::optional<std::string> get(const std::string& query) override {
        m_ctx.net_cancel = 0;
        std::string body;
        // The script and the program files alike: a file may be large.
        if (!HttpExchange(m_ctx, m_path, query, false, {}, body, CallSize::large))
            return std::nullopt;
        return body;
    }

private:
    ExchangeContext& m_ctx;
    std::string m_path;
};

}  // namespace zt::net
