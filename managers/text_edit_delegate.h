#pragma once

#include <QStyledItemDelegate>
#include <QValidator>
#include <cstddef>

namespace zt {

class RowPainter;

// Accepts only text that has a CP1251 form of at most `max_bytes` bytes (the store keeps CP1251
// and the data files a one-byte length for short texts), so nothing typed is changed to '?' or
// cut when it is saved.
class Cp1251Validator final : public QValidator {
    Q_OBJECT
public:
    Cp1251Validator(std::size_t max_bytes, QObject* parent = nullptr);
    State validate(QString& input, int& pos) const override;

private:
    std::size_t m_max;
};

// The in-place editor of a manager list's captions: rows are painted by the common row
// painter; editing opens a line edit with a Cp1251Validator, placed after the row's check box
// and image (`indent` pixels). The edited text goes to the model's setData(EditRole).
class TextEditDelegate final : public QStyledItemDelegate {
    Q_OBJECT
public:
    TextEditDelegate(RowPainter& painter, std::size_t max_bytes, int indent,
                     QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
    void setEditorData(QWidget* editor, const QModelIndex& index) const override;
    void setModelData(QWidget* editor, QAbstractItemModel* model,
                      const QModelIndex& index) const override;
    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override;

private:
    RowPainter& m_painter;
    std::size_t m_max;
    int m_indent;
};

}  // namespace zt
