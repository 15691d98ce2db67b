#pragma once

#include <QDialog>
#include <QPointer>

#include "core/progress.h"

class QLabel;
class QPushButton;

namespace zt {

// The message window: information, error, question and server message,
// each on its own panel with a frame, a picture, a head label on the frame's top edge and the
// text wrapped at 225 pixels. The window grows with the text.
class TFMsg final : public QDialog {
    Q_OBJECT
public:
    explicit TFMsg(QWidget* parent = nullptr);

    // Shows the message modally and waits; true only when a question was answered "Да" (the
    // window's close key and "Нет" answer no). Shows whatever it is given: the switch that
    // silences messages is the caller's (see AppUi).
    bool ShowMsg(MsgKind kind, const QString& text);

    // The window the message is centred on; none (or a hidden one) centres it on the primary
    // screen, as the installation window's messages are.
    void set_anchor(QWidget* anchor) { m_anchor = anchor; }

    // The extra height a text label of `label_height` pixels adds to the window.
    static int extra_height(int label_height) { return label_height < 53 ? 0 : label_height - 52; }

    static constexpr int kWidth = 344;
    static constexpr int kBaseHeight = 132;
    static constexpr int kTextWidth = 225;

    struct Panel {
        QWidget* panel = nullptr;
        QLabel* frame = nullptr;
        QLabel* picture = nullptr;
        QLabel* head = nullptr;
        QLabel* text = nullptr;
    };

    // The panel of the message shown last (for tests and screenshots).
    const Panel& current_panel() const { return *m_current; }

private:
    Panel PanelInfo;
    Panel PanelError;
    Panel PanelDialog;
    QPushButton* BitBtnInfo = nullptr;
    QPushButton* BitBtnError = nullptr;
    QPushButton* BitBtnYes = nullptr;
    QPushButton* BitBtnNo = nullptr;

    Panel make_panel(const QString& head, int picture_kind);
    void place_buttons(int extra);
    void centre();

    Panel* m_current = &PanelInfo;
    QPointer<QWidget> m_anchor;
};

}  // namespace zt
