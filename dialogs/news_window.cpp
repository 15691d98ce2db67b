#include "dialogs/news_window.h"

#include <QDesktopServices>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

namespace zt {

NewsWindow::NewsWindow(QWidget* main)
    : QWidget(main, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowCloseButtonHint) {
    setObjectName(QStringLiteral("NewsWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Новости проекта \"ЗОРВАН. Телепрограмма.\""));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setOpenLinks(false);
    layout->addWidget(Browser);
    connect(Browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        QDesktopServices::openUrl(Browser->document()->baseUrl().resolved(link));
    });

    if (main) {
        const QRect client = main->contentsRect();
        const QSize size = QSize(client.width() - 50, client.height() - 50).expandedTo({200, 200});
        resize(size);
        move(main->mapToGlobal(client.topLeft() + QPoint(25, 25)));
    } else {
        resize(400, 300);
    }

    TimerNewsClose = new QTimer(this);
    TimerNewsClose->setSingleShot(true);
    TimerNewsClose->setInterval(kCloseMs);
    connect(TimerNewsClose, &QTimer::timeout, this, &QWidget::close);
    TimerNewsClose->start();
}

void NewsWindow::show_page(const QString& html, const QUrl& base) {
    Browser->document()->setBaseUrl(base);
    Browser->setHtml(html);
}

}  // namespace zt
