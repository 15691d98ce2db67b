#pragma once

namespace zt {

// The process entry: one copy per user (a second start shows the first copy's window and
// ends), then start-up, the event loop, and the program's end.
int program_main(int argc, char** argv);

}  // namespace zt
