#include "print/print_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "core/job_control.h"
#include "core/progress.h"
#include "print/logic/print_choices.h"
#include "print/logic/print_icons.h"
#include "print/logic/print_paint.h"
#include "print/logic/print_run.h"
#include "print/print_data_dialog.h"

// The printed pages' genre pictures are a resource file of their own; naming its initialiser
// keeps the linker from dropping it. Q_INIT_RESOURCE must stand outside any namespace.
static void init_print_resources() {
    Q_INIT_RESOURCE(print);
}

namespace zt {
namespace {

constexpr int kZoomDpi[] = {24, 48, 96, 144, 192};

QPushButton* button(const QString& caption, const char* name, QWidget* parent) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QLineEdit* digits(int count, const char* name, const QString& text, QWidget* parent) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setMaxLength(count);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), edit));
    edit->setFixedWidth(12 * count + 14);
    return edit;
}

int number_of(const QLineEdit* edit) {
    return print::leading_number(edit->text().toStdString());
}

// Without a job window: no progress, and only the print window's own "Отмена" cancels.
class NoJobWindow final : public JobControl {
public:
    void job_begin(const std::string&, bool, bool) override {}
    void job_progress(int) override {}
    void job_end() override {}
};

}  // namespace

TFPrint::TFPrint(UserInterface* ui, JobControl* jobs, QWidget* parent)
    : QDialog(parent),
      m_ui(ui),
      m_jobs(jobs),
      m_data(new TFPrintData(this)),
      m_icons(print::genre_print_icons()) {
    init_print_resources();
    setObjectName(QStringLiteral("TFPrint"));
    setWindowTitle(QStringLiteral("Предпросмотр печати"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    resize(900, 640);

    ScrollBoxView = new QScrollArea(this);
    ScrollBoxView->setObjectName(QStringLiteral("ScrollBoxView"));
    ScrollBoxView->setBackgroundRole(QPalette::Dark);
    m_view = new QLabel;
    m_view->setObjectName(QStringLiteral("PreviewPage"));
    m_view->setFrameShape(QFrame::Box);
    m_view->setLineWidth(1);
    m_view->setCursor(Qt::OpenHandCursor);
    m_view->installEventFilter(this);
    ScrollBoxView->setWidget(m_view);
    ScrollBoxView->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    ScrollBoxView->setContentsMargins(5, 5, 5, 5);

    LabelCorrections = new QLabel(this);
    LabelCorrections->setObjectName(QStringLiteral("LabelCorrections"));
    LabelCorrections->setStyleSheet(QStringLiteral("color:#a00000"));
    LabelCorrections->setWordWrap(true);
    LabelCorrections->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(command_row());
    layout->addWidget(LabelCorrections);
    layout->addWidget(ScrollBoxView, 1);
    layout->addWidget(bottom_row());
    // Never narrower than the command lines need, so no caption is cut.
    setMinimumSize(layout->minimumSize().expandedTo(QSize(525, 400)));
}

TFPrint::~TFPrint() = default;

QWidget* TFPrint::command_row() {
    auto* row = new QWidget(this);
    auto* v = new QVBoxLayout(row);
    v->setContentsMargins(0, 0, 0, 0);
    auto* h = new QHBoxLayout;
    BitBtnStart = button(QStringLiteral("Печать"), "BitBtnStart", row);
    BitBtnSetup = button(QStringLiteral("Настройка"), "BitBtnSetup", row);
    BitBtnFont = button(QStringLiteral("Шрифт"), "BitBtnFont", row);
    BitBtnData = button(QStringLiteral("Данные"), "BitBtnData", row);
    BitBtnPdf = button(QStringLiteral("Печать в файл (PDF)"), "BitBtnPdf", row);
    BitBtnAbort = button(QStringLiteral("Отмена"), "BitBtnAbort", row);
    EditDPI = new QLineEdit(row);
    EditDPI->setObjectName(QStringLiteral("EditDPI"));
    EditDPI->setReadOnly(true);
    EditDPI->setFixedWidth(50);
    ComboBoxColor = new QComboBox(row);
    ComboBoxColor->setObjectName(QStringLiteral("ComboBoxColor"));
    ComboBoxColor->addItems({QStringLiteral("монохромная"), QStringLiteral("цветная")});
    ComboBoxProfiles = new QComboBox(row);
    ComboBoxProfiles->setObjectName(QStringLiteral("ComboBoxProfiles"));
    ComboBoxProfiles->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const char* name : print::kProfileNames)
        ComboBoxProfiles->addItem(QString::fromUtf8(name));
    EditCopy = digits(2, "EditCopy", QStringLiteral("1"), row);
    CheckBoxPage = new QCheckBox(QStringLiteral("Все страницы"), row);
    CheckBoxPage->setObjectName(QStringLiteral("CheckBoxPage"));
    CheckBoxPage->setChecked(true);
    EditPageStart = digits(3, "EditPageStart", QStringLiteral("1"), row);
    EditPageFinish = digits(3, "EditPageFinish", QStringLiteral("1"), row);
    EditPageStart->setEnabled(false);
    EditPageFinish->setEnabled(false);

    // Two lines: the commands, then the print job's choices.
    for (QWidget* w : {static_cast<QWidget*>(BitBtnStart), static_cast<QWidget*>(BitBtnSetup),
                       static_cast<QWidget*>(BitBtnFont), static_cast<QWidget*>(BitBtnData),
                       static_cast<QWidget*>(BitBtnPdf), static_cast<QWidget*>(BitBtnAbort)})
        h->addWidget(w);
    h->addStretch();
    // Each label names the field beside it (its buddy), which is what a screen reader says.
    const auto labelled = [row](QHBoxLayout* line, const QString& text, QWidget* field) {
        auto* label = new QLabel(text, row);
        label->setBuddy(field);
        line->addWidget(label);
        line->addWidget(field);
    };
    // The choices take two lines, so that none is squeezed at the window's size.
    auto* choices = new QHBoxLayout;
    labelled(choices, QStringLiteral("Качество:"), EditDPI);
    labelled(choices, QStringLiteral("Печать:"), ComboBoxColor);
    labelled(choices, QStringLiteral("Профиль:"), ComboBoxProfiles);
    choices->addStretch();
    auto* pages = new QHBoxLayout;
    labelled(pages, QStringLiteral("Число копий:"), EditCopy);
    pages->addSpacing(12);
    pages->addWidget(CheckBoxPage);
    labelled(pages, QStringLiteral("Печать страниц с"), EditPageStart);
    labelled(pages, QStringLiteral("по"), EditPageFinish);
    pages->addStretch();
    v->addLayout(h);
    v->addLayout(choices);
    v->addLayout(pages);

    connect(BitBtnStart, &QPushButton::clicked, this, &TFPrint::PrintDocument);
    connect(BitBtnSetup, &QPushButton::clicked, this, &TFPrint::setup_printer);
    connect(BitBtnFont, &QPushButton::clicked, this, &TFPrint::choose_font);
    connect(BitBtnData, &QPushButton::clicked, this, &TFPrint::show_options_dialog);
    connect(BitBtnPdf, &QPushButton::clicked, this, &TFPrint::PrintToPdf);
    connect(BitBtnAbort, &QPushButton::clicked, this, &TFPrint::BitBtnAbortClick);
    connect(ComboBoxColor, &QComboBox::activated, this, [this](int index) {
        m_options.colour = index == 1;
        BuildPreview();
    });
    connect(ComboBoxProfiles, &QComboBox::activated, this, [this](int index) {
        print::apply_profile(m_options, index);
        BuildPreview();
    });
    connect(EditCopy, &QLineEdit::editingFinished, this,
            [this] { EditCopy->setText(QString::number(std::max(1, number_of(EditCopy)))); });
    connect(CheckBoxPage, &QCheckBox::toggled, this, &TFPrint::all_pages_toggled);
    connect(EditPageStart, &QLineEdit::editingFinished, this, &TFPrint::page_range_left);
    connect(EditPageFinish, &QLineEdit::editingFinished, this, &TFPrint::page_range_left);
    return row;
}

QWidget* TFPrint::bottom_row() {
    auto* row = new QWidget(this);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    ComboBoxViewSize = new QComboBox(row);
    ComboBoxViewSize->setObjectName(QStringLiteral("ComboBoxViewSize"));
    ComboBoxViewSize->addItems({QStringLiteral("25%"), QStringLiteral("50%"),
                                QStringLiteral("100%"), QStringLiteral("150%"),
                                QStringLiteral("200%")});
    ComboBoxViewSize->setCurrentIndex(2);
    ComboBoxViewPage = new QComboBox(row);
    ComboBoxViewPage->setObjectName(QStringLiteral("ComboBoxViewPage"));
    ComboBoxViewPage->setMinimumWidth(60);
    BitBtnViewLeft = new QToolButton(row);
    BitBtnViewLeft->setObjectName(QStringLiteral("BitBtnViewLeft"));
    BitBtnViewLeft->setArrowType(Qt::LeftArrow);
    BitBtnViewRight = new QToolButton(row);
    BitBtnViewRight->setObjectName(QStringLiteral("BitBtnViewRight"));
    BitBtnViewRight->setArrowType(Qt::RightArrow);
    auto* zoom = new QLabel(QStringLiteral("Масштаб:"), row);
    zoom->setBuddy(ComboBoxViewSize);
    h->addWidget(zoom);
    h->addWidget(ComboBoxViewSize);
    h->addStretch();
    auto* page = new QLabel(QStringLiteral("Страница:"), row);
    page->setBuddy(ComboBoxViewPage);
    h->addWidget(page);
    h->addWidget(BitBtnViewLeft);
    h->addWidget(ComboBoxViewPage);
    h->addWidget(BitBtnViewRight);
    connect(ComboBoxViewSize, &QComboBox::activated, this, [this] { BuildPreview(); });
    connect(ComboBoxViewPage, &QComboBox::activated, this, [this] { ShowPreviewPage(); });
    connect(BitBtnViewLeft, &QToolButton::clicked, this, [this] {
        if (ComboBoxViewPage->currentIndex() > 0) {
            ComboBoxViewPage->setCurrentIndex(ComboBoxViewPage->currentIndex() - 1);
            ShowPreviewPage();
        }
    });
    connect(BitBtnViewRight, &QToolButton::clicked, this, [this] {
        if (ComboBoxViewPage->currentIndex() + 1 < ComboBoxViewPage->count()) {
            ComboBoxViewPage->setCurrentIndex(ComboBoxViewPage->currentIndex() + 1);
            ShowPreviewPage();
        }
    });
    return row;
}

void TFPrint::set_document(std::vector<print::PrintRow> rows, print::PrintContext context) {
    m_rows = std::move(rows);
    m_context = std::move(context);
}

void TFPrint::set_options(const print::PrintOptions& options) {
    m_options = options;
    ComboBoxColor->setCurrentIndex(options.colour ? 1 : 0);
}

void TFPrint::set_zoom(int item) {
    ComboBoxViewSize->setCurrentIndex(std::clamp(item, 0, 4));
}

int TFPrint::zoom_dpi() const {
    return kZoomDpi[std::clamp(ComboBoxViewSize->currentIndex(), 0, 4)];
}

QPrinter& TFPrint::printer() {
    if (!m_printer) {
        m_printer = std::make_unique<QPrinter>(QPrinter::PrinterResolution);
        m_printer->setPageOrientation(QPageLayout::Landscape);
        m_printer->setFullPage(true);
        if (parentWidget())
            m_printer->setDocName(print::document_name(parentWidget()->window()->windowTitle()));
    }
    return *m_printer;
}

JobControl& TFPrint::jobs() {
    static NoJobWindow none;
    return m_jobs ? *m_jobs : none;
}

void TFPrint::lock_controls(bool keep_abort) {
    m_locked.clear();
    for (QWidget* w : findChildren<QWidget*>()) {
        if (!w->isEnabled() || (keep_abort && w == BitBtnAbort)) continue;
        if (!qobject_cast<QAbstractButton*>(w) && !qobject_cast<QComboBox*>(w) &&
            !qobject_cast<QLineEdit*>(w))
            continue;
        m_locked.emplace_back(w, true);
        w->setEnabled(false);
    }
}

void TFPrint::unlock_controls() {
    for (auto& [w, on] : m_locked)
        if (w) w->setEnabled(on);
    m_locked.clear();
}

void TFPrint::BuildPreview() {
    if (m_busy) return;
    m_busy = true;
    m_abort = false;
    jobs().job_begin("Подготовка данных...", true, true);
    // The shown page goes and the window is locked while its events keep running.
    m_view->clear();
    m_view->hide();
    m_page_image = QImage();
    lock_controls(false);

    QPrinter& p = printer();
    const int dpi = std::max(1, p.resolution());
    EditDPI->setText(QString::number(dpi));
    const QRect page = p.pageLayout().fullRectPixels(dpi);
    const int z = zoom_dpi();
    m_page_size = QSize(int(std::trunc(double(page.width()) / dpi * z)),
                        int(std::trunc(double(z) * page.height() / dpi)));
    m_metrics = print::SetPrintMetrics(m_options, z, m_page_size.width(), m_page_size.height());
    print::StepProgress progress(&jobs(), &m_abort, 0, 100);
    m_lines = print::BuildPrintLines(m_rows, m_options, m_context, m_metrics, &progress);
    const bool cancelled = progress.job_cancelled();
    m_pages = cancelled ? 0 : print::CountPrintPages(m_lines, m_metrics.per_page());
    LabelCorrections->setText(m_metrics.corrections.join(' '));
    LabelCorrections->setVisible(!m_metrics.corrections.isEmpty());
    ComboBoxViewPage->clear();
    for (int i = 1; i <= m_pages; ++i) ComboBoxViewPage->addItem(QString::number(i));
    ComboBoxViewPage->setCurrentIndex(0);
    EditPageStart->setText(QStringLiteral("1"));
    EditPageFinish->setText(QString::number(std::max(1, m_pages)));
    if (!cancelled) {
        m_view->show();
        ShowPreviewPage();
    }
    jobs().job_end();
    unlock_controls();
    m_busy = false;
    BitBtnAbort->setFocus();
}

void TFPrint::ShowPreviewPage() {
    ScrollBoxView->horizontalScrollBar()->setValue(0);
    ScrollBoxView->verticalScrollBar()->setValue(0);
    const int page = ComboBoxViewPage->currentIndex() + 1;
    if (m_pages < 1 || page < 1) {
        m_view->clear();
        return;
    }
    const print::PageSource source{m_lines, m_options, m_context, m_metrics, m_icons};
    m_page_image =
        print::RenderPageImage(source, page, m_pages, m_page_size.width(), m_page_size.height());
    m_view->setPixmap(QPixmap::fromImage(m_page_image));
    m_view->resize(m_page_image.size() + QSize(2, 2));
}

bool TFPrint::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_view) return QDialog::eventFilter(watched, event);
    auto* h = ScrollBoxView->horizontalScrollBar();
    auto* v = ScrollBoxView->verticalScrollBar();
    switch (event->type()) {
        case QEvent::MouseButtonPress: {
            auto* e = static_cast<QMouseEvent*>(event);
            if (e->button() != Qt::LeftButton) break;
            m_dragging = true;
            m_drag_from = e->globalPosition().toPoint();
            m_scroll_from = QPoint(h->value(), v->value());
            m_view->setCursor(Qt::ClosedHandCursor);
            return true;
        }
        case QEvent::MouseMove:
            if (m_dragging) {
                const QPoint moved =
                    static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - m_drag_from;
                // The page follows the mouse.
                h->setValue(m_scroll_from.x() - moved.x());
                v->setValue(m_scroll_from.y() - moved.y());
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            m_dragging = false;
            m_view->setCursor(Qt::OpenHandCursor);
            return true;
        default:
            break;
    }
    return QDialog::eventFilter(watched, event);
}

