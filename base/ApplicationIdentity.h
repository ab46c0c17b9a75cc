#pragma once

// Names the running application after the program, so the desktop matches its windows to the
// installed desktop entry; the program and its start-up benchmark call it first thing.
void setApplicationIdentity();
