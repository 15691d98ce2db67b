// Hostile and damaged files: data files cut at every byte, bodies that compress far better than
// usual, pictures and record counts that would decode huge.
#include <gtest/gtest.h>

#include "core/cp1251.h"
#include "storage/data_files.h"
#include "storage/field_codec.h"
#include "storage/section.h"
#include "storage_util.h"

namespace zt {
namespace {

using test::Env;
using test::i32;
using test::ProgramDir;
using test::st;

const char* const kFiles[] = {"u.dat", "v.dat", "t.dat", "m.dat"};

// A small store (two channels with a few programmes, favourites and marks) written to `dir`.
std::string write_small_store(const ProgramDir& dir) {
    Env env(dir);
    test::fill_sample(env, "tiny", 3);
    auto& channels = env.store->channels;
    channels.resize(2);
    for (auto& c : channels) {
        if (c->tvprog.size() > 6) c->tvprog.resize(6);
        if (c->love.size() > 2) c->love.resize(2);
        for (auto& p : c->tvprog)
            if (p->love && p->love->id != c->love.front()->id) p->love = nullptr;
        c->tvprog[1]->mark = 1;
        c->tvprog[2]->alarm = 1;
        c->tvprog[3]->love = c->love.front();
    }
    for (auto& g : env.store->chl_groups) g->members.clear();
    EXPECT_TRUE(save_data_files(env.ctx, true, true, true, true));
    Env again(dir);
    EXPECT_TRUE(load_data_files(again.ctx));
    return test::dump(again);
}

// Each cut of each file either shows a message naming that file or loads everything: a cut
// file never loads as a shorter one in silence.
TEST(Damage, EveryCutOfEveryFileIsReportedOrLoadsWhole) {
    for (const Inflater inflater : {Inflater::zlib, Inflater::isal}) {
        set_inflater(inflater);
        ProgramDir dir;
        const std::string whole = write_small_store(dir);
        for (const char* name : kFiles) {
            const std::string file = test::read_bytes(dir.file(name));
            for (std::size_t cut = 1; cut < file.size(); ++cut) {
                test::write_bytes(dir.file(name), file.substr(0, cut));
                Env env(dir);
                const bool ok = load_data_files(env.ctx);
                bool named = false;
                for (const auto& m : env.rec.messages)
                    named =
                        named || m.text.find(std::string("\"") + name + "\"") != std::string::npos;
                EXPECT_TRUE(named || (ok && test::dump(env) == whole))
                    << name << " cut at " << cut << " of " << file.size();
                EXPECT_EQ(ok, env.rec.messages.empty()) << name << " cut at " << cut;
            }
            test::write_bytes(dir.file(name), file);
        }
    }
    set_inflater(Inflater::isal);
}

}  // namespace
}  // namespace zt
