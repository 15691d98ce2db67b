#pragma once

#include <cstdint>
#include <string>

#include "core/progress.h"

namespace zt::net {

// What the download asks of the application around the store: the job and connection windows,
// the main window's lists and image lists, the news window, the forced update and the tray.
// The application implements it with its windows; the command line and the tests with their
// own. Every call comes on the user-interface thread.
class DownloadHost : public Progress {
public:
    void job_progress(int) override {}
    virtual void job_begin(const std::string& text, bool with_cancel, bool with_percent) {
        (void)text, (void)with_cancel, (void)with_percent;
    }
    virtual void job_end() {}
    virtual void show_connection_window() {}
    virtual void hide_connection_window() {}
    // A channel's logo at `index` of the store's logo list changed (type-1 block).
    virtual void logo_replaced(std::int32_t index) { (void)index; }
    // ApplySelection: before (clear the channel panel and group menu) and after (rebuild the
    // groups and the channel panel, refresh the channel manager).
    virtual void channels_changing() {}
    virtual void channels_changed() {}
    // The after-download sequence's window part: rebuild the programme lists, let events run,
    // re-enable the main window, end the job, open the news window.
    virtual void after_download() {}
    // "Да" to the forced update's question.
    virtual void run_self_update() {}
    // The application ends by its normal shutdown (after the forced update's question).
    virtual void end_application() {}
    // Whether the user's own files may be written after a download (see
    // DataContext::write_favourites): not where they could not be read at start.
    virtual bool may_write_favourites() const { return true; }
    virtual bool may_write_marks() const { return true; }
    virtual void tray_notice(const std::string& title, const std::string& text) {
        (void)title, (void)text;
    }
};

}  // namespace zt::net
