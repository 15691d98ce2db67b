#include "ui/cancel_dialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <atomic>

namespace zt {

CancelDialog::CancelDialog(std::function<bool()> confirm_cancel, unsigned char* cancel_flag,
                           QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_confirm_cancel(std::move(confirm_cancel)),
      m_cancel_flag(cancel_flag) {}

void CancelDialog::BitBtnCancelClick() {
    if (!m_confirm_cancel || m_confirm_cancel()) {
        // The work may read the flag on another thread (the download's worker).
        if (m_cancel_flag)
            std::atomic_ref<unsigned char>(*m_cancel_flag).store(1, std::memory_order_relaxed);
        hide();
    }
}

void CancelDialog::keyPressEvent(QKeyEvent* event) {
    // Escape would hide the window behind its owner's back; it counts as "Отмена" instead.
    if (event->key() == Qt::Key_Escape) {
        if (cancel_offered()) BitBtnCancelClick();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CancelDialog::closeEvent(QCloseEvent* event) {
    // The window has no close box; a close request from the desktop counts as "Отмена".
    event->ignore();
    if (cancel_offered()) BitBtnCancelClick();
}

}  // namespace zt