void TFPrint::all_pages_toggled(bool all) {
    EditPageStart->setEnabled(!all);
    EditPageFinish->setEnabled(!all);
    if (all) {
        EditPageStart->setText(QStringLiteral("1"));
        EditPageFinish->setText(QString::number(std::max(1, m_pages)));
    }
}

void TFPrint::page_range_left() {
    const auto range =
        print::normalize_page_range(number_of(EditPageStart), number_of(EditPageFinish), m_pages);
    EditPageStart->setText(QString::number(range.from));
    EditPageFinish->setText(QString::number(range.to));
}

void TFPrint::show_options_dialog() {
    m_data->set_options(m_options);
    if (m_data->exec() == QDialog::Accepted) m_options = m_data->options();
    BuildPreview();  // closing the dialog in any way rebuilds
}

void TFPrint::choose_font() {
    bool ok = false;
    QFont initial(m_options.font_family);
    initial.setPointSizeF(m_options.font_points);
    initial.setBold(m_options.font_bold);
    initial.setItalic(m_options.font_italic);
    const QFont font = QFontDialog::getFont(&ok, initial, this, QStringLiteral("Шрифт"));
    if (!ok) return;
    m_options.font_family = font.family();
    m_options.font_points = font.pointSizeF() > 0 ? font.pointSizeF() : m_options.font_points;
    m_options.font_bold = font.bold();
    m_options.font_italic = font.italic();
    // The font's colour: the platform's font dialog has none, so the colour dialog follows.
    const QColor colour =
        QColorDialog::getColor(m_options.font_colour, this, QStringLiteral("Цвет шрифта"));
    if (colour.isValid()) m_options.font_colour = colour;
    BuildPreview();
}

