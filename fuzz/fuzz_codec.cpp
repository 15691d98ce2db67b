// libFuzzer target: the field readers and compressed sections on arbitrary bytes, as the
// server's payloads and the import file use them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "storage/field_codec.h"
#include "storage/section.h"

// The harness's bound on an inflated section, as for the loaders (scripts/fuzz).
constexpr std::size_t kBodyLimit = std::size_t(64) << 20;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    zt::FieldReader r(bytes);
    try {
        // The first byte picks the next field to read, again and again.
        while (!r.at_end()) {
            switch (r.Byte() % 9) {
                case 0:
                    r.Int32();
                    break;
                case 1:
                    r.Flag();
                    break;
                case 2:
                    r.ShortText();
                    break;
                case 3:
                    r.LongText();
                    break;
                case 4:
                    r.FixedText(8);
                    break;
                case 5:
                    r.BitmapBlob();
                    break;
                case 6:
                    r.GifBlob();
                    break;
                case 7:
                    r.ZSection(nullptr, kBodyLimit);
                    break;
                default: {
                    std::string rest(r.Bytes(r.remaining()));
                    zt::InflateSection(rest, nullptr, kBodyLimit);
                }
            }
        }
    } catch (const zt::field_error&) {
    }
    return 0;
}
