#include "server/source_fetch.h"

#include <QFile>
#include <QUrl>

#include <httplib.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace zt::server {

bool is_url(const std::string& location) {
    return location.rfind("http://", 0) == 0 || location.rfind("https://", 0) == 0;
}

namespace {

constexpr int kMaxRedirects = 5;

FetchResult fetch_from(const FetchRequest& request, int hops) {
    const auto started = std::chrono::steady_clock::now();
    FetchResult result;
    const QUrl url(QString::fromStdString(request.url), QUrl::StrictMode);
    if (!url.isValid() || url.host().isEmpty() ||
        (url.scheme() != QLatin1String("http") && url.scheme() != QLatin1String("https"))) {
        result.error = "not an http(s) address: " + request.url;
        return result;
    }
    const bool tls = url.scheme() == QLatin1String("https");
    const int port = url.port(tls ? 443 : 80);
    std::string target = url.path(QUrl::FullyEncoded).toStdString();
    if (target.empty()) target = "/";
    if (url.hasQuery()) target += "?" + url.query(QUrl::FullyEncoded).toStdString();

    QFile out(request.out_path);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        result.error = "cannot write " + request.out_path.toStdString();
        return result;
    }

    httplib::Client client(url.scheme().toStdString() + "://" + url.host().toStdString() + ":" +
                           std::to_string(port));
    client.set_connection_timeout(std::chrono::seconds(15));
    client.set_read_timeout(std::chrono::seconds(60));
    client.set_write_timeout(std::chrono::seconds(15));
    // Redirects are followed here rather than by the library, which takes a 304 for one.
    client.set_follow_location(false);
    client.set_decompress(true);
    if (tls) {
        client.enable_server_certificate_verification(true);
        if (QFile::exists(QStringLiteral("/etc/ssl/certs/ca-certificates.crt")))
            client.set_ca_cert_path("/etc/ssl/certs/ca-certificates.crt");
    }
    httplib::Headers headers{{"Accept-Encoding", "gzip"}, {"User-Agent", "zorvan-server"}};
    if (!request.etag.empty()) headers.emplace("If-None-Match", request.etag);
    if (!request.last_modified.empty()) headers.emplace("If-Modified-Since", request.last_modified);

    // The whole exchange has a deadline: past it the watchdog shuts the connection, which ends
    // any read the library is waiting in.
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(request.deadline_seconds);
    std::mutex mutex;
    std::condition_variable wake;
    bool done = false;
    bool timed_out = false;
    std::thread watchdog([&] {
        std::unique_lock lock(mutex);
        while (!done) {
            const auto step = std::min(
                deadline, std::chrono::steady_clock::now() + std::chrono::milliseconds(200));
            if (wake.wait_until(lock, step, [&] { return done; })) return;
            if (request.cancelled && request.cancelled()) {
                client.stop();
                return;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                timed_out = true;
                client.stop();
                return;
            }
        }
    });

    bool too_big = false;
    bool write_failed = false;
    bool not_modified = false;
    std::string redirect_to;
    auto on_response = [&](const httplib::Response& response) {
        // Called for every reply, redirects included: the body so far belongs to an earlier one.
        out.resize(0);
        out.seek(0);
        result.bytes = 0;
        result.status = response.status;
        if (response.status == 304) {
            // Nothing follows a 304; the library would wait for a body up to the close.
            not_modified = true;
            result.etag = response.get_header_value("ETag");
            result.last_modified = response.get_header_value("Last-Modified");
            return false;
        }
        if (response.status == 301 || response.status == 302 || response.status == 303 ||
            response.status == 307 || response.status == 308) {
            redirect_to = response.get_header_value("Location");
            return false;
        }
        const auto length = response.get_header_value("Content-Length");
        if (response.status == 200 && !length.empty() &&
            response.get_header_value("Content-Encoding").empty() &&
            std::strtoll(length.c_str(), nullptr, 10) > request.max_bytes) {
            too_big = true;
            return false;
        }
        return true;
    };
    auto on_data = [&](const char* data, size_t size) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        if (request.cancelled && request.cancelled()) return false;
        result.bytes += std::int64_t(size);
        if (result.bytes > request.max_bytes) {
            too_big = true;
            return false;
        }
        if (out.write(data, qint64(size)) != qint64(size)) {
            write_failed = true;
            return false;
        }
        return true;
    };
    httplib::Result reply = client.Get(target, headers, on_response, on_data);
    {
        std::lock_guard lock(mutex);
        done = true;
    }
    wake.notify_all();
    watchdog.join();
    out.close();

    if (not_modified) {
        result.kind = FetchResult::Kind::not_modified;
    } else if (!redirect_to.empty() && !timed_out) {
        if (hops >= kMaxRedirects) {
            result.error = "more than " + std::to_string(kMaxRedirects) + " redirects";
            return result;
        }
        FetchRequest next = request;
        next.url = url.resolved(QUrl(QString::fromStdString(redirect_to)))
                       .toString(QUrl::FullyEncoded)
                       .toStdString();
        const auto spent = std::chrono::duration_cast<std::chrono::seconds>(
            std::chrono::steady_clock::now() - started);
        next.deadline_seconds = std::max(1, request.deadline_seconds - int(spent.count()));
        return fetch_from(next, hops + 1);
    } else if (request.cancelled && request.cancelled()) {
        result.error = "cancelled";
    } else if (too_big) {
        result.error =
            "the reply is larger than " + std::to_string(request.max_bytes / (1024 * 1024)) + " MB";
    } else if (timed_out || std::chrono::steady_clock::now() > deadline) {
        result.error =
            "no complete reply within " + std::to_string(request.deadline_seconds) + " s";
    } else if (write_failed) {
        result.error = "cannot write " + request.out_path.toStdString();
    } else if (!reply) {
        result.error = "HTTP exchange failed: " + httplib::to_string(reply.error());
    } else if (reply->status != 200) {
        result.error = "HTTP status " + std::to_string(reply->status);
    } else {
        result.kind = FetchResult::Kind::fetched;
        result.etag = reply->get_header_value("ETag");
        result.last_modified = reply->get_header_value("Last-Modified");
    }
    return result;
}

}  // namespace

FetchResult fetch_url(const FetchRequest& request) {
    return fetch_from(request, 0);
}

}  // namespace zt::server
