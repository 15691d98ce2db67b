#pragma once

namespace zt {

// The process entry: one copy per user (a second start shows the first copy's window and
// ends), then start-up, the event loop, and the program's end.
int program_main(int argc, char** argv);

// Names the application for the desktop. No display name is set: Qt would append it to every
// window's caption (" — ..."), and each window's caption is exactly its own.
void name_application();

}  // namespace zt