void TFPrint::setup_printer() {
    // The platform's printer dialog chooses the printer (or a PDF file), its paper and
    // orientation; copies and pages are the window's own fields.
    QPrintDialog dialog(&printer(), this);
    dialog.setWindowTitle(QStringLiteral("Настройка"));
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, false);
    for (auto* box : dialog.findChildren<QDialogButtonBox*>())
        for (QAbstractButton* b : box->buttons())
            if (box->buttonRole(b) == QDialogButtonBox::AcceptRole)
                b->setText(QStringLiteral("OK"));
    if (dialog.exec() == QDialog::Accepted) BuildPreview();
}

void TFPrint::BitBtnAbortClick() {
    if (m_printing) {
        if (!m_ui || m_ui->show_msg(MsgKind::Question, "Отменить печать?")) m_abort = true;
        return;
    }
    reject();
}

void TFPrint::reject() {
    if (m_printing) {
        BitBtnAbortClick();
        return;
    }
    if (m_busy) return;  // the job window's "Отмена" stops a preview build
    QDialog::reject();
}

print::PdfJob TFPrint::pdf_job(int dpi) const {
    print::PdfJob job;
    if (m_printer) job.page = m_printer->pageLayout();
    job.dpi = dpi;
    job.copies = std::max(1, number_of(EditCopy));
    // "Все страницы" prints every page of the printed layout, whose count may differ from the
    // preview's.
    if (!CheckBoxPage->isChecked()) {
        job.from = number_of(EditPageStart);
        job.to = std::max(1, number_of(EditPageFinish));
    }
    job.creator = QStringLiteral("ЗОРВАН. Телепрограмма.");
    return job;
}

