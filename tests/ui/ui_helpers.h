#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMenu>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>
#include <ostream>

// Lets test expectations and messages print Qt texts.
inline std::ostream& operator<<(std::ostream& os, const QString& text) {
    return os << text.toStdString();
}
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text << '"';
}

namespace zt::test {

// A window's menu item or menu by its object name.
inline QAction* action(const QObject& root, const char* name) {
    auto* a = root.findChild<QAction*>(QString::fromLatin1(name));
    EXPECT_NE(a, nullptr) << name;
    return a;
}
inline QMenu* menu(const QObject& root, const char* name) {
    auto* m = root.findChild<QMenu*>(QString::fromLatin1(name));
    EXPECT_NE(m, nullptr) << name;
    return m;
}

// A window's widget by its object name: the first descendant of `root` with that name and
// type. Windows keep their widgets private; tests find them as a user's tools would.
template <class W>
W* widget(const QObject& root, const char* name) {
    for (QObject* child : root.findChildren<QObject*>(QString::fromLatin1(name)))
        if (auto* w = dynamic_cast<W*>(child)) return w;
    ADD_FAILURE() << "no widget " << name;
    return nullptr;
}
template <class W>
W* widget(const QObject* root, const char* name) {
    return widget<W>(*root, name);
}

// While it lives, runs `action` once on the next modal dialog that opens (the message window
// waiting for an answer), from the event loop that dialog runs.
class OnNextModal final {
public:
    explicit OnNextModal(std::function<void(QDialog&)> action)
        : m_timer(std::make_unique<QTimer>()) {
        m_timer->setInterval(5);
        QObject::connect(m_timer.get(), &QTimer::timeout, [this, action] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                m_timer->stop();
                ++m_runs;
                action(*dialog);
            }
        });
        m_timer->start();
    }
    int runs() const { return m_runs; }

private:
    std::unique_ptr<QTimer> m_timer;
    int m_runs = 0;
};

}  // namespace zt::test
