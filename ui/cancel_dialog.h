#pragma once

#include <QDialog>
#include <atomic>
#include <functional>

namespace zt {

// A work window whose only way out is "Отмена": the button, Escape and a close request from
// the desktop all ask `confirm_cancel` (the question of the message window) and, once the user
// agrees, set `cancel_flag` to 1 and hide the window. The work polls the flag.
class CancelDialog : public QDialog {
    Q_OBJECT
public:
    CancelDialog(std::function<bool()> confirm_cancel, unsigned char* cancel_flag, QWidget* parent);

    void BitBtnCancelClick();

protected:
    // Whether "Отмена" is offered now; Escape and closing do nothing while it is not.
    virtual bool cancel_offered() const { return true; }
    void clear_cancel() {
        if (m_cancel_flag)
            std::atomic_ref<unsigned char>(*m_cancel_flag).store(0, std::memory_order_relaxed);
    }
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    std::function<bool()> m_confirm_cancel;
    unsigned char* m_cancel_flag;
};

}  // namespace zt
