#pragma once

#include <QColor>
#include <QString>
#include <cstdint>
#include <vector>

#include "print/logic/print_metrics.h"
#include "print/logic/print_options.h"

namespace zt {
class Progress;
}

namespace zt::print {

// One word of a printed line: a text, or a genre icon in place of the text.
struct PrintWord final {
    QString text;
    int image = -1;             // > 0: draw this genre family's icon instead of the text
    bool break_before = false;  // this word starts a new page
    int width = 0;              // text width on the surface, measured when made
    bool highlight = false;     // frame (monochrome) or fill (colour) behind the word
    QColor colour = Qt::white;  // the fill in colour mode
};

struct PrintLine final {
    std::vector<PrintWord> words;
    bool centred = false;  // a heading in column mode
};

using PrintLines = std::vector<PrintLine>;

// BuildPrintLines: the rows of the day page as printed lines, with headings, merged parts,
// wrapping and page breaks. Reports progress per row and, once the progress sink says the job
// was cancelled, stops before the next row and returns no lines.
PrintLines BuildPrintLines(const std::vector<PrintRow>& rows, const PrintOptions& options,
                           const PrintContext& context, const PrintMetrics& metrics,
                           Progress* progress = nullptr);

// The rows that print as one line when parts are merged: the same channel, the same programme
// and the same weekday, in list order. Made once per layout so that merging stays linear.
class MergeIndex final {
public:
    explicit MergeIndex(const std::vector<PrintRow>& rows);
    const std::vector<std::size_t>& parts(std::size_t index) const;

private:
    std::vector<std::size_t> m_group;  // per row: its group
    std::vector<std::vector<std::size_t>> m_parts;
};

// The start-time text of `rows[index]`; with merging on, a continued programme collects the
// start times of its parts on the same channel and weekday, each of which is flagged in
// `merged` so it is not printed again.
QString StartTimeText(const std::vector<PrintRow>& rows, std::size_t index,
                      const PrintOptions& options, const PrintContext& context,
                      std::vector<std::uint8_t>& merged, const MergeIndex& parts);

// Cuts the last line into lines of the column width (at word boundaries); a word that must
// start a page pads the lines up to the next page first, unless it would land on the first
// two lines of the document.
void WrapLastLine(PrintLines& lines, const PrintMetrics& metrics);
// Inserts empty lines at `i` so that line `i` starts a page; returns how many.
int PadToPage(PrintLines& lines, std::size_t i, int per_page);
// Moves every line holding a page-break word (but the first line) to the top of a page.
void InsertPageBreaks(PrintLines& lines, const PrintOptions& options, int per_page);
// ceil(lines / per page), at least 1.
int CountPrintPages(const PrintLines& lines, int per_page);

}  // namespace zt::print
