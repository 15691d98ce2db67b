#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

namespace zt {

class LogoImages;
class RichTextArea;
struct chl_local_list;
struct chl_serv_list;

// The channel description window: logo, caption, time shift and description of a channel,
// shown at the mouse pointer until it is closed with its button.
class TFChannel final : public QWidget {
    Q_OBJECT
public:
    TFChannel(const LogoImages& logos, QWidget* parent = nullptr);

    // A channel of the current group: "[button] name", its shift, its own description and,
    // after a dashed line, the channel's.
    void ShowChannelInfo(const chl_local_list& member);
    // A channel of the channel list: its name and description, no time.
    void ShowChannelInfo(const chl_serv_list& channel);
    // Texts given by the caller (UTF-8 description with the rich-text markup).
    void ShowChannelInfo(const QString& caption, const QString& descr, const QString& time,
                         int logo);
    // Replaces the logo shown (a logo that is not in the image lists).
    void set_logo(const QPixmap& logo);

    // Where the window goes for a pointer at `pointer` inside `work`: right of and below the
    // pointer, or left of / above it when it would not fit.
    static QPoint place_at(const QPoint& pointer, const QSize& size, const QRect& work);

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    RichTextArea* ScrollBoxDescr = nullptr;
    QWidget* ShapeLogo = nullptr;
    QLabel* ImageLogo = nullptr;
    QLabel* LabelName = nullptr;
    QLabel* LabelTime = nullptr;
    QToolButton* BitBtnClose = nullptr;  // "Закрыть"

    const LogoImages& m_logos;
};

// The description of a member: its own, then "\r\n----------\r\n" and the channel's when it
// has one of its own. CP1251.
std::string member_description(const chl_local_list& member);
// "[button] name", or the name alone without a button. CP1251.
std::string member_caption(const chl_local_list& member);

}  // namespace zt
