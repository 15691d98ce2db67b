#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QString>

namespace zt {

// Small makers for the settings pages: every control carries the object name it is found by.
template <class W>
W* named(QWidget* parent, const char* name) {
    auto* w = new W(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

inline QCheckBox* check_box(QWidget* parent, const char* name, const QString& caption,
                            const QString& hint = {}) {
    auto* box = named<QCheckBox>(parent, name);
    box->setText(caption);
    if (!hint.isEmpty()) box->setToolTip(hint);
    return box;
}

inline QLineEdit* line_edit(QWidget* parent, const char* name, int max_length) {
    auto* edit = named<QLineEdit>(parent, name);
    edit->setMaxLength(max_length);
    return edit;
}

}  // namespace zt
