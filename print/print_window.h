#pragma once

#include <QDialog>
#include <QPointer>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "print/logic/print_lines.h"
#include "print/logic/print_paint.h"
#include "print/logic/print_pdf.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QScrollArea;
class QToolButton;

namespace zt {

class JobControl;
class UserInterface;
class TFPrintData;

// "Предпросмотр печати": the preview of the printed pages, the printer and its quality, the
// print mode, the profiles, copies and page range, and the print run. Pages are rendered on
// demand from the laid-out lines at the zoom's resolution; nothing is kept on disk. The preview
// build and the print run go through the job window with progress and its Cancel; while they
// run the window is locked (while printing all but "Отмена", which asks "Отменить печать?").
class TFPrint final : public QDialog {
    Q_OBJECT
public:
    // `ui` asks the questions (null: every question is answered yes); `jobs` is the job window
    // (null: no progress is shown and only "Отмена" cancels).
    TFPrint(UserInterface* ui, JobControl* jobs, QWidget* parent = nullptr);
    ~TFPrint() override;

    // The document: the rows of the day page with what the layout reads besides the options.
    void set_document(std::vector<print::PrintRow> rows, print::PrintContext context);
    void set_options(const print::PrintOptions& options);
    const print::PrintOptions& options() const { return m_options; }
    // Zoom items "25%" .. "200%"; 2 is "100%".
    void set_zoom(int item);

    // BuildPreview: lays the document out at the zoom's resolution and shows page 1; a cancelled
    // build leaves the preview empty.
    void BuildPreview();
    // "Печать": asks, lays the document out at the printer's resolution and prints the chosen
    // pages and copies. A printer set to print into a PDF file gets the file only once it is
    // complete; a cancel leaves no file behind.
    void PrintDocument();
    // True while a preview build or a print run is going on.
    bool busy() const { return m_busy; }
    bool printing() const { return m_printing; }
    int page_count() const { return m_pages; }
    const QImage& shown_page() const { return m_page_image; }
    TFPrintData& data_dialog() const { return *m_data; }
    QPrinter& printer();

    // Escape and the close box: "Отмена" while printing, nothing while a preview is built.
    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPushButton* BitBtnStart = nullptr;
    QPushButton* BitBtnSetup = nullptr;
    QPushButton* BitBtnFont = nullptr;
    QPushButton* BitBtnData = nullptr;
    QPushButton* BitBtnPdf = nullptr;
    QPushButton* BitBtnAbort = nullptr;
    QLineEdit* EditDPI = nullptr;
    QComboBox* ComboBoxColor = nullptr;
    QComboBox* ComboBoxProfiles = nullptr;
    QLineEdit* EditCopy = nullptr;
    QCheckBox* CheckBoxPage = nullptr;
    QLineEdit* EditPageStart = nullptr;
    QLineEdit* EditPageFinish = nullptr;
    QScrollArea* ScrollBoxView = nullptr;
    QComboBox* ComboBoxViewSize = nullptr;
    QComboBox* ComboBoxViewPage = nullptr;
    QToolButton* BitBtnViewLeft = nullptr;
    QToolButton* BitBtnViewRight = nullptr;
    QLabel* LabelCorrections = nullptr;

    void BitBtnAbortClick();
    JobControl& jobs();
    // Locks the window's controls for a run (all but "Отмена" while printing) and unlocks them.
    void lock_controls(bool keep_abort);
    void unlock_controls();
    print::PdfJob pdf_job(int dpi) const;
    void write_pdf(const QString& path, const print::PdfJob& job);
    bool print_to_device(QPrinter& printer, int dpi);
    // A print run through the job window with the window locked but for "Отмена".
    void run_print_job(const std::function<void()>& work);
    QWidget* command_row();
    QWidget* bottom_row();
    void ShowPreviewPage();
    void PrintToPdf();
    void show_options_dialog();
    void choose_font();
    void setup_printer();
    void page_range_left();
    void all_pages_toggled(bool all);
    int zoom_dpi() const;

    UserInterface* m_ui;
    JobControl* m_jobs;
    std::unique_ptr<QPrinter> m_printer;
    TFPrintData* m_data = nullptr;
    QLabel* m_view = nullptr;
    std::vector<print::PrintRow> m_rows;
    print::PrintContext m_context;
    print::PrintOptions m_options;
    print::PrintIcons m_icons;
    print::PrintLines m_lines;
    print::PrintMetrics m_metrics;
    QSize m_page_size;
    int m_pages = 0;
    QImage m_page_image;
    QPoint m_drag_from;
    QPoint m_scroll_from;
    bool m_dragging = false;
    bool m_busy = false;
    bool m_printing = false;
    bool m_abort = false;  // "Отмена" confirmed while printing
    std::vector<std::pair<QPointer<QWidget>, bool>> m_locked;
};

}  // namespace zt
