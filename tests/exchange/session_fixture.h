#pragma once

#include <QTemporaryDir>
#include <memory>
#include <sstream>

#include "core/genres.h"
#include "core/time_zones.h"
#include "exchange_fixture.h"
#include "net/download_session.h"
#include "tools/json/store_json.h"

namespace zt::test {

// Records what the download asks of the application.
class HostRecorder final : public net::DownloadHost {
public:
    void job_begin(const std::string& text, bool, bool) override { jobs.push_back(text); }
    void run_self_update() override { ++self_updates; }
    void end_application() override { ++ends; }
    void after_download() override { ++after; }
    bool may_write_favourites() const override { return favourites_writable; }
    bool may_write_marks() const override { return marks_writable; }
    std::vector<std::string> jobs;
    bool favourites_writable = true;
    bool marks_writable = true;
    int self_updates = 0;
    int ends = 0;
    int after = 0;
};

// A store in a temporary program folder and a session aimed at `service`.
struct SessionFixture : ExchangeFixture {
    QTemporaryDir dir;
    std::unique_ptr<all_list> store = make_store(at("2026-12-10 12:00"));
    user_account user;
    Settings settings;
    HostRecorder host;
    net::DownloadSession session{*store, user, settings, ctx, host};

    explicit SessionFixture(const std::string& service) : ExchangeFixture(service) {
        store->exe_dir = dir.path().toStdString() + "/";
        QDir(dir.path()).mkpath("dat");
    }
    void sign_in(const std::string& login, const std::string& password) {
        session.controls.user_type = 1;
        session.controls.login = login;
        user.password = md5_hex(password);
    }
    // Ticks every entry of the package with this id.
    void tick_paket(std::int32_t id) {
        for (const auto& p : session.selection.update_pakets)
            if (p->id == id)
                for (auto& e : p->channels) e.ticked = 1;
    }
    std::string json() const {
        std::ostringstream out;
        write_store_json(out, *store, user, {});
        return out.str();
    }
};

}  // namespace zt::test
