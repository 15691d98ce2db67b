#pragma once

#include <cstdint>

namespace zt {

// Flags of the running session, never stored in a file. The application owns one and hands
// it to the windows and the download that read or set them.
struct SessionState final {
    // 1 while no manual download or other modal work holds automatic downloads back.
    std::uint8_t ui_idle = 1;
    // 0 during a quiet automatic download: only questions are shown.
    std::uint8_t messages_on = 1;
    // Set by the job window's Cancel; read by the long work it shows.
    std::uint8_t job_cancel = 0;
    // Set by the connection window's Cancel; the transport stops at its next chunk.
    std::uint8_t net_cancel = 0;
};

// Holds automatic downloads back (ui_idle 0) for its lifetime, however the scope ends; ui_idle
// is 1 again afterwards.
class UiBusy final {
public:
    explicit UiBusy(SessionState& session) : m_session(session) { m_session.ui_idle = 0; }
    ~UiBusy() { m_session.ui_idle = 1; }
    UiBusy(const UiBusy&) = delete;
    UiBusy& operator=(const UiBusy&) = delete;

private:
    SessionState& m_session;
};

}  // namespace zt
