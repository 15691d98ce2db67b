#pragma once

#include <QLabel>
#include <QScrollArea>

namespace zt {

// A word of rich text that is a web address: blue, underlined, the link cursor; a click
// closes the window it stands for (when there is one) and opens the address.
class LinkLabel final : public QLabel {
    Q_OBJECT
public:
    LinkLabel(const QString& word, QWidget* parent);
    QString address() const;

signals:
    void activated(const QString& address);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
};

// A scrollable text area of the detail windows ("ScrollBoxTxt", "ScrollBoxDescr"). It takes
// the focus when the mouse enters it, so the wheel scrolls it.
class RichTextArea final : public QScrollArea {
    Q_OBJECT
public:
    explicit RichTextArea(QWidget* parent = nullptr);
    // The labels of the words now shown, in order.
    QList<QLabel*> word_labels() const;
    QWidget* content() const { return widget(); }

signals:
    void link_activated(const QString& address);

protected:
    void enterEvent(QEnterEvent* event) override;
};

// Replaces the contents of `area` by `text` (UTF-8 words, "<b>" / "</b>" bold runs, links
// for words beginning "www." or "http://"), one label per word. With `wrap` the words wrap
// at the area's width. A link click closes `window` (when not null) and opens the address.
void RenderRichText(QWidget* window, RichTextArea& area, const QString& text, bool wrap);

// Hands an address to the desktop ("http://..." in the browser, "mailto:" to the mail
// program); a failure is ignored.
void open_address(const QString& address);

}  // namespace zt
