#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QTimer;

namespace zt {

// The news window "Новости проекта "ЗОРВАН. Телепрограмма."": the service's home page in a
// text browser, opened over the main window after a successful download and closed by its
// timer after five minutes. Links open in the desktop's browser.
class NewsWindow final : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCloseMs = 300000;

    // Placed at 25, 25 in `main`'s client area, 50 pixels narrower and lower than it, at
    // least 200 × 200.
    explicit NewsWindow(QWidget* main);
    // The page (HTML) and the address relative links resolve against.
    void show_page(const QString& html, const QUrl& base);

    QTimer* TimerNewsClose = nullptr;

private:
    QTextBrowser* Browser = nullptr;
};

}  // namespace zt
