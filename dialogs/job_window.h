#pragma once

#include <QElapsedTimer>
#include <QPointer>
#include <functional>

#include "ui/cancel_dialog.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace zt {

// The job window: a percentage bar for long local work (loading, saving, processing data),
// not modal, with an optional "Отмена". The owner's work keeps running on the same thread; the
// window lets pending events run so it stays painted and Cancel can be pressed.
class TFJob final : public CancelDialog {
    Q_OBJECT
public:
    // `confirm_cancel` asks the user whether to stop (the question of the message window);
    // `cancel_flag` is set to 1 when the user confirms.
    TFJob(std::function<bool()> confirm_cancel, unsigned char* cancel_flag,
          QWidget* parent = nullptr);

    void JobBegin(const QString& text, bool with_cancel, bool with_percent);
    // Does nothing while the window is hidden. Redraws only when the shown percentage changes,
    // and at most every 50 ms: loading reports progress thousands of times, and drawing each
    // report would cost more than the work itself.
    void JobProgress(int percent);
    void JobEnd();

    void set_anchor(QWidget* anchor) { m_anchor = anchor; }

protected:
    bool cancel_offered() const override;

private:
    QLabel* LabelName = nullptr;
    QLabel* LabelProgress = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QLabel* ImagePicture = nullptr;
    QPushButton* BitBtnCancel = nullptr;

    void arrange();
    void follow_modal_window();

    QPointer<QWidget> m_anchor;
    int m_shown_percent = 0;
    QElapsedTimer m_since_redraw;  // invalid until the first redraw of a job
};

}  // namespace zt
