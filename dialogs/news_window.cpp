#include "dialogs/news_window.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTimer>
#include <QVBoxLayout>

#include "ui/open_address.h"

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
    // A close control of its own (a desktop without a window manager draws no title bar) and
    // Escape.
    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(6, 6, 6, 6);
    bottom->addStretch(1);
    auto* close_button = new QPushButton(QStringLiteral("Закрыть"), this);
    close_button->setObjectName(QStringLiteral("ButtonClose"));
    bottom->addWidget(close_button);
    layout->addLayout(bottom);
    connect(close_button, &QPushButton::clicked, this, &QWidget::close);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
    connect(Browser, &QTextBrowser::anchorClicked, this, [this](const QUrl& link) {
        open_address_or_say(Browser->document()->baseUrl().resolved(link), this);
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
