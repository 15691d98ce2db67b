#pragma once

#include <QApplication>
#include <QDialog>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zt::test {

// Answers the modal dialogs of a longer sequence in order: each step names the dialog it
// expects (its object name: "TFMsg", "TFUpdate", ...) and acts on it from the event loop that
// dialog runs. A modal dialog that is not the next step's is recorded in `unexpected` and
// closed, so a wrong turn ends the sequence instead of hanging it.
class ModalScript final {
public:
    struct Step {
        std::string dialog;
        std::function<void(QDialog&)> act;
    };

    explicit ModalScript(std::vector<Step> steps)
        : m_steps(std::move(steps)), m_timer(std::make_unique<QTimer>()) {
        m_timer->setInterval(5);
        QObject::connect(m_timer.get(), &QTimer::timeout, [this] { poll(); });
        m_timer->start();
    }
    std::size_t done() const { return m_next; }
    std::vector<std::string> unexpected;

private:
    void poll() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog == m_last) return;
        m_last = dialog;
        const std::string name = dialog->objectName().toStdString();
        if (m_next >= m_steps.size() || m_steps[m_next].dialog != name) {
            unexpected.push_back(name);
            dialog->reject();
            return;
        }
        auto act = m_steps[m_next++].act;
        // The same dialog object may open again later (the message window): forget it once it
        // has closed.
        QObject::connect(
            dialog, &QDialog::finished, m_timer.get(), [this] { m_last = nullptr; },
            Qt::SingleShotConnection);
        act(*dialog);
    }

    std::vector<Step> m_steps;
    std::size_t m_next = 0;
    QDialog* m_last = nullptr;
    std::unique_ptr<QTimer> m_timer;
};

}  // namespace zt::test
