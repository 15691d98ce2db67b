#pragma once

#include <QWidget>
#include <functional>

#include "views/logic/program_list.h"

class QFrame;
class QLabel;
class QToolButton;

namespace zt {

class all_list;
class RichTextArea;

// The frame of the borderless detail windows: a purple pen of width 2 while the window is
// active, a black pen of width 1 when it is not.
void paint_popup_frame(QWidget& window);

// The announcement window: the announcement's text and picture and the line about the
// further parts of a programme row, placed above or below the row.
class TFAnons final : public QWidget {
    Q_OBJECT
public:
    explicit TFAnons(QWidget* parent = nullptr);

    // Where the window goes: above the row (true, at first) or below it.
    bool above() const { return m_above; }
    void set_above(bool on) { m_above = on; }

    // Fills the window for `row` (nothing happens without an announcement or a further part)
    // and places it at `table_left` beside the row whose top and height on the screen are
    // given, inside `work` (the work area of the main window's monitor). `width` is the
    // table's width. Returns whether the window is shown.
    bool ShowFor(const all_list& store, const views::tvprog_local_list& row, int width,
                 int table_left, int row_top, int row_height, const QRect& work);
    // The programme now shown, or null.
    const tvprog_serv_list* shown() const { return isVisible() ? m_prog : nullptr; }
    // "Вверху" and "Внизу" ask for the window to be shown again.
    void set_reshow(std::function<void()> reshow) { m_reshow = std::move(reshow); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    RichTextArea* ScrollBoxTxt = nullptr;
    QFrame* ShapePict = nullptr;  // a thin grey frame round the picture
    QLabel* ImagePict = nullptr;
    QLabel* LabelDbl = nullptr;
    QToolButton* BitBtnUp = nullptr;     // "Вверху"
    QToolButton* BitBtnDown = nullptr;   // "Внизу"
    QToolButton* BitBtnClose = nullptr;  // "Закрыть"

    void lay_out();
    bool m_above = true;
    bool m_has_text = false;
    bool m_has_picture = false;
    const tvprog_serv_list* m_prog = nullptr;
    std::function<void()> m_reshow;
};

// The line about the further parts: "Ещё будет: n, ближайший: hh:mm   date" for a continued
// programme with a next part (times after the member's shift), else empty. UTF-8.
std::string further_parts_text(const all_list& store, const views::tvprog_local_list& row);

}  // namespace zt