void TFPrint::write_pdf(const QString& path, const print::PdfJob& job) {
    print::StepProgress progress(&jobs(), &m_abort, 0, 100);
    const auto result =
        print::write_print_pdf(path, m_rows, m_options, m_context, job, m_icons, &progress);
    if (!result.ok && !result.cancelled && m_ui)
        m_ui->show_msg(MsgKind::Error, "Ошибка при создании файла: " + result.error.toStdString());
}

bool TFPrint::print_to_device(QPrinter& p, int dpi) {
    const QRect page = p.pageLayout().fullRectPixels(dpi);
    const print::PrintMetrics m =
        print::SetPrintMetrics(m_options, dpi, page.width(), page.height());
    print::StepProgress layout(&jobs(), &m_abort, 0, 50);
    const print::PrintLines lines =
        print::BuildPrintLines(m_rows, m_options, m_context, m, &layout);
    if (layout.job_cancelled()) return false;  // nothing has gone to the printer yet
    const int pages = print::CountPrintPages(lines, m.per_page());
    const print::PdfJob job = pdf_job(dpi);
    const auto range = print::normalize_page_range(job.from, job.to > 0 ? job.to : pages, pages);
    const print::PageSource source{lines, m_options, m_context, m, m_icons};
    QPainter painter;
    if (!painter.begin(&p)) return false;  // the platform reports its printer's errors
    print::StepProgress painting(&jobs(), &m_abort, 50, 100);
    const bool done = print::PaintPages(
        painter, p, source, pages, print::PageRun{range.from, range.to, job.copies}, &painting);
    if (!done) p.abort();
    painter.end();
    return done;
}

