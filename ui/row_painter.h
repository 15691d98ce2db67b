#pragma once

#include <QColor>
#include <QPixmap>
#include <QStyledItemDelegate>

namespace zt {

struct ViewSettings;

// The common painter of the program's report lists (the channel list of the side panel, the
// lists of the manager and of the download selection). The list's model gives the texts and
// pictures through the roles below; the painter only paints. Its colours and the list-wide
// image widths are set once from the settings, never read per row.
namespace row_roles {
// bool: the row is shown as chosen (drawn with "Фон выделения 1").
constexpr int Selected = Qt::UserRole + 40;
// bool: the row's item has an image index (false: "Фон выделения 2" behind it). When the model
// does not answer, the presence of a decoration of column 0 decides.
constexpr int HasImage = Qt::UserRole + 41;
// QPixmap: the state image of column 0, drawn after the item image.
constexpr int StateImage = Qt::UserRole + 42;
}  // namespace row_roles

// Qt::DisplayRole gives a cell's text, Qt::DecorationRole (QPixmap) its image (column 0: the
// item image; other columns: the sub-item image), Qt::TextAlignmentRole with Qt::AlignHCenter
// marks a centred column, and Qt::CheckStateRole in column 0 the check box of lists that show
// them.
struct RowColours final {
    QColor text{0, 0, 0};
    QColor back{255, 255, 255};
    QColor select1{224, 224, 224};  // a chosen row
    QColor select2{224, 255, 224};  // a row whose item has no image
    QColor focus{128, 128, 128};    // the frame around the focused row
};

// The colours of the view settings ("Текст", "Фон", "Фон выделения 1", "Фон выделения 2",
// "Фокус").
RowColours row_colours(const ViewSettings& view);
// A colour as the settings file keeps it (0x00BBGGRR); system colours give `fallback`.
QColor settings_colour(std::int32_t colour, const QColor& fallback);

class RowPainter final : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit RowPainter(QObject* parent = nullptr);

    void set_colours(const RowColours& colours) { m_colours = colours; }
    const RowColours& colours() const { return m_colours; }
    // The width kept for item images (the list's small images); 0 when the list has none, so a
    // row without an image keeps no space for one.
    void set_image_width(int width) { m_image_width = width; }
    // The width kept for state images; 0 when the list has none.
    void set_state_image_width(int width) { m_state_width = width; }
    // Whether column 0 starts with a check box (images 4 and 5 of the small menu pictures).
    void set_check_boxes(bool on) { m_check_boxes = on; }
    bool check_boxes() const { return m_check_boxes; }

    // The check box of a row whose column 0 cell is `cell`: 16 × 16 at the cell's left edge.
    static QRect check_box_rect(const QRect& cell);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    RowColours m_colours;
    QPixmap m_unchecked;
    QPixmap m_checked;
    int m_image_width = 0;
    int m_state_width = 0;
    bool m_check_boxes = false;
};

}  // namespace zt
