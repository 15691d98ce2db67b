#pragma once

#include <QDialog>

#include "print/logic/print_options.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace zt {

// "Данные": the page, column and line options of printing on three tabs. It edits a copy of
// the options; options() gives the edited copy, which the print window takes on OK.
class TFPrintData final : public QDialog {
    Q_OBJECT
public:
    explicit TFPrintData(QWidget* parent = nullptr);

    void set_options(const print::PrintOptions& options);
    print::PrintOptions options() const;

private:
    QCheckBox* CheckBoxNewDay = nullptr;
    QCheckBox* CheckBoxNewChl = nullptr;
    QCheckBox* CheckBoxNameDay = nullptr;
    QCheckBox* CheckBoxNameChl = nullptr;
    QCheckBox* CheckBoxLongStr = nullptr;
    QCheckBox* CheckBoxStrSplit = nullptr;
    QLineEdit* EditColNum = nullptr;

    struct MarkRow {
        QCheckBox* on = nullptr;
        QPushButton* colour = nullptr;
        QLineEdit* symbols = nullptr;
    };
    QWidget* page_tab();
    QWidget* columns_tab();
    QWidget* line_tab();
    MarkRow mark_row(const QString& caption, const char* name);
    void follow_dependencies();

    QLineEdit* m_margins[4]{};
    QCheckBox* m_page_numbers = nullptr;
    QCheckBox* m_merge = nullptr;
    QCheckBox* m_colour_symbols = nullptr;
    MarkRow m_love_no, m_mark, m_love_yes, m_alarm;
    QLineEdit* m_gap = nullptr;
    QCheckBox* m_column_line = nullptr;
    QPushButton* m_day_colour = nullptr;
    QPushButton* m_channel_colour = nullptr;
    QLineEdit* m_limit = nullptr;
    QCheckBox* m_channel = nullptr;
    QCheckBox* m_start = nullptr;
    QComboBox* m_start_form = nullptr;
    QCheckBox* m_finish = nullptr;
    QComboBox* m_finish_form = nullptr;
    QCheckBox* m_length = nullptr;
    QCheckBox* m_rating = nullptr;
    QCheckBox* m_icons = nullptr;
    QCheckBox* m_mark_time = nullptr;
    QPushButton* m_mark_time_colour = nullptr;
    print::PrintOptions m_options;  // what the dialog has no control for
};

}  // namespace zt
