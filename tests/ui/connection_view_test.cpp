#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>

#include "core/store.h"
#include "dialogs/connection_view.h"
#include "dialogs/progress_window.h"
#include "dialogs/stat_window.h"
#include "net/http_exchange.h"
#include "test_support.h"
#include "tools/peers/peers.h"
#include "ui_helpers.h"

namespace zt {
namespace {

// A real exchange with a plain peer fills the connection and statistics windows.
TEST(ConnectionView, ExchangeFillsTheWindows) {
    std::uint8_t net_cancel = 0;
    TFProgress window([] { return true; }, &net_cancel);
    TFStat statistics;
    ConnectionView view(&window, &statistics);
    const std::string body(300000, 'x');
    peers::CapturePeer peer("HTTP/1.0 200 OK\nContent-Length: 300000\n\n" + body);
    test::Recorder ui;
    net::TrafficCounters traffic;
    net::ExchangeContext ctx(ui, view, net_cancel, traffic);
    ctx.service = "127.0.0.1:" + std::to_string(peer.port());
    window.open_centred();
    std::string response;
    ASSERT_TRUE(
        net::HttpExchange(ctx, "/cgi-bin/soft.cgi", "?func=get_paket", false, "", response));
    EXPECT_EQ(test::widget<QLabel>(window, "LabelFileUpVal")->text(), QStringLiteral("1 из 1"));
    EXPECT_EQ(test::widget<QLabel>(window, "LabelFileDownVal")->text(), QStringLiteral("1 из 1"));
    EXPECT_EQ(test::widget<QLabel>(window, "LabelBytesDownVal")->text(), QStringLiteral("293 Кб"));
    EXPECT_EQ(test::widget<QLabel>(window, "LabelProcDownVal")->text(), QStringLiteral("100 %"));
    EXPECT_EQ(test::widget<QProgressBar>(window, "ProgressBar")->value(), 100);
    EXPECT_EQ(test::widget<QLabel>(statistics, "LabelDatIn")->text(), QStringLiteral("293 Кб"));
    if (const QByteArray dir = qgetenv("ZT_SHOT_DIR"); !dir.isEmpty())
        window.grab().save(QString::fromUtf8(dir) + "/connection_window.png");
}

}  // namespace
}  // namespace zt
