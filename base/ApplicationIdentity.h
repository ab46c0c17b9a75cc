#pragma once

// Names the running application after the program, so the desktop matches its windows to the
// installed desktop entry, and gives its windows' face one that the platform draws. The program,
// its test harnesses and its start-up benchmark call it first thing.
void setApplicationIdentity();
