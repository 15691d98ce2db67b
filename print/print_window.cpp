#include "print/print_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <cmath>

#include "core/progress.h"
#include "print/logic/print_choices.h"
#include "print/logic/print_icons.h"
#include "print/logic/print_pdf.h"
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

}  // namespace

TFPrint::TFPrint(UserInterface* ui, QWidget* parent)
    : QDialog(parent),
      m_ui(ui),
      m_data(new TFPrintData(this)),
      m_icons(print::genre_print_icons()) {
    init_print_resources();
    setObjectName(QStringLiteral("TFPrint"));
    setWindowTitle(QStringLiteral("Предпросмотр печати"));
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint);
    setMinimumSize(525, 400);
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
    auto* choices = new QHBoxLayout;
    choices->addWidget(new QLabel(QStringLiteral("Качество:"), row));
    choices->addWidget(EditDPI);
    choices->addWidget(new QLabel(QStringLiteral("Печать:"), row));
    choices->addWidget(ComboBoxColor);
    choices->addWidget(new QLabel(QStringLiteral("Профиль:"), row));
    choices->addWidget(ComboBoxProfiles);
    choices->addWidget(new QLabel(QStringLiteral("Число копий:"), row));
    choices->addWidget(EditCopy);
    choices->addWidget(CheckBoxPage);
    choices->addWidget(new QLabel(QStringLiteral("Печать страниц с"), row));
    choices->addWidget(EditPageStart);
    choices->addWidget(new QLabel(QStringLiteral("по"), row));
    choices->addWidget(EditPageFinish);
    choices->addStretch();
    v->addLayout(h);
    v->addLayout(choices);

    connect(BitBtnStart, &QPushButton::clicked, this, &TFPrint::PrintDocument);
    connect(BitBtnSetup, &QPushButton::clicked, this, &TFPrint::setup_printer);
    connect(BitBtnFont, &QPushButton::clicked, this, &TFPrint::choose_font);
    connect(BitBtnData, &QPushButton::clicked, this, &TFPrint::show_options_dialog);
    connect(BitBtnPdf, &QPushButton::clicked, this, &TFPrint::PrintToPdf);
    connect(BitBtnAbort, &QPushButton::clicked, this, &QDialog::reject);
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
    h->addWidget(new QLabel(QStringLiteral("Масштаб:"), row));
    h->addWidget(ComboBoxViewSize);
    h->addStretch();
    h->addWidget(new QLabel(QStringLiteral("Страница:"), row));
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
        if (parentWidget()) m_printer->setDocName(parentWidget()->window()->windowTitle());
    }
    return *m_printer;
}

void TFPrint::BuildPreview() {
    QPrinter& p = printer();
    const int dpi = std::max(1, p.resolution());
    EditDPI->setText(QString::number(dpi));
    const QRect page = p.pageLayout().fullRectPixels(dpi);
    const int z = zoom_dpi();
    m_page_size = QSize(int(std::trunc(double(page.width()) / dpi * z)),
                        int(std::trunc(double(z) * page.height() / dpi)));
    m_metrics = print::SetPrintMetrics(m_options, z, m_page_size.width(), m_page_size.height());
    m_lines = print::BuildPrintLines(m_rows, m_options, m_context, m_metrics);
    m_pages = print::CountPrintPages(m_lines, m_metrics.per_page());
    LabelCorrections->setText(m_metrics.corrections.join(' '));
    LabelCorrections->setVisible(!m_metrics.corrections.isEmpty());
    ComboBoxViewPage->clear();
    for (int i = 1; i <= m_pages; ++i) ComboBoxViewPage->addItem(QString::number(i));
    ComboBoxViewPage->setCurrentIndex(0);
    EditPageStart->setText(QStringLiteral("1"));
    EditPageFinish->setText(QString::number(m_pages));
    ShowPreviewPage();
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
    BuildPreview();
}

void TFPrint::setup_printer() {
    QPageSetupDialog dialog(&printer(), this);
    if (dialog.exec() == QDialog::Accepted) BuildPreview();
}

void TFPrint::PrintDocument() {
    auto ask = [this](const char* text) {
        return !m_ui || m_ui->show_msg(MsgKind::Question, text);
    };
    if (!ask("Начать печать?")) return;
    QPrinter& p = printer();
    const int copies = std::max(1, number_of(EditCopy));
    const int dpi = std::max(1, p.resolution());
    if (dpi > 600 &&
        !ask("Внимание! Установлено слишком высокое качество печати. Может потребоваться "
             "слишком много памяти и времени на подготовку печати. Продолжить?"))
        return;
    const QRect page = p.pageLayout().fullRectPixels(dpi);
    const print::PrintMetrics m =
        print::SetPrintMetrics(m_options, dpi, page.width(), page.height());
    const print::PrintLines lines = print::BuildPrintLines(m_rows, m_options, m_context, m);
    const int pages = print::CountPrintPages(lines, m.per_page());
    const auto range =
        print::normalize_page_range(number_of(EditPageStart), number_of(EditPageFinish), pages);
    const print::PageSource source{lines, m_options, m_context, m, m_icons};
    QPainter painter;
    if (!painter.begin(&p)) return;  // the platform reports its printer's errors
    bool first = true;
    for (int copy = 0; copy < copies; ++copy) {
        for (int n = range.from; n <= range.to; ++n) {
            if (!first) p.newPage();
            first = false;
            print::DrawPage(painter, source, n, pages);
        }
    }
    painter.end();
}

void TFPrint::PrintToPdf() {
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Печать в файл (PDF)"),
                                                      QString(), QStringLiteral("PDF (*.pdf)"));
    if (path.isEmpty()) return;
    const auto result = print::write_print_pdf(path, m_rows, m_options, m_context, 300, m_icons);
    if (!result.ok && m_ui)
        m_ui->show_msg(MsgKind::Error, "Ошибка при создании файла: " + result.error.toStdString());
}

}  // namespace zt
