#include "tools/json/store_json.h"

#include <unordered_map>

#include "core/cp1251.h"
#include "tools/json/json_writer.h"

namespace zt {
namespace {

// A store text (CP1251) as a JSON string.
void put_text(std::ostream& out, std::string_view cp1251) {
    put_json_string(out, to_utf8(cp1251));
}

template <class List, class Fn>
void put_list(std::ostream& out, const List& list, const char* sep, Fn&& each) {
    out << '[';
    bool first = true;
    for (const auto& item : list) {
        if (!first) out << sep;
        first = false;
        each(item);
    }
    out << ']';
}

void put_channel(std::ostream& out, const all_list& store, const chl_serv_list& c) {
    JsonObject o(out);
    o.key("id") << c.id;
    put_text(o.key("name"), c.name);
    put_text(o.key("descr"), c.descr);
    put_text(o.key("stamp"), c.stamp);
    o.key("logo") << c.logo;
    o.key("group_count") << c.group_count;
    put_list(o.key("dates"), c.dates, ", ", [&](const dt_local_list& d) {
        JsonObject od(out);
        put_text(od.key("date"), d.date);
        od.key("full") << int(d.full);
        od.key("with_anons") << int(d.with_anons);
    });
    put_list(o.key("anons"), c.anons, ",\n    ", [&](const auto& a) {
        JsonObject oa(out);
        oa.key("id") << a->id;
        put_text(oa.key("text"), a->text);
        oa.key("picture_bytes") << a->picture.size();
    });
    put_list(o.key("love"), c.love, ", ", [&](const auto& l) {
        JsonObject ol(out);
        ol.key("id") << l->id;
        put_text(ol.key("title"), l->title);
        ol.key("liked") << int(l->liked);
        put_text(ol.key("seen"), file_datetime_text(store, l->seen));
    });
    std::unordered_map<const tvprog_serv_list*, std::size_t> position;
    for (std::size_t i = 0; i < c.tvprog.size(); ++i) position.emplace(c.tvprog[i].get(), i);
    put_list(o.key("tvprog"), c.tvprog, ",\n    ", [&](const auto& p) {
        JsonObject op(out);
        op.key("id") << p->id;
        put_text(op.key("start"), file_datetime_text(store, p->start));
        put_text(op.key("finish"), file_datetime_text(store, p->finish));
        op.key("type_family") << p->type_family;
        op.key("type_sub") << p->type_sub;
        if (p->type)
            op.key("type") << p->type->id;
        else
            op.key("type") << "null";
        op.key("rating") << p->rating;
        op.key("reported") << int(p->reported);
        op.key("continued") << int(p->continued);
        const auto next = p->next_part.lock();
        const auto at = next ? position.find(next.get()) : position.end();
        if (at != position.end())
            op.key("next_part") << at->second;
        else
            op.key("next_part") << "null";
        put_text(op.key("title"), p->title);
        put_text(op.key("descr"), p->descr);
        if (p->anons)
            op.key("anons") << p->anons->id;
        else
            op.key("anons") << "null";
        op.key("mark") << int(p->mark);
        if (p->love)
            op.key("love") << p->love->id;
        else
            op.key("love") << "null";
        op.key("alarm") << int(p->alarm);
    });
}

}  // namespace

void write_store_json(std::ostream& out, const all_list& store, const user_account& user,
                      const std::vector<raised_message>& messages) {
    {
        JsonObject root(out);
        put_list(root.key("channels"), store.channels, ",\n  ",
                 [&](const auto& c) { put_channel(out, store, *c); });
        put_list(root.key("chl_groups"), store.chl_groups, ",\n  ", [&](const auto& g) {
            JsonObject og(out);
            og.key("id") << g->id;
            put_text(og.key("name"), g->name);
            put_text(og.key("descr"), g->descr);
            put_list(og.key("members"), g->members, ",\n    ", [&](const auto& m) {
                JsonObject om(out);
                om.key("id") << m->id;
                om.key("chl_id") << m->chl_id;
                put_text(om.key("name"), m->name);
                put_text(om.key("descr"), m->descr);
                put_text(om.key("shift_text"), m->shift_text);
                put_text(om.key("button"), m->button);
                om.key("logo") << m->logo;
            });
        });
        put_list(root.key("types"), store.types, ", ", [&](const auto& t) {
            JsonObject ot(out);
            ot.key("id") << t->id;
            put_text(ot.key("abbr"), t->abbr);
        });
        put_list(root.key("type_groups"), store.type_groups, ",\n  ", [&](const auto& g) {
            JsonObject og(out);
            og.key("id") << g->id;
            put_text(og.key("name"), g->name);
            put_list(og.key("members"), g->members, ", ", [&](const type_group_member& m) {
                out << '[' << m.type_id << ", " << m.row << ']';
            });
        });
        {
            JsonObject ou(root.key("user"));
            put_text(ou.key("login"), user.login);
            put_text(ou.key("password"), user.password);
            put_text(ou.key("paid_login"), user.paid_login);
        }
        put_list(root.key("messages"), messages, ",\n  ", [&](const raised_message& m) {
            JsonObject om(out);
            om.key("kind") << static_cast<int>(m.kind);
            put_json_string(om.key("text"), m.text);
        });
    }
    out << '\n';
}

}  // namespace zt
