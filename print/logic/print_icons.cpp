#include "print/logic/print_icons.h"

#include <QPainter>
#include <map>
#include <memory>
#include <utility>

namespace zt::print {
namespace {

QImage monochrome(const QImage& colour) {
    QImage paper(colour.size(), QImage::Format_RGB32);
    paper.fill(Qt::white);
    QPainter(&paper).drawImage(0, 0, colour);
    return paper.convertToFormat(QImage::Format_Grayscale8);
}

}  // namespace

PrintIcons genre_print_icons() {
    auto cache = std::make_shared<std::map<std::pair<int, bool>, QImage>>();
    return [cache](int index, bool colour) {
        const auto key = std::make_pair(index, colour);
        auto it = cache->find(key);
        if (it != cache->end()) return it->second;
        // The list of the programme tables keeps the families from index 4.
        const int file = index > 0 ? index + 3 : 0;
        QImage image(QStringLiteral(":/print/64/%1.png").arg(file));
        if (!image.isNull() && !colour) image = monochrome(image);
        return cache->emplace(key, image).first->second;
    };
}

}  // namespace zt::print
