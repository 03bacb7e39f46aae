#pragma once

namespace tarnwick::table_io {

// Opens /dev/null on each of the descriptors 0, 1 and 2 that is closed, so
// that no file the program opens later takes its number and receives what
// was meant for standard input, output or error. Call first thing in main.
// False when /dev/null cannot be opened (the program should then stop).
bool openClosedStandardStreams();

// Whether standard output was closed when openClosedStandardStreams() ran:
// answers written there now would be lost.
bool standardOutputWasClosed();

}  // namespace tarnwick::table_io
