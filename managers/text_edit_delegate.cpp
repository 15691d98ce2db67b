#include "managers/text_edit_delegate.h"

#include <QLineEdit>
#include <limits>

#include "managers/logic/short_text.h"
#include "ui/row_painter.h"

namespace zt {

Cp1251Validator::Cp1251Validator(std::size_t max_bytes, QObject* parent)
    : QValidator(parent), m_max(max_bytes) {}

QValidator::State Cp1251Validator::validate(QString& input, int&) const {
    return managers::cp1251_text(input.toStdString(), m_max) ? Acceptable : Invalid;
}

TextEditDelegate::TextEditDelegate(RowPainter& painter, std::size_t max_bytes, int indent,
                                   QObject* parent)
    : QStyledItemDelegate(parent), m_painter(painter), m_max(max_bytes), m_indent(indent) {}

void TextEditDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    m_painter.paint(painter, option, index);
}

QSize TextEditDelegate::sizeHint(const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const {
    return m_painter.sizeHint(option, index);
}

QWidget* TextEditDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem&,
                                        const QModelIndex&) const {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("CaptionEditor"));
    edit->setValidator(new Cp1251Validator(m_max, edit));
    // One byte a character in CP1251: the character limit is the byte limit.
    if (m_max < static_cast<std::size_t>(std::numeric_limits<int>::max()))
        edit->setMaxLength(static_cast<int>(m_max));
    return edit;
}

void TextEditDelegate::setEditorData(QWidget* editor, const QModelIndex& index) const {
    if (auto* edit = qobject_cast<QLineEdit*>(editor))
        edit->setText(index.data(Qt::EditRole).toString());
}

void TextEditDelegate::setModelData(QWidget* editor, QAbstractItemModel* model,
                                    const QModelIndex& index) const {
    if (auto* edit = qobject_cast<QLineEdit*>(editor))
        if (edit->hasAcceptableInput()) model->setData(index, edit->text(), Qt::EditRole);
}

void TextEditDelegate::updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                                            const QModelIndex&) const {
    editor->setGeometry(option.rect.adjusted(m_indent, 0, 0, 0));
}

}  // namespace zt
