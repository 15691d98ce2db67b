#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

namespace zt {

// The job window: a percentage bar for long local work (loading, saving, processing data),
// not modal, with an optional "Отмена". The owner's work keeps running on the same thread; the
// window lets pending events run so it stays painted and Cancel can be pressed.
class TFJob final : public QDialog {
    Q_OBJECT
public:
    // `confirm_cancel` asks the user whether to stop (the question of the message window);
    // `cancel_flag` is set to 1 when the user confirms.
    TFJob(std::function<bool()> confirm_cancel, unsigned char* cancel_flag,
          QWidget* parent = nullptr);

    void JobBegin(const QString& text, bool with_cancel, bool with_percent);
    // Does nothing while the window is hidden.
    void JobProgress(int percent);
    void JobEnd();

    void set_anchor(QWidget* anchor) { m_anchor = anchor; }

    QLabel* LabelName = nullptr;
    QLabel* LabelProgress = nullptr;
    QProgressBar* ProgressBar = nullptr;
    QLabel* ImagePicture = nullptr;
    QPushButton* BitBtnCancel = nullptr;

    void BitBtnCancelClick();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void arrange();

    std::function<bool()> m_confirm_cancel;
    unsigned char* m_cancel_flag;
    QPointer<QWidget> m_anchor;
};

}  // namespace zt
