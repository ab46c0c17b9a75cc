#pragma once

struct ProgramWindows;

// For the program's own end only, once its windows have closed and before they are taken
// apart: leaves the transcript's text to be freed with the rest of the process's memory, at
// once, instead of paragraph by paragraph. With a scrollback of a million lines that took
// longer than everything else the close does. Everything else is taken apart as before, the
// session link included.
void leaveTranscriptToProcessEnd(ProgramWindows &windows);
