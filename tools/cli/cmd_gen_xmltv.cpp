// zorvan-cli gen-xmltv: writes a generated schedule as an XMLTV file (for ingest tests and the
// reader's benchmark).
#include <QSaveFile>

#include <iostream>
#include <streambuf>

#include "command.h"
#include "core/genres.h"
#include "core/store.h"
#include "core/time_zones.h"
#include "generated_store.h"
#include "tools/cli/cli_common.h"
#include "tools/gen/schedule_generator.h"
#include "tools/gen/xmltv_writer.h"

namespace zt::cli {
namespace {

// A stream buffer that writes into a QIODevice.
class DeviceBuf final : public std::streambuf {
public:
    explicit DeviceBuf(QIODevice& device) : m_device(device) {}

protected:
    int_type overflow(int_type c) override {
        if (c == traits_type::eof()) return traits_type::not_eof(c);
        const char ch = traits_type::to_char_type(c);
        return m_device.write(&ch, 1) == 1 ? c : traits_type::eof();
    }
    std::streamsize xsputn(const char* s, std::streamsize n) override {
        return m_device.write(s, n) == n ? n : 0;
    }

private:
    QIODevice& m_device;
};

int run_gen_xmltv(const Options& opt) {
    if (opt.positional().size() != 1) {
        std::cerr << "zorvan-cli gen-xmltv: give one FILE\n";
        return 2;
    }
    const std::unique_ptr<all_list> generated = generated_store(opt);
    all_list& store = *generated;
    const std::int64_t min_bytes = std::stoll(opt.get("size-mb", "0")) * 1024 * 1024;

    QSaveFile file(QString::fromStdString(opt.positional()[0]));
    if (!file.open(QIODevice::WriteOnly)) {
        std::cerr << "zorvan-cli gen-xmltv: " << file.errorString().toStdString() << '\n';
        return 1;
    }
    DeviceBuf buf(file);
    std::ostream out(&buf);
    const std::int64_t size = gen::write_xmltv(store, out, min_bytes);
    if (!out || !file.commit()) {
        std::cerr << "zorvan-cli gen-xmltv: " << file.errorString().toStdString() << '\n';
        return 1;
    }
    std::cerr << "wrote " << size << " bytes\n";
    return 0;
}

const Registrar reg("gen-xmltv", {"[--profile tiny|small|large] [--at \"yyyy-MM-dd hh:mm\"] "
                                  "[--seed N] [--size-mb N] FILE",
                                  {{"profile"}, {"at"}, {"seed"}, {"size-mb"}},
                                  run_gen_xmltv});

}  // namespace
}  // namespace zt::cli
