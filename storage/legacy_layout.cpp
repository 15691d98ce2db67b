#include "storage/legacy_layout.h"

#include "storage/data_internal.h"

namespace zt {
namespace {

// Where the channel section of a current u.dat body ends; the sections after it are the
// same in both layouts.
std::size_t skip_current_channels_u(const std::string& body) {
    FieldReader r(body);
    const std::int32_t n = r.Int32();
    for (std::int32_t i = 0; i < n; ++i) {
        r.Int32();
        r.ShortText();
        r.LongText();
        r.FixedText(8);
        r.BitmapBlob();
        r.BitmapBlob();
        r.BitmapBlob();
    }
    return r.pos();
}

}  // namespace

std::string build_u_body_v1(const DataContext& ctx) {
    const all_list& store = ctx.store;
    const std::string current = build_u_body(ctx);
    std::string body;
    FieldWriter w(body);
    w.Int32(std::int32_t(store.channels.size()));
    for (const auto& c : store.channels) {
        w.Int32(c->id);
        w.ShortText(c->name);
        w.LongText(c->descr);
        w.FixedText(c->stamp, 8);
        const bool has_logo = c->logo >= 0 && std::size_t(c->logo) < store.logos.size();
        const logo_images none;
        const logo_images& logo = has_logo ? store.logos[std::size_t(c->logo)] : none;
        w.BitmapBlob(logo.bmp16);
        w.BitmapBlob(logo.bmp24);
        w.BitmapBlob(logo.bmp32);
        w.Int32(std::int32_t(c->love.size()));
        for (const auto& l : c->love) {
            w.Int32(l->id);
            w.ShortText(l->title);
            w.Flag(l->liked);
            w.ShortText(data::format_datetime(store, l->seen));
        }
    }
    body.append(current, skip_current_channels_u(current));
    return body;
}

std::string build_t_body_v1(const DataContext& ctx) {
    return data::t_body(ctx, data::TLayout::version1);
}

bool save_legacy_files(const DataContext& ctx) {
    const bool u = save_data_file(ctx, build_u_body_v1(ctx), "u.dat", "u.bak", 1);
    const bool t = save_data_file(ctx, build_t_body_v1(ctx), "t.dat", "t.bak", 1);
    return u && t;
}

}  // namespace zt