void TFPrint::PrintDocument() {
    if (m_busy) return;
    auto ask = [this](const char* text) {
        return !m_ui || m_ui->show_msg(MsgKind::Question, text);
    };
    if (!ask("Начать печать?")) return;
    QPrinter& p = printer();
    const int dpi = std::max(1, p.resolution());
    if (dpi > 600 &&
        !ask("Внимание! Установлено слишком высокое качество печати. Может потребоваться "
             "слишком много памяти и времени на подготовку печати. Продолжить?"))
        return;
    run_print_job([&] {
        // A printer that prints into a file gets a complete PDF or none at all.
        if (p.outputFormat() == QPrinter::PdfFormat && !p.outputFileName().isEmpty())
            write_pdf(p.outputFileName(), pdf_job(dpi));
        else
            print_to_device(p, dpi);
    });
}

void TFPrint::run_print_job(const std::function<void()>& work) {
    m_busy = true;
    m_printing = true;
    m_abort = false;
    lock_controls(true);
    jobs().job_begin("Печать...", true, true);
    work();
    jobs().job_end();
    unlock_controls();
    m_printing = false;
    m_busy = false;
    BitBtnAbort->setFocus();
}

void TFPrint::PrintToPdf() {
    if (m_busy) return;
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Печать в файл (PDF)"),
                                                      QString(), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) return;
    run_print_job([&] { write_pdf(path, pdf_job(300)); });
}

}  // namespace zt
