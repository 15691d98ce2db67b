#pragma once

#include <cstdint>
#include <iostream>
#include <string>

#include "net/download_host.h"
#include "net/exchange_view.h"

namespace zt::cli {

// The download's windows on a terminal: messages as the application would show them, progress
// and the connection window's final counts on standard error. Questions are answered "Нет".
// While the store's `messages_on` is 0 (a quiet automatic download) only questions appear.
class ConsoleUi final : public UserInterface {
public:
    const std::uint8_t* messages_on = nullptr;
    bool show_msg(MsgKind kind, const std::string& text) override {
        if (kind != MsgKind::Question && messages_on && *messages_on == 0) return false;
        if (kind == MsgKind::Server)
            std::cerr << "Сервер сообщает:\n" << text << '\n';
        else if (kind == MsgKind::Question)
            std::cerr << text << "\n(Нет)\n";
        else
            std::cerr << text << '\n';
        return false;
    }
};

class ConsoleHost final : public net::DownloadHost, public net::ExchangeView {
public:
    void job_begin(const std::string& text, bool, bool) override { std::cerr << text << '\n'; }
    void show_labels(const net::ExchangeLabels& labels) override { m_labels = labels; }
    void hide_connection_window() override {
        if (!m_labels.bytes_down.empty())
            std::cerr << "Передано: " << m_labels.bytes_up << ", принято: " << m_labels.bytes_down
                      << '\n';
        m_labels = {};
    }
    void tray_notice(const std::string& title, const std::string& text) override {
        std::cerr << title << ": " << text << '\n';
    }

private:
    net::ExchangeLabels m_labels;
};

}  // namespace zt::cli
